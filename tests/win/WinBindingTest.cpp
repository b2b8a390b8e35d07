// The Win32 host's binding of each control class, driven in-process: messages go to the real
// controls, and what the windows hold is read back. What every host keeps of the dialog
// interface is held to the dialog contract (WinDialogContractTest.cpp); here stands what only
// the windows show.
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinDialogTemplate.h"
#include "hosts/win32/WinDpi.h"
#include "hosts/win32/WinLabelPreview.h"
#include "hosts/win32/WinLinks.h"
#include "logo/LabelPreviewCtrl.h"
#include "support/ContractDialog.h"
#include "win/WinTestSupport.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace brimwell::test {
namespace {

class WinBindingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create(logic, nullptr)); }
    HWND Ctl(int id) const { return GetDlgItem(dialog.Hwnd(), id); }
    std::wstring Text(int id) const {
        wchar_t buffer[512] = {};
        GetWindowTextW(Ctl(id), buffer, 512);
        return buffer;
    }
    void Type(int id, wchar_t c) { SendMessageW(Ctl(id), WM_CHAR, c, 1); }
    void Key(int id, UINT vk) { SendMessageW(Ctl(id), WM_KEYDOWN, vk, 1); }
    int Dpi() const { return WindowDpi(dialog.Hwnd()); }

    DialogTemplate tmpl = ContractTemplate();
    WinDialog dialog{tmpl, true};
    RecordingLogic logic{kContractDialog};
};

class WinPictureTest : public WinBindingTest, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(StartAndDpiChange, WinPictureTest, ::testing::Bool());

