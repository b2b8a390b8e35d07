#pragma once
#include "ui/JobWait.h"

namespace brimwell {

// The job wait of the Qt host: the work runs on a worker thread while a local event loop keeps
// the windows painting and answering the window manager; the top-level windows are disabled
// for the duration, as under a modal box, so no click can start anything.
class QtJobWait : public IJobWait {
public:
    void Run(const std::function<void()>& work) override;
};

} // namespace brimwell
