// The start-up yardstick of brimwell.exe: a bare Win32 dialog with one static text, made and
// ended the same way (--exit-when-idle ends it once it is shown, painted and idle).
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

bool g_exitWhenIdle = false;

INT_PTR CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        if (g_exitWhenIdle) {
            SetTimer(hwnd, 1, 1, nullptr);
        }
        return TRUE;
    case WM_TIMER:
        KillTimer(hwnd, 1);
        EndDialog(hwnd, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, 0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, cls;
    wchar_t title[5];
    WORD points;
    wchar_t face[13];
    WORD pad;
    DLGITEMTEMPLATE item;
    WORD atom[2];
    wchar_t text[6];
    WORD extra;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    g_exitWhenIdle = commandLine && std::wcsstr(commandLine, L"--exit-when-idle");
    Template t{};
    t.dialog.style =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_VISIBLE;
    t.dialog.cdit = 1;
    t.dialog.cx = 200;
    t.dialog.cy = 80;
    std::memcpy(t.title, L"Bare", sizeof t.title);
    t.points = 8;
    std::memcpy(t.face, L"MS Shell Dlg", sizeof t.face);
    t.item.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
    t.item.x = 10;
    t.item.y = 10;
    t.item.cx = 100;
    t.item.cy = 8;
    t.item.id = 100;
    t.atom[0] = 0xFFFF;
    t.atom[1] = 0x0082;
    std::memcpy(t.text, L"Hello", sizeof t.text);
    DialogBoxIndirectParamW(instance, &t.dialog, nullptr, &BareProc, 0);
    return 0;
}