TEST_P(WinPictureTest, PictureIsADibSectionShownWholeAtItsSizeInDevicePixels) {
    // Once as the dialog starts, once more after a move to another monitor: the host takes the
    // picture again for the window's DPI (Wine never changes it, so here it is the same one).
    const bool dpiChanged = GetParam();
    if (dpiChanged) {
        SendMessageW(Ctl(kPicture), STM_SETIMAGE, IMAGE_BITMAP, 0);
        RECT suggested{};
        GetWindowRect(dialog.Hwnd(), &suggested);
        SendMessageW(dialog.Hwnd(), WM_DPICHANGED, MAKEWPARAM(Dpi(), Dpi()),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    auto bitmap =
        reinterpret_cast<HBITMAP>(SendMessageW(Ctl(kPicture), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    // As large on the screen at every DPI as the text round it: 580 x 200 at 96 DPI.
    EXPECT_EQ(dib.dsBm.bmWidth, PhysicalFromDip(580, Dpi()));
    EXPECT_EQ(dib.dsBm.bmHeight, PhysicalFromDip(200, Dpi()));
    const DlgRect picture = dialog.ItemRect(kPicture);
    EXPECT_EQ(picture.cx, 580);
    EXPECT_EQ(picture.cy, 200);
    // The template is smaller than the picture: the dialog grew to hold it.
    EXPECT_GE(dialog.ClientSize().cx, picture.Right());
    EXPECT_GE(dialog.ClientSize().cy, picture.Bottom());
}

TEST_F(WinBindingTest, TextsStatesLimitsAndScalesReachTheWindows) {
    dialog.SetItemText(kStatic, "Dichte 50 % \xC3\xBC");
    EXPECT_EQ(Text(kStatic), L"Dichte 50 % \u00FC");
    dialog.SetItemText(kButton, "Send && go");
    EXPECT_EQ(Text(kButton), L"Send && go");
    dialog.EnableItem(kButton, false);
    EXPECT_FALSE(IsWindowEnabled(Ctl(kButton)));
    dialog.EnableItem(kButton, true);
    EXPECT_TRUE(IsWindowEnabled(Ctl(kButton)));
    dialog.LimitText(kEdit, 5);
    EXPECT_EQ(SendMessageW(Ctl(kEdit), EM_GETLIMITTEXT, 0, 0), 5);
    dialog.SetTrackPageSize(kTrack, 3);
    EXPECT_EQ(SendMessageW(Ctl(kTrack), TBM_GETPAGESIZE, 0, 0), 3);
    // What a progress bar draws: its own position on its own range.
    for (const int set : {0, 1, PROGRESS_MAX / 2, PROGRESS_MAX, PROGRESS_MAX + 1, INT_MAX, -1}) {
        SCOPED_TRACE(set);
        dialog.SetProgress(kProgress, set);
        EXPECT_EQ(SendMessageW(Ctl(kProgress), PBM_GETPOS, 0, 0), dialog.GetProgress(kProgress));
        EXPECT_EQ(SendMessageW(Ctl(kProgress), PBM_GETRANGE, FALSE, 0), PROGRESS_MAX);
    }
}

// The filter runs on the user's changes only: the program's text stays as it is given, and a
// key the filter takes back entirely changes nothing to tell. The caret stays after the typed
// letter, wherever it was typed.
TEST_F(WinBindingTest, TextFilterRunsOnTheUsersChangesOnly) {
    dialog.SetTextFilter(kEdit, &UpperNoDigits);
    dialog.SetItemText(kEdit, "ab1"); // from the program: not filtered, still heard
    EXPECT_EQ(dialog.ItemText(kEdit), "ab1");
    EXPECT_EQ(logic.heard.size(), 1u);
    logic.heard.clear();
    SendMessageW(Ctl(kEdit), EM_SETSEL, 1, 1);
    Type(kEdit, L'x');
    EXPECT_EQ(dialog.ItemText(kEdit), "AXB");
    DWORD start = 0, end = 0;
    SendMessageW(Ctl(kEdit), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 2u); // after the typed letter
    EXPECT_EQ(logic.heard, std::vector<Heard>{Cmd(kEdit, Notify::EditChanged)});
    Type(kEdit, L'7'); // filtered away entirely: no change to hear
    EXPECT_EQ(dialog.ItemText(kEdit), "AXB");
    EXPECT_EQ(logic.heard.size(), 1u);
}

TEST_F(WinBindingTest, TheFocusOnABrowseButtonIsItsEditsItem) {
    dialog.BrowseEdit(kBrowse)->SetBrowseHandler([] {});
    SetFocus(GetDlgItem(dialog.Hwnd(), BrowseButtonId(kBrowse)));
    EXPECT_EQ(dialog.FocusedItem(), kBrowse);
}

TEST_F(WinBindingTest, RichTextIsAStandInUntilShownThenARichEditThatRefusesEditing) {
    IRichTextCtrl* view = dialog.RichText(kRich);
    ASSERT_NE(view, nullptr);
    StreamSource source;
    source.data = "{\\rtf1\\ansi Hello {\\b bold} world.\\par ";
    source.data += std::string(9000, 'x');
    source.data += "}";
    EditStream es = source.Stream();
    EXPECT_EQ(view->StreamIn(STREAM_FORMAT_RTF, es), static_cast<std::int32_t>(source.data.size()));
    // Until the dialog is shown, a stand-in keeps the document; then the RichEdit shows it.
    wchar_t cls[64] = {};
    GetClassNameW(Ctl(kRich), cls, 64);
    EXPECT_STREQ(cls, L"Static");
    EXPECT_EQ(Text(kRich), L"");
    ShowWindow(dialog.Hwnd(), SW_SHOWNA);
    GetClassNameW(Ctl(kRich), cls, 64);
    EXPECT_STREQ(cls, L"RichEdit20W");
    EXPECT_EQ(dialog.RichText(kRich), view);
    EXPECT_NE(GetWindowLongW(Ctl(kRich), GWL_STYLE) & ES_MULTILINE, 0);
    const std::wstring shown = Text(kRich);
    EXPECT_EQ(shown.rfind(L"Hello bold world.", 0), 0u) << std::string(shown.begin(), shown.end());

    // From then on a document goes straight to the control, in the same pieces.
    StreamSource again;
    again.data = "{\\rtf1\\ansi Again.\\par}";
    es = again.Stream();
    EXPECT_EQ(view->StreamIn(STREAM_FORMAT_RTF, es), static_cast<std::int32_t>(again.data.size()));
    EXPECT_EQ(Text(kRich).rfind(L"Again.", 0), 0u);
    ASSERT_FALSE(again.asked.empty());
    EXPECT_LE(again.asked.front(), RICHTEXT_STREAM_PIECE);
    source.pos = 0;
    es = source.Stream();
    view->StreamIn(STREAM_FORMAT_RTF, es);
    EXPECT_EQ(Text(kRich), shown);

    // Typing, pasting, cutting and deleting change nothing.
    SendMessageW(Ctl(kRich), EM_SETSEL, 0, 5);
    Type(kRich, L'Q');
    if (OpenClipboard(dialog.Hwnd())) {
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 8 * sizeof(wchar_t));
        std::memcpy(GlobalLock(memory), L"PASTED", 7 * sizeof(wchar_t));
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
    SendMessageW(Ctl(kRich), WM_PASTE, 0, 0);
    SendMessageW(Ctl(kRich), WM_CUT, 0, 0);
    SendMessageW(Ctl(kRich), WM_CLEAR, 0, 0);
    Key(kRich, VK_DELETE);
    EXPECT_EQ(Text(kRich), shown);
}

TEST_F(WinBindingTest, AddressesInTheRichTextOpenWhenClicked) {
    std::vector<std::wstring> opened;
    const UrlOpener saved = SetUrlOpener([&](const std::wstring& url) { opened.push_back(url); });
    IRichTextCtrl* view = dialog.RichText(kRich);
    ASSERT_NE(view, nullptr);
    StreamSource source;
    source.data = "{\\rtf1\\ansi Write to customercare@brimwell.example\\par "
                  "or see www.brimwell.example.\\par}";
    EditStream es = source.Stream();
    view->StreamIn(STREAM_FORMAT_RTF, es);
    ShowWindow(dialog.Hwnd(), SW_SHOWNA);
    HWND rich = Ctl(kRich);
    // A click (button down and up) on a character: where the control reports it to be.
    const auto clickAt = [rich](LONG cp) {
        POINTL at{};
        SendMessageW(rich, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), cp);
        const LPARAM where = MAKELPARAM(at.x + 2, at.y + 3);
        SendMessageW(rich, WM_LBUTTONDOWN, MK_LBUTTON, where);
        SendMessageW(rich, WM_LBUTTONUP, 0, where);
    };
    const std::wstring text = Text(kRich);
    const auto mail = static_cast<LONG>(text.find(L"customercare"));
    const auto web = static_cast<LONG>(text.find(L"www."));
    const auto plain = static_cast<LONG>(text.find(L"Write"));
    ASSERT_GE(mail, 0);
    ASSERT_GE(web, 0);
    // Text positions count a paragraph's end as one character, WM_GETTEXT as two.
    clickAt(mail + 4);
    clickAt(web - 1 + 4);
    clickAt(plain + 1);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"mailto:customercare@brimwell.example",
                                                 L"https://www.brimwell.example"}));
    SetUrlOpener(saved);
}

