#pragma once
#include <functional>

namespace brimwell {

// Runs blocking work (a device write, the hold after a job) to its end while the window stays
// responsive: the window host turns its event loop (it repaints and answers the window
// manager) with the main window disabled, so nothing can be started meanwhile, and returns
// once the work is done. The work may run on another thread: it touches no window and shows
// no message; whatever it found out is reported by the caller after Run returns.
class IJobWait {
public:
    virtual ~IJobWait() = default;
    virtual void Run(const std::function<void()>& work) = 0;
};

// Runs the work at once on the calling thread: the companion's, the tests', and any host that
// has none of its own.
class InlineJobWait : public IJobWait {
public:
    void Run(const std::function<void()>& work) override { work(); }
};

} // namespace brimwell
