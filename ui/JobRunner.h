#pragma once
#include <functional>
#include <string>

namespace brimwell {

// How often, in milliseconds, a host calls a running job's tick on the window's thread.
inline constexpr int JOB_TICK_MS = 100;

// Runs a printer job's device work (open, write, drain, hold, close) off the window's thread.
// The window's thread never waits for it: Start returns at once and the host's own event loop
// goes on; while the work runs the host calls `tick` on the window's thread about every
// JOB_TICK_MS (the logic shows progress from it), and once the work has ended it calls `done`
// on the window's thread, from its event loop (a queued call on Qt, a posted message on
// Win32). The work itself touches no window and shows no message: it leaves its outcome where
// `done` reads it.
//
// A host that cannot start a worker runs the work inline, on the calling thread, and then
// `done`; the companion and the tests' runners do so always. So the logic must expect `done`
// to have run by the time Start returns.
class IJobRunner {
public:
    virtual ~IJobRunner() = default;
    virtual void Start(std::function<void()> work, std::function<void()> tick,
                       std::function<void()> done) = 0;
};

// Runs the work and then `done` at once, on the calling thread: the companion's, the tests',
// and any host that has no worker of its own.
class InlineJobRunner : public IJobRunner {
public:
    void Start(std::function<void()> work, std::function<void()> /*tick*/,
               std::function<void()> done) override {
        work();
        done();
    }
};

// What keeps the session from ending, and the computer from sleeping, while a job runs: a job
// cut off in the middle leaves the printer with half a logo or half a label program. On Linux
// a systemd-logind inhibitor lock; on Windows the shutdown block reason and the execution
// state. Where the system offers none (no logind), Hold does nothing.
class ISessionGuard {
public:
    virtual ~ISessionGuard() = default;
    // `reason` is what the system shows the user who tries to log off or shut down.
    virtual void Hold(const std::string& reason) = 0;
    virtual void Release() = 0;
};

// Holds nothing: the companion's and the tests'.
class NoSessionGuard : public ISessionGuard {
public:
    void Hold(const std::string& /*reason*/) override {}
    void Release() override {}
};

} // namespace brimwell
