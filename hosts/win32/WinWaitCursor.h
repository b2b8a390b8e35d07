#pragma once
#include "ui/WaitCursor.h"

namespace brimwell {

// The hourglass while a job runs: counted, the arrow back after the last End. The host's
// windows keep it while it is shown (WM_SETCURSOR).
class WinWaitCursor : public IWaitCursor {
public:
    void Begin() override;
    void End() override;
};

// True while a WinWaitCursor shows the wait cursor.
bool WaitCursorShown();

} // namespace brimwell
