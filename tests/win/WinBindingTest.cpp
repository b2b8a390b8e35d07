// The Win32 host's binding of each control class, driven in-process: messages go to the real
// controls, and what the logic hears and the controls hold is read back.
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinDialogTemplate.h"
#include "hosts/win32/WinDpi.h"
#include "hosts/win32/WinLabelPreview.h"
#include "hosts/win32/WinLinks.h"
#include "logo/LabelPreviewCtrl.h"
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

enum : int {
    kStatic = 2001,
    kPicture,
    kHidden,
    kButton,
    kEdit,
    kList,
    kCombo,
    kTrack,
    kRich,
    kBrowse,
    kPreview,
    kProgress,
};

DialogTemplate BindingTemplate() {
    namespace S = CtlStyle;
    DialogTemplate t;
    t.id = 9000;
    t.cx = 300;
    t.cy = 200;
    t.fontFace = "MS Shell Dlg";
    t.pointSize = 8;
    t.caption = "Binding";
    t.controls = {
        {kStatic, CtlClass::Static, "A && B", 5, 5, 100, 8, S::AlignLeft, 0, ""},
        {kPicture, CtlClass::Static, "", 5, 20, 50, 50, S::Bitmap, IDB_BANNER, ""},
        {kHidden, CtlClass::Static, "hidden", 5, 80, 50, 8, S::Hidden, 0, ""},
        {kButton, CtlClass::Button, "Press", 5, 90, 60, 14, S::TabStop, 0, ""},
        {kEdit, CtlClass::Edit, "", 70, 90, 60, 14, S::Border | S::AutoHScroll | S::TabStop, 0, ""},
        {kList, CtlClass::ListBox, "", 5, 110, 60, 40,
         S::Notify | S::NoIntegralHeight | S::VScroll | S::Border, 0, ""},
        {kCombo, CtlClass::ComboBox, "", 70, 110, 60, 80, S::DropDownList | S::VScroll, 0, ""},
        {kTrack, CtlClass::Trackbar, "", 140, 90, 100, 15, S::TrackBoth | S::NoTicks, 0, ""},
        {kRich, CtlClass::RichEdit, "", 140, 110, 100, 40,
         S::Multiline | S::ReadOnly | S::Border | S::VScroll | S::DisableNoScroll, 0, ""},
        {kBrowse, CtlClass::EditBrowse, "", 5, 160, 120, 14, S::Border | S::AutoHScroll, 0, ""},
        {kPreview, CtlClass::LabelPreview, "", 140, 160, 100, 30, 0, 0, ""},
        {kProgress, CtlClass::Progress, "", 140, 192, 100, 6, 0, 0, "Progress"},
    };
    return t;
}

// A rectangle of the window's physical pixels as the logic reads it.
DlgRect Dips(const RECT& r, int dpi) {
    return {DipFromPhysical(r.left, dpi), DipFromPhysical(r.top, dpi),
            DipFromPhysical(r.right - r.left, dpi), DipFromPhysical(r.bottom - r.top, dpi)};
}

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

    DialogTemplate tmpl = BindingTemplate();
    WinDialog dialog{tmpl, true};
    RecordingLogic logic{9000};
};

TEST_F(WinBindingTest, InitialisesTheLogicOnceWithEveryControlInPlace) {
    EXPECT_EQ(logic.inits, 1);
    EXPECT_TRUE(logic.IsAttached());
    for (const ControlTemplate& c : tmpl.controls) {
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(dialog.HasItem(c.id));
        if (c.cls == CtlClass::Button || c.cls == CtlClass::Edit) {
            // Dialog units through the dialog font, as the dialog manager places them, read
            // in device-independent pixels.
            RECT r{c.x, c.y, c.x + c.cx, c.y + c.cy};
            MapDialogRect(dialog.Hwnd(), &r);
            EXPECT_EQ(dialog.ItemRect(c.id), Dips(r, Dpi()));
        }
    }
    EXPECT_FALSE(dialog.HasItem(IDC_STATIC));
    EXPECT_FALSE(dialog.HasItem(4242));
    EXPECT_EQ(dialog.ItemText(4242), "");
    EXPECT_EQ(dialog.GetCurSel(4242), -1);
    EXPECT_TRUE(logic.heard.empty());
}

