#pragma once
#include "ui/JobRunner.h"

#include <QObject>
#include <QTimer>
#include <exception>
#include <functional>
#include <thread>

namespace brimwell {

// The job runner of the Qt host. The work runs on a thread of its own while the window's event
// loop goes on as ever: nothing is disabled, the logic decides what can be pressed during a
// job. A timer of the window's thread calls the tick; the end of the work comes back to the
// window's thread as a queued call, which joins the worker and calls `done`.
//
// Made and used on the window's thread, one job at a time (the next may be started from the
// previous one's `done`). Destroying the runner while a job runs waits for the work to end;
// that job's `done` is then never called.
class QtJobRunner final : public IJobRunner {
public:
    // Starts a thread that runs `body`; throws std::system_error when no thread can be had.
    using ThreadStarter = std::function<std::thread(std::function<void()> body)>;

    QtJobRunner();
    // With another way of starting threads (the tests': one that always fails).
    explicit QtJobRunner(ThreadStarter startThread);
    ~QtJobRunner() override;
    QtJobRunner(const QtJobRunner&) = delete;
    QtJobRunner& operator=(const QtJobRunner&) = delete;

    void Start(std::function<void()> work, std::function<void()> tick,
               std::function<void()> done) override;
    // A job has been started and its `done` has not been called yet.
    bool Running() const { return m_running; }

private:
    void RunWork();
    void Finish();

    ThreadStarter m_startThread;
    // Lives on the window's thread: the worker's queued call to Finish is delivered to it, and
    // dropped with it when the runner goes first.
    QObject m_receiver;
    QTimer m_ticker;
    std::thread m_worker;
    // The running job. The worker reads m_work and writes m_failure; the window's thread
    // touches neither until it has joined the worker.
    std::function<void()> m_work;
    std::function<void()> m_tick;
    std::function<void()> m_done;
    std::exception_ptr m_failure;
    bool m_running = false;
};

} // namespace brimwell
