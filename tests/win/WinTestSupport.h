#pragma once
// Shared pieces of the Win32 host tests: a logic that records what its dialog tells it, and
// message pumping for timers and for what other threads post.
#include "ui/DialogBase.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace brimwell::test {

struct Heard {
    enum Kind { Command, HScroll, Close } kind;
    int id;
    Notify code;
    int pos;
    bool operator==(const Heard& o) const {
        return kind == o.kind && id == o.id && (kind != Command || code == o.code) &&
               (kind != HScroll || pos == o.pos);
    }
};

inline Heard Cmd(int id, Notify code) {
    return {Heard::Command, id, code, 0};
}
inline Heard Scroll(int id, int pos) {
    return {Heard::HScroll, id, Notify::Clicked, pos};
}

class RecordingLogic : public CDialogBase {
public:
    explicit RecordingLogic(int id = 0) : CDialogBase(id) {}
    bool OnInitDialog() override {
        ++inits;
        if (onInit) {
            onInit();
        }
        return true;
    }
    void OnCommand(int id, Notify code) override { heard.push_back(Cmd(id, code)); }
    void OnHScroll(int id, int pos) override { heard.push_back(Scroll(id, pos)); }
    void OnSysCommandClose() override {
        heard.push_back({Heard::Close, 0, Notify::Clicked, 0});
        if (onClose) {
            onClose();
        }
    }
    int inits = 0;
    std::vector<Heard> heard;
    std::function<void()> onInit;
    std::function<void()> onClose;
};

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