TEST_F(WinBindingTest, StaticTextAndVisibility) {
    EXPECT_EQ(dialog.ItemText(kStatic), "A && B");
    dialog.SetItemText(kStatic, "Dichte 50 % \xC3\xBC");
    EXPECT_EQ(Text(kStatic), L"Dichte 50 % \u00FC");
    EXPECT_EQ(dialog.ItemText(kStatic), "Dichte 50 % \xC3\xBC");
    EXPECT_FALSE(dialog.IsItemShown(kHidden));
    dialog.ShowItem(kHidden, true);
    EXPECT_TRUE(dialog.IsItemShown(kHidden));
    dialog.ShowItem(kStatic, false);
    EXPECT_FALSE(dialog.IsItemShown(kStatic));
    EXPECT_TRUE(logic.heard.empty());
}

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

TEST_F(WinBindingTest, ButtonClickIsHeardAndItsStateFollowsTheLogic) {
    SendMessageW(Ctl(kButton), BM_CLICK, 0, 0);
    EXPECT_EQ(logic.heard, std::vector<Heard>{Cmd(kButton, Notify::Clicked)});
    dialog.SetItemText(kButton, "Send && go");
    EXPECT_EQ(Text(kButton), L"Send && go");
    dialog.EnableItem(kButton, false);
    EXPECT_FALSE(dialog.IsItemEnabled(kButton));
    EXPECT_FALSE(IsWindowEnabled(Ctl(kButton)));
    dialog.EnableItem(kButton, true);
    EXPECT_TRUE(dialog.IsItemEnabled(kButton));
}

TEST_F(WinBindingTest, EditNotifiesEachChangeButNotTheSameTextAgain) {
    dialog.SetItemText(kEdit, "abc");
    dialog.SetItemText(kEdit, "abc");
    EXPECT_EQ(logic.heard, std::vector<Heard>{Cmd(kEdit, Notify::EditChanged)});
    SendMessageW(Ctl(kEdit), EM_SETSEL, 3, 3);
    Type(kEdit, L'd');
    EXPECT_EQ(dialog.ItemText(kEdit), "abcd");
    EXPECT_EQ(logic.heard.size(), 2u);
    dialog.LimitText(kEdit, 5);
    EXPECT_EQ(SendMessageW(Ctl(kEdit), EM_GETLIMITTEXT, 0, 0), 5);
    Type(kEdit, L'e');
    Type(kEdit, L'f'); // over the limit: refused, nothing changes
    EXPECT_EQ(dialog.ItemText(kEdit), "abcde");
    EXPECT_EQ(logic.heard.size(), 3u);
}

void UpperNoDigits(std::u16string& text, std::size_t& caret) {
    std::u16string out;
    std::size_t newCaret = caret;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            if (i < caret) {
                --newCaret;
            }
            continue;
        }
        out += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    }
    text = out;
    caret = newCaret;
}

