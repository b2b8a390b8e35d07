// The main window's logic on the Win32 host with the fake enumerator, opener and message box:
// a page chosen in the function list, its job sent through the real controls, and the printer
// list rebuilt by a device-change message with the chosen printer kept.
#include "app/CBrimwellDlg.h"
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinDpi.h"
#include "hosts/win32/WinJobRunner.h"
#include "platform/windows/WinDeviceMonitor.h"
#include "support/FakePlatform.h"
#include "win/WinTestSupport.h"

#include <dbt.h>
#include <oleacc.h>
#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <string>

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

constexpr int kDensityRow = 7; // "Configure Print Density"

class WinMainWindowTest : public ::testing::Test {
protected:
    void Open() {
        ASSERT_TRUE(host.Create(dlg, nullptr));
        ASSERT_TRUE(monitor.Registered());
    }
    HWND Item(int id) const { return GetDlgItem(host.Hwnd(), id); }
    // What the list box does when the user picks a row.
    void ChooseRow(int row) {
        SendMessageW(Item(IDC_FUNCTION_LIST), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        SendMessageW(host.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_FUNCTION_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(IDC_FUNCTION_LIST)));
    }
    // The same for the printer list.
    void ChoosePrinter(int index) {
        HWND combo = Item(IDC_PRINTER_COMBO);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(host.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PRINTER_COMBO, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    HWND Page(int row) { return static_cast<WinDialog&>(dlg.MakePage(row)->Dialog()).Hwnd(); }
    std::string PrinterText(int index) const { return host.GetString(IDC_PRINTER_COMBO, index); }

    FakePlatform platform;
    WinDeviceMonitor monitor{0};
    ScopedServices useMonitor{&Services::monitor, &monitor};
    CBrimwellDlg dlg;
    WinDialog host{*FindDialogTemplate(IDD_BRIMWELL_DIALOG), true};
};

TEST_F(WinMainWindowTest, EveryRowShowsItsPageAlone) {
    Open();
    EXPECT_EQ(host.GetCount(IDC_FUNCTION_LIST), 11);
    for (int row = 0; row < 11; ++row) {
        SCOPED_TRACE(row);
        ChooseRow(row);
        for (int other = 0; other < 11; ++other) {
            EXPECT_EQ(IsWindowVisible(Page(other)) != FALSE,
                      other == row && IsWindowVisible(host.Hwnd()))
                << other;
            EXPECT_EQ((GetWindowLongW(Page(other), GWL_STYLE) & WS_VISIBLE) != 0, other == row);
        }
        RECT page{};
        GetWindowRect(Page(row), &page);
        MapWindowPoints(HWND_DESKTOP, host.Hwnd(), reinterpret_cast<POINT*>(&page), 2);
        EXPECT_EQ(page.left, PhysicalFromDip(kPageLeft, WindowDpi(host.Hwnd())));
        EXPECT_EQ(page.top, 0);
        // Held whole by the main window.
        RECT client{};
        GetClientRect(host.Hwnd(), &client);
        EXPECT_LE(page.right, client.right);
        EXPECT_LE(page.bottom, client.bottom);
    }
}

TEST_F(WinMainWindowTest, FocusRectanglesShowFromTheStart) {
    Open();
    // Not only once a key has been pressed: the function list shows its focused row.
    for (HWND hwnd : {host.Hwnd(), Item(IDC_FUNCTION_LIST)}) {
        EXPECT_EQ(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
    }
}

TEST_F(WinMainWindowTest, RichTextViewsAreMadeWhenTheirPageIsFirstShown) {
    constexpr int kAboutRow = 1;
    constexpr int kHelpRow = 2;
    Open();
    const auto className = [this](int row) {
        wchar_t name[64] = {};
        GetClassNameW(GetDlgItem(Page(row), IDC_TEXT_VIEW), name, 64);
        return std::wstring(name);
    };
    EXPECT_EQ(className(kAboutRow), L"Static");
    ChooseRow(kAboutRow);
    EXPECT_EQ(className(kAboutRow), L"RichEdit20W");
    EXPECT_EQ(className(kHelpRow), L"Static");
    // The document streamed in at start-up, addresses marked as links.
    HWND view = GetDlgItem(Page(kAboutRow), IDC_TEXT_VIEW);
    wchar_t text[4096] = {};
    GetWindowTextW(view, text, 4096);
    const std::wstring about = text;
    const std::size_t mail = about.find(L"customercare@brimwell.example");
    ASSERT_NE(mail, std::wstring::npos);
    // Character positions count each paragraph end once, the window text twice (CR LF).
    const LONG cp = static_cast<LONG>(
        mail - static_cast<std::size_t>(std::count(about.begin(), about.begin() + mail, L'\n')));
    SendMessageW(view, EM_SETSEL, cp + 2, cp + 3);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_NE(format.dwEffects & CFE_LINK, 0u);
    // Under the banner that stands over it: the banner comes first from the top.
    HWND banner = GetDlgItem(Page(kAboutRow), IDC_BANNER_PICTURE);
    ASSERT_NE(banner, nullptr);
    HWND top = GetWindow(Page(kAboutRow), GW_CHILD);
    while (top && top != banner && top != view) {
        top = GetWindow(top, GW_HWNDNEXT);
    }
    EXPECT_EQ(top, banner);
}

TEST_F(WinMainWindowTest, TabAndShiftTabLeaveTheTextViews) {
    Open();
    for (int row = 1; row <= 4; ++row) {
        SCOPED_TRACE(row);
        ChooseRow(row);
        HWND view = GetDlgItem(Page(row), IDC_TEXT_VIEW);
        for (const bool shift : {false, true}) {
            SetFocus(view);
            ASSERT_EQ(GetFocus(), view);
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = shift ? 0x80 : 0;
            SetKeyboardState(keys);
            // What the dialog's message loop does with the key.
            MSG tab{view, WM_KEYDOWN, VK_TAB, 0, 0, {}};
            EXPECT_TRUE(IsDialogMessageW(host.Hwnd(), &tab));
            keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
            EXPECT_NE(GetFocus(), view) << shift;
        }
    }
}

TEST_F(WinMainWindowTest, HelpLinesEndInsideTheVisibleBox) {
    Open();
    for (int row = 2; row <= 4; ++row) {
        SCOPED_TRACE(row);
        ChooseRow(row);
        HWND view = GetDlgItem(Page(row), IDC_TEXT_VIEW);
        RECT client{};
        GetClientRect(view, &client);
        const LRESULT lines = SendMessageW(view, EM_GETLINECOUNT, 0, 0);
        ASSERT_GT(lines, 5);
        for (LRESULT line = 0; line < lines; ++line) {
            const LRESULT start = SendMessageW(view, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
            wchar_t text[512] = {};
            text[0] = 511;
            LRESULT length = SendMessageW(view, EM_GETLINE, static_cast<WPARAM>(line),
                                          reinterpret_cast<LPARAM>(text));
            while (length > 0 && std::iswspace(text[length - 1])) {
                --length;
            }
            if (length == 0) {
                continue;
            }
            // The right edge of the line's last letter: where the character after it starts.
            POINTL end{};
            SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&end), start + length);
            EXPECT_LE(end.x, client.right) << line << ": " << std::wstring(text, length).c_str();
        }
    }
}

TEST_F(WinMainWindowTest, DensityPageSendsTheSlidersValueOnceTheQuestionIsAnswered) {
    auto& printer = platform.AddPrinter("\\\\?\\usb#vid_1203&pid_0126#1#{printer}");
    Open();
    ChooseRow(kDensityRow);
    HWND page = Page(kDensityRow);
    HWND slider = GetDlgItem(page, IDC_DENSITY_SLIDER);
    HWND send = GetDlgItem(page, IDC_SEND_DENSITY);
    ASSERT_TRUE(IsWindowEnabled(send));
    SetFocus(slider);
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 1); // the default 8 becomes 9
    wchar_t shown[16] = {};
    GetWindowTextW(GetDlgItem(page, IDC_DENSITY_VALUE), shown, 16);
    EXPECT_STREQ(shown, L"9");

    platform.box.answers = {MsgResult::Cancel, MsgResult::Ok};
    SendMessageW(send, BM_CLICK, 0, 0); // the question answered Cancel: nothing is sent
    EXPECT_TRUE(printer.writes.empty());
    SendMessageW(send, BM_CLICK, 0, 0);
    ASSERT_EQ(platform.box.shown.size(), 2u);
    EXPECT_EQ(platform.box.shown[1].icon, MsgIcon::Warning);
    EXPECT_EQ(platform.box.shown[1].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(printer.writes, std::vector<std::string>{"RKW7047\r\n9\r\n"});
    EXPECT_EQ(platform.cursor.begins, 1);
    EXPECT_EQ(platform.cursor.depth, 0);
}

// The host's runner, counting the jobs started and the ends delivered.
class CountingRunner : public IJobRunner {
public:
    void Start(std::function<void()> work, std::function<void()> tick,
               std::function<void()> done) override {
        ++started;
        m_runner.Start(std::move(work), std::move(tick), [this, done = std::move(done)] {
            ++ended;
            if (done) {
                done();
            }
        });
    }
    int started = 0;
    int ended = 0;

private:
    WinJobRunner m_runner;
};

TEST_F(WinMainWindowTest, TheWindowGoesOnWhileAJobIsWrittenAndHearsItsEndInItsOwnLoop) {
    CountingRunner runner;
    ScopedServices useRunner(&Services::jobRunner, &runner);
    auto& printer = platform.AddPrinter("\\\\?\\usb#vid_1203&pid_0126#1#{printer}");
    Open();
    ChooseRow(kDensityRow);
    // The printer holds the write until the test lets it go; meanwhile it asks the window
    // what the system asks a window it suspects of hanging.
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> answered{false};
    std::atomic<DWORD> writer{0};
    printer.duringWrite = [&] {
        writer = GetCurrentThreadId();
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutW(host.Hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result) != 0;
        WaitForSingleObject(release, 30000);
    };
    const HWND send = GetDlgItem(Page(kDensityRow), IDC_SEND_DENSITY);
    SetFocus(send);
    ASSERT_EQ(GetFocus(), send);
    SendMessageW(send, BM_CLICK, 0, 0);
    // Back from the click with the job still held, the window left enabled, the send button
    // at rest, and the end of the session refused while the job runs.
    EXPECT_EQ(runner.started, 1);
    EXPECT_EQ(runner.ended, 0);
    EXPECT_TRUE(IsWindowEnabled(host.Hwnd()));
    EXPECT_FALSE(IsWindowEnabled(send));
    EXPECT_EQ(SendMessageW(host.Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_TRUE(PumpUntil([&] { return answered.load(); }));
    SetEvent(release);
    ASSERT_TRUE(PumpUntil([&] { return runner.ended == 1; }));
    CloseHandle(release);
    EXPECT_NE(writer.load(), GetCurrentThreadId());
    EXPECT_EQ(printer.writes, std::vector<std::string>{"RKW7047\r\n8\r\n"});
    // Afterwards the button works again and has the focus back; the session may end.
    EXPECT_TRUE(IsWindowEnabled(send));
    EXPECT_EQ(GetFocus(), send);
    EXPECT_NE(SendMessageW(host.Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
}

TEST_F(WinMainWindowTest, DeviceChangeMessageRebuildsThePrinterListKeepingTheChoice) {
    platform.AddPrinter("\\\\?\\usb#printer-a");
    platform.AddPrinter("\\\\?\\usb#printer-b");
    Open();
    ASSERT_EQ(host.GetCount(IDC_PRINTER_COMBO), 2);
    ChoosePrinter(1);
    const std::string chosen = PrinterText(1);
    ASSERT_EQ(dlg.SelectedPrinter()->m_strDevicePath, "\\\\?\\usb#printer-b");

    // A removes, C arrives before B: B is now second of C, B.
    platform.enumerator.devices.erase(platform.enumerator.devices.begin());
    platform.enumerator.devices.insert(
        platform.enumerator.devices.begin(),
        fake::FakeEnumerator::Usb("\\\\?\\usb#printer-c", 0x1203, 0x0126));
    platform.opener.Add("\\\\?\\usb#printer-c");
    const int before = platform.enumerator.calls;
    SendMessageW(monitor.Window(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(platform.enumerator.calls, before + 1);
    ASSERT_EQ(host.GetCount(IDC_PRINTER_COMBO), 2);
    EXPECT_EQ(host.GetCurSel(IDC_PRINTER_COMBO), 1);
    EXPECT_EQ(PrinterText(1), chosen);
    EXPECT_EQ(dlg.SelectedPrinter()->m_strDevicePath, "\\\\?\\usb#printer-b");

    // Both gone: the list says so and the pages' send buttons are off.
    platform.enumerator.devices.clear();
    SendMessageW(monitor.Window(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(host.GetCount(IDC_PRINTER_COMBO), 1);
    EXPECT_FALSE(dlg.SelectedPrinter().has_value());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(kDensityRow), IDC_SEND_DENSITY)));
}

TEST_F(WinMainWindowTest, ClosingTheWindowEndsTheRunAndStopsListening) {
    Open();
    SendMessageW(host.Hwnd(), WM_COMMAND, IDCANCEL, 0); // Escape
    EXPECT_EQ(host.EndResult(), -1);
    SendMessageW(host.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(host.EndResult(), DLG_RESULT_OK);
}

TEST(WinModalRun, EnterAndEscapeLeaveTheWindowOpenAndTheCloseCommandEndsIt) {
    RecordingLogic logic(IDD_SET_DATE_TIME);
    int closes = 0;
    logic.onInit = [&] {
        HWND hwnd = static_cast<WinDialog&>(logic.Dialog()).Hwnd();
        PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    logic.onClose = [&] {
        ++closes;
        logic.Dialog().EndDialog(DLG_RESULT_OK);
    };
    EXPECT_EQ(RunWinModalDialog(logic), DLG_RESULT_OK);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(logic.IsAttached());
}

TEST(WinModalRun, UnknownTemplateRunsNothing) {
    RecordingLogic logic(31337);
    EXPECT_EQ(RunWinModalDialog(logic), -1);
    EXPECT_EQ(logic.inits, 0);
}

// What a screen reader asks Windows for: the name of a control's client object.
std::wstring AccessibleName(HWND hwnd) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        return L"(no object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result;
    if (object->get_accName(self, &name) == S_OK && name) {
        result = name;
        SysFreeString(name);
    }
    object->Release();
    return result;
}

// Windows names an edit, a list or a combo box by the static text right before it in the
// window order: on every page each such control has its label there, and the edits carry
// that name through oleacc (what Wine answers; real Windows does the same for the lists).
TEST_F(WinMainWindowTest, EveryControlHasItsLabelRightBeforeItAndEditsAreNamedByIt) {
    Open();
    std::vector<std::pair<HWND, const DialogTemplate*>> windows{
        {host.Hwnd(), FindDialogTemplate(IDD_BRIMWELL_DIALOG)}};
    for (int row = 0; row < 11; ++row) {
        windows.emplace_back(Page(row), FindDialogTemplate(dlg.MakePage(row)->DialogId()));
    }
    int labelled = 0;
    for (const auto& [window, tmpl] : windows) {
        for (std::size_t i = 0; i < tmpl->controls.size(); ++i) {
            const ControlTemplate* label = LabelOf(*tmpl, i);
            if (!label) {
                continue;
            }
            const ControlTemplate& c = tmpl->controls[i];
            SCOPED_TRACE(c.id);
            HWND control = GetDlgItem(window, c.id);
            ASSERT_NE(control, nullptr);
            wchar_t before[256] = L"";
            GetWindowTextW(GetWindow(control, GW_HWNDPREV), before, 256);
            if (label->text.find("%s") == std::string::npos) { // else completed by the page
                EXPECT_EQ(before, std::wstring(label->text.begin(), label->text.end()));
            }
            ++labelled;
            if (c.cls == CtlClass::Edit || c.cls == CtlClass::EditBrowse) {
                EXPECT_EQ(AccessibleName(control), before);
            }
        }
    }
    EXPECT_EQ(labelled, 10); // the 2 main lists, 2 tester lists, 4 edits, 2 previews
}

} // namespace
} // namespace brimwell::test
