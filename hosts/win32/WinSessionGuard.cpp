#include "hosts/win32/WinSessionGuard.h"

#include "hosts/win32/WinDialog.h"
#include "platform/windows/WinText.h"

namespace brimwell {

void WinSessionGuard::Hold(const std::string& reason) {
    HWND main = MainWindow();
    if (m_window && m_window != main && IsWindow(m_window)) {
        ShutdownBlockReasonDestroy(m_window);
    }
    m_window = nullptr;
    // The reason belongs to a top-level window of the program; without one the session is
    // still asked through the execution state alone.
    if (main && ShutdownBlockReasonCreate(main, WideFromUtf8(reason).c_str())) {
        m_window = main;
    }
    if (!m_held) {
        SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
        m_held = true;
    }
}

void WinSessionGuard::Release() {
    if (!m_held) {
        return;
    }
    if (m_window && IsWindow(m_window)) {
        ShutdownBlockReasonDestroy(m_window);
    }
    m_window = nullptr;
    SetThreadExecutionState(ES_CONTINUOUS);
    m_held = false;
}

} // namespace brimwell