TEST_F(WinBindingTest, TextFilterRunsOnTheUsersChangesOnly) {
    dialog.SetTextFilter(kEdit, &UpperNoDigits);
    dialog.SetItemText(kEdit, "ab1"); // from the program: not filtered, still heard
    EXPECT_EQ(dialog.ItemText(kEdit), "ab1");
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

TEST_F(WinBindingTest, ListBoxAndComboBoxHoldEntriesAndHearOnlyTheUsersChoice) {
    for (const int id : {kList, kCombo}) {
        SCOPED_TRACE(id);
        logic.heard.clear();
        EXPECT_EQ(dialog.AddString(id, "Zeta"), 0);
        EXPECT_EQ(dialog.AddString(id, "Alpha"), 1); // appended, never sorted
        EXPECT_EQ(dialog.AddString(id, "M\xC3\xBCller"), 2);
        EXPECT_EQ(dialog.GetCount(id), 3);
        EXPECT_EQ(dialog.GetString(id, 2), "M\xC3\xBCller");
        EXPECT_EQ(dialog.GetString(id, 7), "");
        dialog.SetItemData(id, 1, 0xBEEF);
        EXPECT_EQ(dialog.GetItemData(id, 1), 0xBEEFu);
        EXPECT_EQ(dialog.GetItemData(id, 9), 0u);
        dialog.SetCurSel(id, 1);
        EXPECT_EQ(dialog.GetCurSel(id), 1);
        EXPECT_TRUE(logic.heard.empty());
        SetFocus(Ctl(id));
        Key(id, VK_DOWN);
        EXPECT_EQ(dialog.GetCurSel(id), 2);
        EXPECT_EQ(logic.heard, std::vector<Heard>{Cmd(id, Notify::SelChange)});
        dialog.SetRedraw(id, false);
        dialog.ResetContent(id);
        dialog.SetRedraw(id, true);
        EXPECT_EQ(dialog.GetCount(id), 0);
        EXPECT_EQ(dialog.GetCurSel(id), -1);
    }
    dialog.AddString(kCombo, "Shown");
    dialog.SetCurSel(kCombo, 0);
    EXPECT_EQ(dialog.ItemText(kCombo), "Shown");
    dialog.SetCurSel(kCombo, -1);
    EXPECT_EQ(dialog.GetCurSel(kCombo), -1);
}

TEST_F(WinBindingTest, ListCallsOnAnyOtherControlAnswerAsAnEmptyListAndChangeNothing) {
    dialog.SetItemText(kEdit, "abc");
    dialog.SetItemText(kButton, "Press");
    dialog.SetTrackRange(kTrack, 1, 15);
    dialog.SetTrackPos(kTrack, 4);
    logic.heard.clear();
    const int others[] = {kEdit, kButton, kTrack, kStatic, kBrowse, kPreview, 4242};
    for (const int id : others) {
        SCOPED_TRACE(id);
        dialog.ResetContent(id);
        EXPECT_EQ(dialog.AddString(id, "Zeta"), -1);
        EXPECT_EQ(dialog.GetCount(id), 0);
        EXPECT_EQ(dialog.GetString(id, 0), "");
        dialog.SetItemData(id, 0, 0xBEEF);
        EXPECT_EQ(dialog.GetItemData(id, 0), 0u);
        dialog.SetCurSel(id, 0);
        EXPECT_EQ(dialog.GetCurSel(id), -1);
    }
    EXPECT_EQ(dialog.ItemText(kEdit), "abc");
    EXPECT_EQ(dialog.ItemText(kButton), "Press");
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 4);
    EXPECT_TRUE(logic.heard.empty());
}

TEST_F(WinBindingTest, TrackbarMovesSilentlyFromCodeAndReportsTheUsersPosition) {
    dialog.SetTrackRange(kTrack, 1, 15);
    dialog.SetTrackPageSize(kTrack, 3);
    dialog.SetTrackPos(kTrack, 8);
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 8);
    EXPECT_EQ(SendMessageW(Ctl(kTrack), TBM_GETPAGESIZE, 0, 0), 3);
    dialog.SetTrackPos(kTrack, 99);
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 15); // clamped to the range
    dialog.SetTrackPos(kTrack, 8);
    EXPECT_TRUE(logic.heard.empty());
    Key(kTrack, VK_RIGHT);
    ASSERT_FALSE(logic.heard.empty());
    EXPECT_EQ(logic.heard.back(), Scroll(kTrack, 9));
    Key(kTrack, VK_NEXT); // a page
    EXPECT_EQ(logic.heard.back(), Scroll(kTrack, 12));
}

struct Source {
    std::string data;
    std::size_t pos = 0;
    std::vector<std::int32_t> asked;
    std::uint32_t failWith = 0;
};

std::uint32_t ReadSource(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb,
                         std::int32_t* pcb) {
    auto* source = reinterpret_cast<Source*>(cookie);
    source->asked.push_back(cb);
    if (source->failWith) {
        *pcb = 0;
        return source->failWith;
    }
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(cb), source->data.size() - source->pos);
    std::memcpy(buffer, source->data.data() + source->pos, n);
    source->pos += n;
    *pcb = static_cast<std::int32_t>(n);
    return 0;
}

