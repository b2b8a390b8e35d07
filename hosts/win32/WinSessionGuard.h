#pragma once
#include "ui/JobRunner.h"

#include <windows.h>

namespace brimwell {

// Keeps Windows from ending the session or sleeping while a job runs: Hold gives the main
// window a shutdown block reason (what the log-off screen shows beside the program) and marks
// the calling thread as needing the system; Release takes both back. The main window's
// answer to WM_QUERYENDSESSION is the logic's (WinDialog); the reason only says why.
//
// Hold and Release are called on the window's thread: the execution state belongs to the
// thread that sets it. A second Hold while held gives the new reason; one Release ends it.
class WinSessionGuard : public ISessionGuard {
public:
    WinSessionGuard() = default;
    ~WinSessionGuard() override { Release(); }
    WinSessionGuard(const WinSessionGuard&) = delete;
    WinSessionGuard& operator=(const WinSessionGuard&) = delete;

    void Hold(const std::string& reason) override;
    void Release() override;

    bool Held() const { return m_held; }
    // The window that shows the reason (nullptr when no main window was up at Hold).
    HWND ReasonWindow() const { return m_window; }

private:
    bool m_held = false;
    HWND m_window = nullptr;
};

} // namespace brimwell
