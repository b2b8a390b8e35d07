#include "hosts/win32/WinJobWait.h"

#include "hosts/win32/WinDialog.h"

#include <windows.h>

#include <exception>

namespace brimwell {
namespace {

struct WorkCall {
    const std::function<void()>* work;
    std::exception_ptr failure;
};

DWORD WINAPI RunWork(LPVOID parameter) {
    auto* call = static_cast<WorkCall*>(parameter);
    try {
        (*call->work)();
    } catch (...) {
        call->failure = std::current_exception();
    }
    return 0;
}

} // namespace

void WinJobWait::Run(const std::function<void()>& work) {
    WorkCall call{&work, nullptr};
    HANDLE thread = CreateThread(nullptr, 0, &RunWork, &call, 0, nullptr);
    if (!thread) {
        work(); // no thread to be had: the job still runs, the window waits for it
        return;
    }
    HWND main = MainWindow();
    const HWND focus = GetFocus();
    // EnableWindow answers whether the window was disabled before.
    const bool disabledHere = main && !EnableWindow(main, FALSE);
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + 1) {
            break; // the work is done (or the wait itself failed: the thread is then joined)
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Kept for the loop that runs the window, once the job is over.
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    if (disabledHere && IsWindow(main)) {
        EnableWindow(main, TRUE);
        if (focus && IsWindow(focus)) {
            SetFocus(focus);
        }
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
    if (call.failure) {
        std::rethrow_exception(call.failure);
    }
}

} // namespace brimwell
