#pragma once
// Shared pieces of the Win32 host tests: a logic that records what its dialog tells it, and
// message pumping for timers and for what other threads post.
#include "support/RecordingLogic.h"

#include <windows.h>

#include <functional>

namespace brimwell::test {

// Delivers this thread's posted and timer messages for `ms` milliseconds.
inline void PumpMessages(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// Delivers this thread's messages until `ready` says so, or at most `boundMs` milliseconds;
// whether it did. For what another thread brings about: the bound is far beyond what it takes.
inline bool PumpUntil(const std::function<bool()>& ready, DWORD boundMs = 10000) {
    const ULONGLONG end = GetTickCount64() + boundMs;
    while (!ready()) {
        if (GetTickCount64() >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

} // namespace brimwell::test
