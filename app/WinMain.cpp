// The window on Windows: the Win32 host runs the window logic, with the Windows services.
#include "app/CBrimwellApp.h"
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinFileDialog.h"
#include "hosts/win32/WinJobRunner.h"
#include "hosts/win32/WinMessageBox.h"
#include "hosts/win32/WinSessionGuard.h"
#include "hosts/win32/WinWaitCursor.h"
#include "platform/Languages.h"
#include "platform/windows/RegistryProfile.h"
#include "platform/windows/SetupApiEnumerator.h"
#include "platform/windows/WinDeviceMonitor.h"
#include "platform/windows/WinDeviceOpener.h"
#include "platform/windows/WinFileSource.h"
#include "platform/windows/WinModule.h"
#include "platform/windows/WinSystemClock.h"
#include "platform/windows/WinText.h"
#include "ui/Services.h"

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
    static WinJobRunner jobRunner;
    static WinSessionGuard sessionGuard;
    Services services{&messageBox,   &profile,    &ticks,      &clock,   &waitCursor,
                      &deviceOpener, &fileDialog, &enumerator, &monitor, &fileSource};
    services.jobRunner = &jobRunner;
    services.sessionGuard = &sessionGuard;
    return services;
}

namespace {

// The taskbar groups the window by this id rather than by the program's path, so that every
// installed copy and version groups (and pins) as one application.
void SetAppUserModelId() {
    using SetIdFn = HRESULT(WINAPI*)(PCWSTR);
    if (const auto set = ModuleFunction<SetIdFn>(GetModuleHandleW(L"shell32.dll"),
                                                 "SetCurrentProcessExplicitAppUserModelID")) {
        set(L"Brimwell.AppID.NoVersion");
    }
}

} // namespace
} // namespace brimwell

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace brimwell;
    SearchSystemFolderOnly();
    for (const std::string& argument : ProcessArguments()) {
        // For timing the start-up: the window ends itself once it is shown and idle.
        if (argument == "--exit-when-idle") {
            SetExitWhenIdle(true);
        }
    }
    SetAppUserModelId();
    UseUserLanguage();
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
