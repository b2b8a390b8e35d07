// Every text of the window fits its control in every language, on the Win32 host: the real
// window and every page made by the dialog manager, each text measured with the control's own
// font (WM_GETFONT) as the control draws it. Run at the DPI the program starts with (96) and,
// with --at-dpi=144, once more at 144 (tests/win/CMakeLists.txt).
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinDpi.h"
#include "support/FakePlatform.h"
#include "support/FitCheck.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

namespace brimwell::test {
namespace {

RECT RectIn(HWND hwnd, HWND parent) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The static without an id that the dialog manager placed where the template puts it: it
// converts the place and the size each on its own.
HWND StaticAt(HWND dialog, const ControlTemplate& c) {
    RECT units{c.x, c.y, c.cx, c.cy};
    MapDialogRect(dialog, &units);
    const RECT placed{units.left, units.top, units.left + units.right, units.top + units.bottom};
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        const RECT r = RectIn(child, dialog);
        if (_wcsicmp(cls, L"Static") == 0 && EqualRect(&placed, &r)) {
            return child;
        }
    }
    return nullptr;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Entry `entry` of a list box or a combo box.
std::wstring EntryText(HWND control, bool combo, int entry) {
    const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
    const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(entry), 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control, textMessage, static_cast<WPARAM>(entry),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

// A device context of the control with its font selected.
class ControlDc {
public:
    explicit ControlDc(HWND control)
        : m_control(control), m_dc(GetDC(control)),
          m_old(SelectObject(m_dc,
                             reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)))) {}
    ~ControlDc() {
        SelectObject(m_dc, m_old);
        ReleaseDC(m_control, m_dc);
    }
    ControlDc(const ControlDc&) = delete;
    ControlDc& operator=(const ControlDc&) = delete;
    // The text's extent as DrawTextW lays it out with `flags`, at most `width` wide where it
    // breaks words.
    SIZE Extent(const std::wstring& text, UINT flags, int width = 0) const {
        RECT r{0, 0, width, 0};
        DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
        return {r.right - r.left, r.bottom - r.top};
    }

private:
    HWND m_control;
    HDC m_dc;
    HGDIOBJ m_old;
};

class WinFitHost : public FitHost {
public:
    IDialog* Open(CBrimwellDlg& logic) override {
        m_window = std::make_unique<WinDialog>(*FindDialogTemplate(IDD_BRIMWELL_DIALOG), true);
        if (!m_window->Create(logic, nullptr)) {
            m_window.reset();
            return nullptr;
        }
        return m_window.get();
    }
    void Close() override { m_window.reset(); }
    int Dpi() const override { return WindowDpi(m_window->Hwnd()); }

    std::optional<Measured> Measure(IDialog& dialog, const ControlTemplate& c, FitKind kind,
                                    int entry) override {
        const HWND hwnd = static_cast<WinDialog&>(dialog).Hwnd();
        const HWND control = c.id == IDC_STATIC ? StaticAt(hwnd, c) : GetDlgItem(hwnd, c.id);
        if (!control) {
            return std::nullopt;
        }
        RECT client{};
        GetClientRect(control, &client);
        const ControlDc dc(control);
        switch (kind) {
        case FitKind::Line:
            // A static draws its text with the prefix convention ("&&" is one ampersand).
            return Measured{
                {dc.Extent(WindowText(control), DT_SINGLELINE | DT_EXPANDTABS).cx, client.right},
                {}};
        case FitKind::Lines: {
            const SIZE wrapped =
                dc.Extent(WindowText(control), DT_WORDBREAK | DT_EXPANDTABS, client.right);
            return Measured{{wrapped.cx, client.right}, Room{wrapped.cy, client.bottom}};
        }
        case FitKind::Button: {
            // A push button draws its text inside its 3-D edge and a pixel more on each side.
            const int margin = SystemMetricAtDpi(SM_CXEDGE, WindowDpi(control)) + 1;
            return Measured{
                {dc.Extent(WindowText(control), DT_SINGLELINE).cx + 2 * margin, client.right}, {}};
        }
        case FitKind::ListEntry: {
            // An entry's text starts a pixel in; the client area leaves out the scroll bar.
            if (entry >= SendMessageW(control, LB_GETCOUNT, 0, 0)) {
                return std::nullopt;
            }
            const SIZE text =
                dc.Extent(EntryText(control, false, entry), DT_SINGLELINE | DT_NOPREFIX);
            return Measured{{text.cx + 2, client.right}, {}};
        }
        case FitKind::ComboEntry: {
            // The closed box draws the chosen entry in its item area, a pixel in.
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (entry >= SendMessageW(control, CB_GETCOUNT, 0, 0) ||
                !GetComboBoxInfo(control, &info)) {
                return std::nullopt;
            }
            const SIZE text =
                dc.Extent(EntryText(control, true, entry), DT_SINGLELINE | DT_NOPREFIX);
            return Measured{{text.cx + 2, info.rcItem.right - info.rcItem.left}, {}};
        }
        }
        return std::nullopt;
    }

private:
    std::unique_ptr<WinDialog> m_window;
};

class WinFit : public ::testing::TestWithParam<std::string> {};

TEST_P(WinFit, EveryTextFitsItsControl) {
    WinFitHost host;
    ExpectEveryTextFits(host, GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, WinFit, ::testing::ValuesIn(FitLanguages()),
                         [](const auto& info) { return info.param; });

TEST(WinFitCheck, NamesEachOverflowPlantedInACatalogue) {
    WinFitHost host;
    ExpectEachPlantedOverflowReported(host);
}

} // namespace
} // namespace brimwell::test
