#pragma once
#include "ui/JobWait.h"

namespace brimwell {

// The job wait of the Win32 host: the work runs on a worker thread while this thread keeps
// dispatching messages (MsgWaitForMultipleObjectsEx), so the window repaints and answers the
// system; the main window is disabled for the duration, as under a modal box.
class WinJobWait : public IJobWait {
public:
    void Run(const std::function<void()>& work) override;
};

} // namespace brimwell