TEST_F(WinBindingTest, TheBrowseButtonIsTheTabStopAfterTheEditAndFollowsItsState) {
    IBrowseEditCtrl* browse = dialog.BrowseEdit(kBrowse);
    ASSERT_NE(browse, nullptr);
    HWND button = Ctl(BrowseButtonId(kBrowse));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(IsWindowEnabled(button));
    int runs = 0;
    browse->SetBrowseHandler([&] { ++runs; });
    EXPECT_TRUE(IsWindowEnabled(button));
    // The next tab stop after the edit, and Space presses it.
    EXPECT_NE(GetWindowLongW(button, GWL_STYLE) & WS_TABSTOP, 0);
    ShowWindow(dialog.Hwnd(), SW_SHOWNA);
    SetFocus(Ctl(kBrowse));
    EXPECT_EQ(GetNextDlgTabItem(dialog.Hwnd(), Ctl(kBrowse), FALSE), button);
    SetFocus(button);
    SendMessageW(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(button, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(runs, 1);

    dialog.EnableItem(kBrowse, false);
    EXPECT_FALSE(IsWindowEnabled(button));
    dialog.EnableItem(kBrowse, true);
    EXPECT_TRUE(IsWindowEnabled(button));
    browse->SetBrowseHandler({});
    EXPECT_FALSE(IsWindowEnabled(button));
    dialog.ShowItem(kBrowse, false);
    EXPECT_FALSE(IsWindowVisible(button));
}

TEST_F(WinBindingTest, BrowseEditMovesAsOneItemWithTheButtonAtTheRight) {
    const auto pixels = [this](HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, dialog.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    HWND button = Ctl(BrowseButtonId(kBrowse));
    const RECT before = pixels(button);
    const int buttonWidth = before.right - before.left;
    ASSERT_GT(buttonWidth, 0);
    // Wide: the button keeps its width. Narrow: it takes half, the edit the other half.
    const DlgRect cases[] = {{12, 40, 240, 20}, {30, 7, 20, 14}};
    for (const DlgRect& rect : cases) {
        SCOPED_TRACE(rect.cx);
        dialog.MoveItem(kBrowse, rect);
        const RECT edit = pixels(Ctl(kBrowse));
        const RECT moved = pixels(button);
        const int width = PhysicalFromDip(rect.cx, Dpi());
        EXPECT_EQ(edit.left, PhysicalFromDip(rect.x, Dpi()));
        EXPECT_EQ(moved.right - moved.left, std::min(buttonWidth, width / 2));
        EXPECT_EQ(edit.right, moved.left);
        EXPECT_EQ(moved.right, edit.left + width);
        EXPECT_EQ(moved.top, edit.top);
        EXPECT_EQ(moved.bottom, edit.bottom);
    }
}

TEST_F(WinBindingTest, LabelPreviewKeepsItsStepsAndRepaints) {
    ILabelPreviewCtrl* preview = dialog.LabelPreview(kPreview);
    ASSERT_NE(preview, nullptr);
    ShowWindow(dialog.Hwnd(), SW_SHOWNA);
    UpdateWindow(dialog.Hwnd());
    EXPECT_FALSE(GetUpdateRect(Ctl(kPreview), nullptr, FALSE));
    preview->SetSteps({{PreviewStepKind::LabelArea, 0, 0, 50, 20, nullptr}}, nullptr);
    auto* control = WinLabelPreview::FromWindow(Ctl(kPreview));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Steps().size(), 1u);
    EXPECT_EQ(control->Logo(), nullptr);
    EXPECT_TRUE(GetUpdateRect(Ctl(kPreview), nullptr, FALSE)); // a repaint is due
}

TEST_F(WinBindingTest, EnterAndEscapeDoNothing) {
    SendMessageW(dialog.Hwnd(), WM_COMMAND, IDOK, 0);
    SendMessageW(dialog.Hwnd(), WM_COMMAND, IDCANCEL, 0);
    SendMessageW(dialog.Hwnd(), DM_GETDEFID, 0, 0);
    EXPECT_TRUE(logic.heard.empty());
    EXPECT_TRUE(IsWindow(dialog.Hwnd()));
    EXPECT_EQ(dialog.EndResult(), -1);
}

TEST_F(WinBindingTest, PlacesAndSizesAreDeviceIndependentPixels) {
    const int dpi = Dpi();
    const auto pixels = [this](int id) {
        RECT r{};
        GetWindowRect(Ctl(id), &r);
        MapWindowPoints(HWND_DESKTOP, dialog.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    // Read and written back, nothing moves, though the reading rounded.
    const RECT before = pixels(kEdit);
    dialog.MoveItem(kEdit, dialog.ItemRect(kEdit));
    const RECT after = pixels(kEdit);
    EXPECT_TRUE(EqualRect(&before, &after));

    dialog.MoveItem(kPreview, {21, 33, 610, 380});
    const RECT preview = pixels(kPreview);
    EXPECT_EQ(preview.left, PhysicalFromDip(21, dpi));
    EXPECT_EQ(preview.top, PhysicalFromDip(33, dpi));
    EXPECT_EQ(preview.right - preview.left, PhysicalFromDip(610, dpi));
    EXPECT_EQ(preview.bottom - preview.top, PhysicalFromDip(380, dpi));

    dialog.ResizeClient({701, 421});
    RECT client{};
    GetClientRect(dialog.Hwnd(), &client);
    EXPECT_EQ(client.right, PhysicalFromDip(701, dpi));
    EXPECT_EQ(client.bottom, PhysicalFromDip(421, dpi));
}

TEST_F(WinBindingTest, AChildPageStandsWhereItIsMoved) {
    RecordingLogic child(IDD_SET_DENSITY);
    IDialog* childDialog = dialog.CreateChild(*FindDialogTemplate(IDD_SET_DENSITY), child);
    ASSERT_NE(childDialog, nullptr);
    childDialog->MoveTo(210, 0);
    auto* win = static_cast<WinDialog*>(childDialog);
    RECT r{};
    GetWindowRect(win->Hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, dialog.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, PhysicalFromDip(210, Dpi()));
    EXPECT_EQ(r.top, 0);
}

} // namespace
} // namespace brimwell::test
