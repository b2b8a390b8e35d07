#include "hosts/win32/WinWaitCursor.h"

#include <windows.h>

namespace brimwell {
namespace {

int g_waitDepth = 0;
HCURSOR g_savedCursor = nullptr;

} // namespace

void WinWaitCursor::Begin() {
    if (g_waitDepth++ == 0) {
        g_savedCursor = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    }
}

void WinWaitCursor::End() {
    if (g_waitDepth <= 0) {
        return;
    }
    if (--g_waitDepth == 0) {
        SetCursor(g_savedCursor ? g_savedCursor
                                : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
        g_savedCursor = nullptr;
    }
}

bool WaitCursorShown() {
    return g_waitDepth > 0;
}

} // namespace brimwell