TEST_F(WinBindingTest, ProgressBarShowsItsPositionKeptInsideTheFullScale) {
    const struct {
        int set;
        int shown;
    } cases[] = {
        {0, 0},
        {1, 1},
        {PROGRESS_MAX / 2, PROGRESS_MAX / 2},
        {PROGRESS_MAX - 1, PROGRESS_MAX - 1},
        {PROGRESS_MAX, PROGRESS_MAX},
        {PROGRESS_MAX + 1, PROGRESS_MAX},
        {INT_MAX, PROGRESS_MAX},
        {-1, 0},
        {INT_MIN, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        dialog.SetProgress(kProgress, c.set);
        EXPECT_EQ(dialog.GetProgress(kProgress), c.shown);
        // What the bar draws: its own position on its own range.
        EXPECT_EQ(SendMessageW(Ctl(kProgress), PBM_GETPOS, 0, 0), c.shown);
        EXPECT_EQ(SendMessageW(Ctl(kProgress), PBM_GETRANGE, FALSE, 0), PROGRESS_MAX);
    }
    // Another kind of control neither takes a position nor gives one.
    dialog.SetTrackRange(kTrack, 0, 15);
    dialog.SetTrackPos(kTrack, 8);
    dialog.SetProgress(kTrack, 3);
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 8);
    EXPECT_EQ(dialog.GetProgress(kTrack), 0);
    EXPECT_EQ(dialog.GetProgress(4242), 0);
}

TEST_F(WinBindingTest, FocusGoesToTheControlOrPassesToTheNextTabStopThatCanTakeIt) {
    // The tab stops of the template: the button, then the edit (the browse button is
    // disabled until it has a handler); past the last one Tab goes round to the first.
    const struct {
        int target;
        bool enabled;
        bool shown;
        int focused;
    } cases[] = {
        {kButton, true, true, kButton}, {kButton, false, true, kEdit},
        {kButton, true, false, kEdit},  {kEdit, false, true, kButton},
        {kEdit, true, false, kButton},  {kList, true, true, kList}, // no tab stop, but focusable
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        SCOPED_TRACE(c.enabled ? (c.shown ? "as it is" : "hidden") : "disabled");
        SetFocus(Ctl(kCombo));
        EXPECT_EQ(dialog.FocusedItem(), kCombo);
        dialog.EnableItem(c.target, c.enabled);
        dialog.ShowItem(c.target, c.shown);
        dialog.FocusItem(c.target);
        EXPECT_EQ(GetFocus(), Ctl(c.focused));
        EXPECT_EQ(dialog.FocusedItem(), c.focused);
        dialog.EnableItem(c.target, true);
        dialog.ShowItem(c.target, true);
    }
    // The browse button counts as its edit's item.
    dialog.BrowseEdit(kBrowse)->SetBrowseHandler([] {});
    SetFocus(GetDlgItem(dialog.Hwnd(), BrowseButtonId(kBrowse)));
    EXPECT_EQ(dialog.FocusedItem(), kBrowse);
    // Focus in another window: none of this dialog's controls has it.
    RecordingLogic otherLogic(9000);
    WinDialog other(tmpl, true);
    ASSERT_TRUE(other.Create(otherLogic, nullptr));
    SetFocus(GetDlgItem(other.Hwnd(), kEdit));
    EXPECT_EQ(dialog.FocusedItem(), 0);
    EXPECT_EQ(other.FocusedItem(), kEdit);
}

