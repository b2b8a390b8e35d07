// The dialog contract (support/DialogContract.h) on the Win32 host: the dialog is a top-level
// WinDialog made by the dialog manager, and the user's part is played with the messages the
// controls get from the keyboard and the mouse.
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinDialogTemplate.h"
#include "hosts/win32/WinDpi.h"
#include "platform/windows/WinText.h"
#include "support/DialogContract.h"

#include <commctrl.h>

namespace brimwell::test {
namespace {

class WinHost {
public:
    WinHost(const DialogTemplate& tmpl, CDialogBase& logic) : m_dialog(tmpl, true) {
        m_dialog.Create(logic, nullptr);
    }
    IDialog& Dialog() { return m_dialog; }
    void Show() {
        ShowWindow(m_dialog.Hwnd(), SW_SHOW);
        SetForegroundWindow(m_dialog.Hwnd());
    }
    // Through the dialog font, as the dialog manager places the controls, in device-independent
    // pixels.
    DlgRect TemplateRect(int x, int y, int cx, int cy) const {
        RECT r{x, y, x + cx, y + cy};
        MapDialogRect(m_dialog.Hwnd(), &r);
        const int dpi = WindowDpi(m_dialog.Hwnd());
        return {DipFromPhysical(r.left, dpi), DipFromPhysical(r.top, dpi),
                DipFromPhysical(r.right - r.left, dpi), DipFromPhysical(r.bottom - r.top, dpi)};
    }
    void Close() { SendMessageW(m_dialog.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }
    int EndResult() const { return m_dialog.EndResult(); }

    static bool Click(IDialog& dialog, int id) {
        HWND button = Usable(dialog, id);
        if (button) {
            SendMessageW(button, BM_CLICK, 0, 0);
        }
        return button;
    }
    static bool Type(IDialog& dialog, int id, const std::string& text) {
        HWND edit = EditAtEnd(dialog, id);
        if (edit) {
            for (const wchar_t c : WideFromUtf8(text)) {
                SendMessageW(edit, WM_CHAR, c, 1);
            }
        }
        return edit;
    }
    static bool Paste(IDialog& dialog, int id, const std::string& text) {
        HWND edit = EditAtEnd(dialog, id);
        if (edit) {
            const std::wstring wide = WideFromUtf8(text);
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
        }
        return edit;
    }
    static bool ChooseNext(IDialog& dialog, int id) { return Key(Usable(dialog, id), VK_DOWN); }
    static bool Step(IDialog& dialog, int id, TrackStep step) {
        // The keys of Up, Down, PageUp, PageDown, ToMin and ToMax, in TrackStep's order.
        static const UINT kKeys[] = {VK_RIGHT, VK_LEFT, VK_NEXT, VK_PRIOR, VK_HOME, VK_END};
        const UINT key = kKeys[static_cast<int>(step)];
        return Key(Usable(dialog, id), key);
    }
    static bool Browse(IDialog& dialog, int id) {
        if (!Usable(dialog, id)) {
            return false;
        }
        HWND button = GetDlgItem(static_cast<WinDialog&>(dialog).Hwnd(), BrowseButtonId(id));
        if (!button || !TakesInput(button)) {
            return false;
        }
        SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    static bool FocusByUser(IDialog& dialog, int id) {
        HWND control = Usable(dialog, id);
        if (control) {
            SetFocus(control);
        }
        return control;
    }

private:
    // Windows gives no input to a disabled or hidden window; the messages sent here would
    // reach it all the same.
    static bool TakesInput(HWND hwnd) {
        return (GetWindowLongW(hwnd, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
    }
    static HWND Usable(IDialog& dialog, int id) {
        HWND hwnd = static_cast<WinDialog&>(dialog).Item(id);
        return hwnd && TakesInput(hwnd) ? hwnd : nullptr;
    }
    static HWND EditAtEnd(IDialog& dialog, int id) {
        HWND edit = Usable(dialog, id);
        if (edit) {
            const int end = GetWindowTextLengthW(edit);
            SendMessageW(edit, EM_SETSEL, end, end);
        }
        return edit;
    }
    static bool Key(HWND hwnd, UINT key) {
        if (hwnd) {
            SetFocus(hwnd);
            SendMessageW(hwnd, WM_KEYDOWN, key, 1);
        }
        return hwnd;
    }

    WinDialog m_dialog;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DialogContract, WinHost);

} // namespace
} // namespace brimwell::test
