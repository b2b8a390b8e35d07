#pragma once
#include "ui/JobRunner.h"

#include <windows.h>

#include <map>

namespace brimwell {

// The job runner of the Win32 host. Start hands the work to the system thread pool and
// returns; the window's thread goes on in whatever message loop it is in (the main dialog's,
// a message box's). A hidden message-only window of the runner, made on the first Start on
// the thread that calls it, hears the jobs: a timer of each job calls its tick every
// JOB_TICK_MS, and the work, at its end, posts the message that calls its done. The window
// belongs to the runner, not to the main window, so jobs run before the main window exists
// and after it is gone.
//
// Start, and so tick and done, belong to one thread: the one that made the window. An
// exception that escapes the work is swallowed on the worker and its done still comes; the
// work's own captures are released on the worker, before done is called. A job still running
// when the runner is destroyed ends unheard (its done is never called).
class WinJobRunner : public IJobRunner {
public:
    WinJobRunner() = default;
    ~WinJobRunner() override;
    WinJobRunner(const WinJobRunner&) = delete;
    WinJobRunner& operator=(const WinJobRunner&) = delete;

    void Start(std::function<void()> work, std::function<void()> tick,
               std::function<void()> done) override;

    // The runner's message-only window (nullptr before the first Start); for tests.
    HWND Window() const { return m_hwnd; }
    // How many jobs have been started and not yet had their done called.
    std::size_t Running() const { return m_jobs.size(); }

private:
    // What the window's thread keeps of a job; the work itself travels with the worker.
    struct Job {
        std::function<void()> tick;
        std::function<void()> done;
        bool ticking = false; // a tick is running (and showed a modal box, say)
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool MakeWindow();
    void OnTick(UINT_PTR id);
    void OnDone(UINT_PTR id);

    HWND m_hwnd = nullptr;
    UINT_PTR m_lastId = 0; // job ids are never used twice: a late timer message finds nothing
    std::map<UINT_PTR, Job> m_jobs;
};

} // namespace brimwell