TEST_F(WinBindingTest, RichTextStreamsRtfInPiecesAndRefusesEditing) {
    IRichTextCtrl* view = dialog.RichText(kRich);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(dialog.RichText(kEdit), nullptr);
    Source source;
    source.data = "{\\rtf1\\ansi Hello {\\b bold} world.\\par ";
    source.data += std::string(9000, 'x'); // more than two pieces
    source.data += "}";
    EditStream es;
    es.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
    es.pfnCallback = &ReadSource;
    EXPECT_EQ(view->StreamIn(STREAM_FORMAT_RTF, es), static_cast<std::int32_t>(source.data.size()));
    EXPECT_EQ(es.dwError, 0u);
    ASSERT_GE(source.asked.size(), 3u);
    for (const std::int32_t asked : source.asked) {
        EXPECT_GT(asked, 0);
        EXPECT_LE(asked, RICHTEXT_STREAM_PIECE);
    }
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
    Source again;
    again.data = "{\\rtf1\\ansi Again.\\par}";
    es.dwCookie = reinterpret_cast<std::uintptr_t>(&again);
    EXPECT_EQ(view->StreamIn(STREAM_FORMAT_RTF, es), static_cast<std::int32_t>(again.data.size()));
    EXPECT_EQ(Text(kRich).rfind(L"Again.", 0), 0u);
    ASSERT_FALSE(again.asked.empty());
    EXPECT_LE(again.asked.front(), RICHTEXT_STREAM_PIECE);
    source.pos = 0;
    es.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
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
    Source source;
    source.data = "{\\rtf1\\ansi Write to customercare@brimwell.example\\par "
                  "or see www.brimwell.example.\\par}";
    EditStream es;
    es.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
    es.pfnCallback = &ReadSource;
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

TEST_F(WinBindingTest, RichTextReportsTheCallbacksErrorAndRefusesUnknownFormats) {
    IRichTextCtrl* view = dialog.RichText(kRich);
    ASSERT_NE(view, nullptr);
    Source failing;
    failing.failWith = 7;
    EditStream es;
    es.dwCookie = reinterpret_cast<std::uintptr_t>(&failing);
    es.pfnCallback = &ReadSource;
    EXPECT_EQ(view->StreamIn(STREAM_FORMAT_RTF, es), 0);
    EXPECT_EQ(es.dwError, 7u);
    Source unused;
    es.dwCookie = reinterpret_cast<std::uintptr_t>(&unused);
    EXPECT_EQ(view->StreamIn(0x4000, es), 0);
    EXPECT_EQ(es.dwError, 0u);
    EXPECT_TRUE(unused.asked.empty());
}

TEST_F(WinBindingTest, BrowseEditButtonRunsTheHandlerAndTheEditReportsChanges) {
    IBrowseEditCtrl* browse = dialog.BrowseEdit(kBrowse);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(dialog.BrowseEdit(kEdit), nullptr);
    HWND button = Ctl(BrowseButtonId(kBrowse));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(IsWindowEnabled(button));
    int runs = 0;
    browse->SetBrowseHandler([&] {
        ++runs;
        dialog.SetItemText(kBrowse, "C:\\logos\\pass.bmp");
    });
    EXPECT_TRUE(IsWindowEnabled(button));
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(runs, 1);
    // The next tab stop after the edit, and Space presses it.
    EXPECT_NE(GetWindowLongW(button, GWL_STYLE) & WS_TABSTOP, 0);
    ShowWindow(dialog.Hwnd(), SW_SHOWNA);
    SetFocus(Ctl(kBrowse));
    EXPECT_EQ(GetNextDlgTabItem(dialog.Hwnd(), Ctl(kBrowse), FALSE), button);
    SetFocus(button);
    SendMessageW(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(button, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(dialog.ItemText(kBrowse), "C:\\logos\\pass.bmp");
    EXPECT_EQ(logic.heard, std::vector<Heard>{Cmd(kBrowse, Notify::EditChanged)});

    // The item is the edit and its button together.
    RECT whole{5, 160, 125, 174};
    MapDialogRect(dialog.Hwnd(), &whole);
    EXPECT_EQ(dialog.ItemRect(kBrowse), Dips(whole, Dpi()));

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
        EXPECT_EQ(dialog.ItemRect(kBrowse), rect);
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

TEST_F(WinBindingTest, LabelPreviewMeasuresTheLabelTextsAndKeepsItsSteps) {
    ILabelPreviewCtrl* preview = dialog.LabelPreview(kPreview);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(dialog.LabelPreview(kEdit), nullptr);
    const PreviewTextExtents extents = preview->LabelTextExtents();
    for (const int extent : extents) {
        EXPECT_GT(extent, 0);
    }
    // "--  CENTRE  CABLE  HERE  --" is the longest text, the three "etc." are equal.
    EXPECT_GT(extents[0], extents[1]);
    EXPECT_EQ(extents[3], extents[5]);
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

TEST_F(WinBindingTest, EnterAndEscapeDoNothingAndTheCloseCommandGoesToTheLogic) {
    SendMessageW(dialog.Hwnd(), WM_COMMAND, IDOK, 0);
    SendMessageW(dialog.Hwnd(), WM_COMMAND, IDCANCEL, 0);
    SendMessageW(dialog.Hwnd(), DM_GETDEFID, 0, 0);
    EXPECT_TRUE(logic.heard.empty());
    EXPECT_TRUE(IsWindow(dialog.Hwnd()));
    logic.onClose = [&] { logic.Dialog().EndDialog(DLG_RESULT_OK); };
    SendMessageW(dialog.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(logic.heard.size(), 1u);
    EXPECT_EQ(logic.heard[0].kind, Heard::Close);
    EXPECT_EQ(dialog.EndResult(), DLG_RESULT_OK);
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
    EXPECT_EQ(dialog.ItemRect(kPreview), (DlgRect{21, 33, 610, 380}));

    dialog.ResizeClient({701, 421});
    RECT client{};
    GetClientRect(dialog.Hwnd(), &client);
    EXPECT_EQ(client.right, PhysicalFromDip(701, dpi));
    EXPECT_EQ(client.bottom, PhysicalFromDip(421, dpi));
    EXPECT_EQ(dialog.ClientSize(), (DlgSize{701, 421}));
}

TEST_F(WinBindingTest, ClientSizeAndChildPages) {
    dialog.ResizeClient({700, 420});
    EXPECT_EQ(dialog.ClientSize(), (DlgSize{700, 420}));

    const DialogTemplate* page = FindDialogTemplate(IDD_SET_DENSITY);
    ASSERT_NE(page, nullptr);
    RecordingLogic child(IDD_SET_DENSITY);
    IDialog* childDialog = dialog.CreateChild(*page, child);
    ASSERT_NE(childDialog, nullptr);
    EXPECT_EQ(child.inits, 1);
    EXPECT_EQ(&child.Dialog(), childDialog);
    EXPECT_FALSE(childDialog->IsShown());
    childDialog->MoveTo(210, 0);
    childDialog->Show(true);
    EXPECT_TRUE(childDialog->IsShown());
    auto* win = static_cast<WinDialog*>(childDialog);
    RECT r{};
    GetWindowRect(win->Hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, dialog.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, PhysicalFromDip(210, Dpi()));
    EXPECT_EQ(r.top, 0);
    // The page's own controls report to the page's logic.
    SendMessageW(GetDlgItem(win->Hwnd(), IDC_SEND_DENSITY), BM_CLICK, 0, 0);
    EXPECT_EQ(child.heard, std::vector<Heard>{Cmd(IDC_SEND_DENSITY, Notify::Clicked)});
    EXPECT_TRUE(logic.heard.empty());
    childDialog->Detach();
    SendMessageW(GetDlgItem(win->Hwnd(), IDC_SEND_DENSITY), BM_CLICK, 0, 0);
    EXPECT_EQ(child.heard.size(), 1u);
}

TEST(WinDialogLifetime, DestroyingTheWindowDetachesEveryLogic) {
    const DialogTemplate tmpl = BindingTemplate();
    RecordingLogic logic(9000);
    RecordingLogic page(IDD_WELCOME);
    {
        WinDialog dialog(tmpl, true);
        ASSERT_TRUE(dialog.Create(logic, nullptr));
        ASSERT_NE(dialog.CreateChild(*FindDialogTemplate(IDD_WELCOME), page), nullptr);
        EXPECT_TRUE(page.IsAttached());
    }
    EXPECT_FALSE(logic.IsAttached());
    EXPECT_FALSE(page.IsAttached());
    EXPECT_FALSE(logic.Dialog().HasItem(kButton));
}

} // namespace
} // namespace brimwell::test
