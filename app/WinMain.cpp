// The window on Windows: the Win32 host runs the window logic, with the Windows services.
#include "app/CBrimwellApp.h"
#include "platform/Services.h"
#include "platform/win/RegistryProfile.h"
#include "platform/win/SetupApiEnumerator.h"
#include "platform/win/WinDeviceMonitor.h"
#include "platform/win/WinDeviceOpener.h"
#include "platform/win/WinDialog.h"
#include "platform/win/WinFileSource.h"
#include "platform/win/WinServices.h"
#include "platform/win/WinSystemClock.h"
#include "platform/win/WinText.h"

#include <windows.h>

#include <commctrl.h>

namespace brimwell {

Services MakeRealServices() {
    // Made once and kept for the life of the process.
    static WinMessageBox messageBox;
    static RegistryProfile profile;
    static WinTicks ticks;
    static WinLocalClock clock;
    static WinWaitCursor waitCursor;
    static WinDeviceOpener deviceOpener;
    static WinFileDialog fileDialog;
    static WinFileSource fileSource;
    static SetupApiEnumerator enumerator;
    static WinDeviceMonitor monitor;
    return Services{&messageBox,   &profile,    &ticks,      &clock,   &waitCursor,
                    &deviceOpener, &fileDialog, &enumerator, &monitor, &fileSource};
}

namespace {

// The taskbar groups the window by this id rather than by the program's path, so that every
// installed copy and version groups (and pins) as one application.
void SetAppUserModelId() {
    using SetIdFn = HRESULT(WINAPI*)(PCWSTR);
    if (HMODULE shell = GetModuleHandleW(L"shell32.dll")) {
        if (auto set = reinterpret_cast<SetIdFn>(reinterpret_cast<void (*)()>(
                GetProcAddress(shell, "SetCurrentProcessExplicitAppUserModelID")))) {
            set(L"Brimwell.AppID.NoVersion");
        }
    }
}

} // namespace
} // namespace brimwell

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace brimwell;
    for (const std::string& argument : ProcessArguments()) {
        // For timing the start-up: the window ends itself once it is shown and idle.
        if (argument == "--exit-when-idle") {
            SetExitWhenIdle(true);
        }
    }
    SetAppUserModelId();
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    // RichEdit's DLL is loaded when the first page with a rich-text view is shown.
    UseServices(MakeRealServices());
    CBrimwellApp theApp(&RunWinModalDialog);
    theApp.InitInstance();
    return 0;
}
