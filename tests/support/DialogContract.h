#pragma once
// What every dialog host keeps of the dialog interface (ui/Dialog.h), written once and run
// against each host: the Qt host, the Win32 host and the fake host the page tests run on.
//
// Each host comes with an adapter, the test's type parameter, which builds a dialog and plays
// the user's part on that host:
//
//   struct Host {
//       Host(const DialogTemplate& tmpl, CDialogBase& logic); // built, logic attached and
//                                                              // initialised, not yet shown
//       IDialog& Dialog();
//       void Show();                   // shown, and its window the active one
//       DlgRect TemplateRect(int x, int y, int cx, int cy); // dialog units as placed here
//       void Close();                  // the window's close command (close box, Alt+F4)
//       int EndResult() const;         // what the logic ended the run with; -1 not ended
//       // The user's part, on this dialog or on a child page of it. Each is false, and does
//       // nothing, where the user could not do it: the control is missing, disabled or hidden
//       // (or, for Browse, the browse button is).
//       static bool Click(IDialog&, int id);
//       static bool Type(IDialog&, int id, const std::string& text); // key by key, at the end
//       static bool Paste(IDialog&, int id, const std::string& text); // at once, at the end
//       static bool ChooseNext(IDialog&, int id); // a list's Down arrow: the next entry
//       static bool Step(IDialog&, int id, TrackStep step);
//       static bool Browse(IDialog&, int id);     // presses a browse edit's button
//       static bool FocusByUser(IDialog&, int id); // a click into the control
//   };
#include "logo/LabelPreviewCtrl.h"
#include "support/ContractDialog.h"
#include "support/RecordingLogic.h"
#include "tester/UserNameCodec.h"
#include "ui/Dialog.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace brimwell::test {

// A trackbar's keys as the user means them: one line or one page towards the maximum (Up) or
// the minimum (Down), or to either end. Each host maps them to its own keys.
enum class TrackStep { Up, Down, PageUp, PageDown, ToMin, ToMax };

template <class Host>
class DialogContract : public ::testing::Test {
protected:
    DialogTemplate tmpl = ContractTemplate();
    RecordingLogic logic{kContractDialog};
    Host host{tmpl, logic};
    IDialog& dialog = host.Dialog();
};

TYPED_TEST_SUITE_P(DialogContract);

TYPED_TEST_P(DialogContract, InitialisesTheLogicOnceWithEveryControlInPlace) {
    IDialog& dialog = this->dialog;
    EXPECT_EQ(this->logic.inits, 1);
    EXPECT_TRUE(this->logic.IsAttached());
    EXPECT_EQ(&this->logic.Dialog(), &dialog);
    for (const ControlTemplate& c : this->tmpl.controls) {
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(dialog.HasItem(c.id));
        EXPECT_EQ(dialog.IsItemShown(c.id), c.id != kHidden);
        EXPECT_TRUE(dialog.IsItemEnabled(c.id));
        // Where the template's units put them, in the host's base units (Windows: those of
        // the dialog font); a drop-down list and a picture take sizes of their own.
        if (c.cls != CtlClass::ComboBox && (c.style & CtlStyle::Bitmap) == 0) {
            EXPECT_EQ(dialog.ItemRect(c.id), this->host.TemplateRect(c.x, c.y, c.cx, c.cy));
        }
    }
    // A drop-down list is as high as its closed box, not as its dropped list.
    const ControlTemplate& combo = *this->tmpl.Find(kCombo);
    const DlgRect dropped = this->host.TemplateRect(combo.x, combo.y, combo.cx, combo.cy);
    const DlgRect closed = dialog.ItemRect(kCombo);
    EXPECT_EQ(closed.x, dropped.x);
    EXPECT_EQ(closed.y, dropped.y);
    EXPECT_EQ(closed.cx, dropped.cx);
    EXPECT_GT(closed.cy, 0);
    EXPECT_LT(closed.cy, dropped.cy / 2);
    // A page without pictures is the template's size.
    RecordingLogic pageLogic(IDD_SET_DENSITY);
    const DialogTemplate& density = *FindDialogTemplate(IDD_SET_DENSITY);
    TypeParam page(density, pageLogic);
    const DlgRect whole = page.TemplateRect(0, 0, density.cx, density.cy);
    EXPECT_EQ(page.Dialog().ClientSize(), (DlgSize{whole.cx, whole.cy}));
    EXPECT_TRUE(this->logic.heard.empty());
}

TYPED_TEST_P(DialogContract, AMissingIdDoesNothingAndReadsAsEmpty) {
    IDialog& dialog = this->dialog;
    for (const int id : {IDC_STATIC, 4242}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(dialog.HasItem(id));
        dialog.SetItemText(id, "text");
        dialog.EnableItem(id, true);
        dialog.ShowItem(id, true);
        dialog.MoveItem(id, {1, 2, 3, 4});
        EXPECT_EQ(dialog.ItemText(id), "");
        EXPECT_FALSE(dialog.IsItemEnabled(id));
        EXPECT_FALSE(dialog.IsItemShown(id));
        EXPECT_EQ(dialog.ItemRect(id), DlgRect{});
        EXPECT_EQ(dialog.GetCurSel(id), -1);
        EXPECT_EQ(dialog.GetTrackPos(id), 0);
        EXPECT_EQ(dialog.GetProgress(id), 0);
        EXPECT_EQ(dialog.LabelPreview(id), nullptr);
        EXPECT_EQ(dialog.RichText(id), nullptr);
        EXPECT_EQ(dialog.BrowseEdit(id), nullptr);
        EXPECT_FALSE(TypeParam::Click(dialog, id));
    }
    EXPECT_TRUE(this->logic.heard.empty());
}

TYPED_TEST_P(DialogContract, EveryControlIsEnabledAndShownAsTheProgramSays) {
    IDialog& dialog = this->dialog;
    for (const ControlTemplate& c : this->tmpl.controls) {
        SCOPED_TRACE(c.id);
        dialog.EnableItem(c.id, false);
        EXPECT_FALSE(dialog.IsItemEnabled(c.id));
        dialog.EnableItem(c.id, true);
        EXPECT_TRUE(dialog.IsItemEnabled(c.id));
        dialog.ShowItem(c.id, false);
        EXPECT_FALSE(dialog.IsItemShown(c.id));
        dialog.ShowItem(c.id, true);
        EXPECT_TRUE(dialog.IsItemShown(c.id));
    }
    EXPECT_TRUE(this->logic.heard.empty());
}

TYPED_TEST_P(DialogContract, StaticsAndButtonsKeepTheirTextsAsGiven) {
    IDialog& dialog = this->dialog;
    // "&&" stands for one ampersand on the screen; the text reads back as the template has it.
    EXPECT_EQ(dialog.ItemText(kStatic), "A && B");
    EXPECT_EQ(dialog.ItemText(kButton), "Send && Go");
    for (const char* text : {"Dichte 50 % \xC3\xBC", "Name && more", ""}) {
        SCOPED_TRACE(text);
        for (const int id : {kStatic, kButton}) {
            dialog.SetItemText(id, text);
            EXPECT_EQ(dialog.ItemText(id), text);
        }
    }
    // The controls that show no text of their own take none.
    for (const int id : {kList, kCombo, kTrack, kRich, kPreview, kProgress}) {
        SCOPED_TRACE(id);
        dialog.SetItemText(id, "text");
        EXPECT_EQ(dialog.ItemText(id), "");
    }
    EXPECT_TRUE(this->logic.heard.empty());
}

TYPED_TEST_P(DialogContract, AButtonsClickIsHeardWhileItIsEnabled) {
    IDialog& dialog = this->dialog;
    EXPECT_TRUE(TypeParam::Click(dialog, kButton));
    EXPECT_EQ(this->logic.heard, std::vector<Heard>{Cmd(kButton, Notify::Clicked)});
    dialog.EnableItem(kButton, false);
    EXPECT_FALSE(TypeParam::Click(dialog, kButton));
    dialog.EnableItem(kButton, true);
    EXPECT_TRUE(TypeParam::Click(dialog, kButton));
    EXPECT_EQ(this->logic.heard.size(), 2u);
}

TYPED_TEST_P(DialogContract, AnEditNotifiesEachChangeButNotTheSameTextAgain) {
    IDialog& dialog = this->dialog;
    std::vector<Heard>& heard = this->logic.heard;
    // From the program.
    const struct {
        std::string text;
        std::size_t notifications;
    } steps[] = {{"LAB 3", 1}, {"LAB 3", 1}, {"Zo\xC3\xAB", 2}, {"", 3}, {"abc", 4}, {"abc", 4}};
    for (const auto& step : steps) {
        dialog.SetItemText(kEdit, step.text);
        EXPECT_EQ(dialog.ItemText(kEdit), step.text);
        EXPECT_EQ(heard.size(), step.notifications) << step.text;
    }
    // From the user: each key that changes the text.
    ASSERT_TRUE(TypeParam::Type(dialog, kEdit, "d"));
    EXPECT_EQ(dialog.ItemText(kEdit), "abcd");
    EXPECT_EQ(heard.size(), 5u);
    ASSERT_TRUE(TypeParam::Type(dialog, kEdit, "ab"));
    EXPECT_EQ(dialog.ItemText(kEdit), "abcdab");
    EXPECT_EQ(heard.size(), 7u);
    EXPECT_EQ(heard.back(), Cmd(kEdit, Notify::EditChanged));
    // Keys past the limit are refused and change nothing.
    dialog.SetItemText(kEdit, "abcd");
    heard.clear();
    dialog.LimitText(kEdit, 5);
    ASSERT_TRUE(TypeParam::Type(dialog, kEdit, "ef"));
    EXPECT_EQ(dialog.ItemText(kEdit), "abcde");
    EXPECT_EQ(heard, std::vector<Heard>{Cmd(kEdit, Notify::EditChanged)});
}

TYPED_TEST_P(DialogContract, WhatTheUserPastesIsCutToTheLimitAndFiltered) {
    IDialog& dialog = this->dialog;
    dialog.LimitText(kEdit, 24);
    dialog.SetTextFilter(kEdit, &KeepUserNameOneLine);
    ASSERT_TRUE(TypeParam::Paste(dialog, kEdit, std::string(30, 'x')));
    EXPECT_EQ(dialog.ItemText(kEdit), std::string(24, 'x'));
    dialog.SetItemText(kEdit, "");
    ASSERT_TRUE(TypeParam::Paste(dialog, kEdit, "A\tB\x7F\r\nCD"));
    EXPECT_EQ(dialog.ItemText(kEdit), "AB");
}

// (Whether the program's own text is filtered, and whether a key the filter takes back
// entirely is heard, the hosts answer each their own way.)
TYPED_TEST_P(DialogContract, TheTextFilterRunsOnWhatTheUserTypes) {
    IDialog& dialog = this->dialog;
    std::vector<Heard>& heard = this->logic.heard;
    dialog.SetTextFilter(kEdit, &UpperNoDigits);
    dialog.SetItemText(kEdit, "AB");
    heard.clear();
    ASSERT_TRUE(TypeParam::Type(dialog, kEdit, "x"));
    EXPECT_EQ(dialog.ItemText(kEdit), "ABX");
    EXPECT_EQ(heard, std::vector<Heard>{Cmd(kEdit, Notify::EditChanged)});
    ASSERT_TRUE(TypeParam::Paste(dialog, kEdit, "y2z"));
    EXPECT_EQ(dialog.ItemText(kEdit), "ABXYZ");
}

TYPED_TEST_P(DialogContract, ListsAndCombosHoldEntriesAndOnlyTheUsersChoiceIsHeard) {
    IDialog& dialog = this->dialog;
    std::vector<Heard>& heard = this->logic.heard;
    for (const int id : {kList, kCombo}) {
        SCOPED_TRACE(id);
        heard.clear();
        EXPECT_EQ(dialog.AddString(id, "Zeta"), 0);
        EXPECT_EQ(dialog.AddString(id, "Alpha"), 1); // appended, never sorted
        EXPECT_EQ(dialog.AddString(id, "M\xC3\xBCller"), 2);
        EXPECT_EQ(dialog.GetCount(id), 3);
        EXPECT_EQ(dialog.GetString(id, 1), "Alpha");
        EXPECT_EQ(dialog.GetString(id, 2), "M\xC3\xBCller");
        EXPECT_EQ(dialog.GetString(id, 7), "");
        EXPECT_EQ(dialog.GetString(id, -1), "");
        dialog.SetItemData(id, 1, 0xBEEF);
        EXPECT_EQ(dialog.GetItemData(id, 1), 0xBEEFu);
        EXPECT_EQ(dialog.GetItemData(id, 0), 0u);
        EXPECT_EQ(dialog.GetItemData(id, 9), 0u);
        dialog.SetCurSel(id, 1);
        EXPECT_EQ(dialog.GetCurSel(id), 1);
        EXPECT_TRUE(heard.empty()); // a choice of the program's tells nobody
        ASSERT_TRUE(TypeParam::ChooseNext(dialog, id));
        EXPECT_EQ(dialog.GetCurSel(id), 2);
        EXPECT_EQ(heard, std::vector<Heard>{Cmd(id, Notify::SelChange)});
        dialog.SetRedraw(id, false);
        dialog.ResetContent(id);
        dialog.SetRedraw(id, true);
        EXPECT_EQ(dialog.GetCount(id), 0);
        EXPECT_EQ(dialog.GetCurSel(id), -1);
    }
    // A drop-down list shows its chosen entry as its text.
    dialog.AddString(kCombo, "Shown");
    dialog.SetCurSel(kCombo, 0);
    EXPECT_EQ(dialog.ItemText(kCombo), "Shown");
    dialog.SetCurSel(kCombo, -1);
    EXPECT_EQ(dialog.GetCurSel(kCombo), -1);
    EXPECT_EQ(dialog.ItemText(kCombo), "");
}

TYPED_TEST_P(DialogContract, ListCallsOnAnyOtherControlAnswerAsAnEmptyListAndChangeNothing) {
    IDialog& dialog = this->dialog;
    dialog.SetItemText(kEdit, "abc");
    dialog.SetItemText(kButton, "Press");
    dialog.SetTrackRange(kTrack, 1, 15);
    dialog.SetTrackPos(kTrack, 4);
    this->logic.heard.clear();
    const int others[] = {kEdit, kButton, kTrack, kStatic, kBrowse, kPreview, kProgress, 4242};
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
    EXPECT_TRUE(this->logic.heard.empty());
}

TYPED_TEST_P(DialogContract, ATrackbarMovesSilentlyFromTheProgramAndTellsTheUsersSteps) {
    IDialog& dialog = this->dialog;
    std::vector<Heard>& heard = this->logic.heard;
    dialog.SetTrackRange(kTrack, 1, 15);
    dialog.SetTrackPageSize(kTrack, 2);
    dialog.SetTrackPos(kTrack, 8);
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 8);
    dialog.SetTrackPos(kTrack, 99);
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 15); // kept inside the range
    dialog.SetTrackPos(kTrack, -3);
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 1);
    EXPECT_TRUE(heard.empty());
    const struct {
        TrackStep step;
        int pos;
    } cases[] = {
        {TrackStep::Up, 9},       {TrackStep::Down, 7},  {TrackStep::PageUp, 10},
        {TrackStep::PageDown, 6}, {TrackStep::ToMin, 1}, {TrackStep::ToMax, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pos);
        dialog.SetTrackPos(kTrack, 8);
        heard.clear();
        ASSERT_TRUE(TypeParam::Step(dialog, kTrack, c.step));
        EXPECT_EQ(dialog.GetTrackPos(kTrack), c.pos);
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back(), Scroll(kTrack, c.pos));
    }
}

TYPED_TEST_P(DialogContract, AProgressBarKeepsItsPositionInsideTheFullScale) {
    IDialog& dialog = this->dialog;
    EXPECT_EQ(dialog.GetProgress(kProgress), 0);
    const struct {
        int set;
        int shown;
    } cases[] = {
        {0, 0},
        {1, 1},
        {250, 250},
        {PROGRESS_MAX / 2, PROGRESS_MAX / 2},
        {PROGRESS_MAX - 1, PROGRESS_MAX - 1},
        {PROGRESS_MAX, PROGRESS_MAX},
        {PROGRESS_MAX + 1, PROGRESS_MAX},
        {INT_MAX, PROGRESS_MAX},
        {-1, 0},
        {INT_MIN, 0},
        {999, 999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        dialog.SetProgress(kProgress, c.set);
        EXPECT_EQ(dialog.GetProgress(kProgress), c.shown);
    }
    // Another kind of control neither takes a position nor gives one.
    dialog.SetTrackRange(kTrack, 0, 15);
    dialog.SetTrackPos(kTrack, 8);
    dialog.SetProgress(kTrack, 3);
    EXPECT_EQ(dialog.GetTrackPos(kTrack), 8);
    EXPECT_EQ(dialog.GetProgress(kTrack), 0);
    EXPECT_EQ(dialog.GetProgress(kList), 0);
}

TYPED_TEST_P(DialogContract, FocusGoesToTheControlOrOnToTheNextTabStopThatCanTakeIt) {
    const struct {
        int templateId; // 0: the contract's dialog
        int userFocus;  // where the user put the focus first; 0: nowhere
        int target;
        std::vector<int> disabled, hidden;
        int focused;
    } cases[] = {
        // The contract's tab stops: the button, then the edit (the browse button is disabled
        // until it has a handler); past the last one the focus goes round to the first.
        {0, kCombo, kButton, {}, {}, kButton},
        {0, kCombo, kButton, {kButton}, {}, kEdit},
        {0, kCombo, kButton, {}, {kButton}, kEdit},
        {0, kCombo, kEdit, {kEdit}, {}, kButton},
        {0, kCombo, kEdit, {}, {kEdit}, kButton},
        {0, kCombo, kList, {}, {}, kList}, // no tab stop, but it takes the focus
        {IDD_CFG_TESTER_TYPE, 0, IDC_USER_NAME, {}, {}, IDC_USER_NAME},
        {IDD_CFG_TESTER_TYPE, 0, IDC_USER_NAME, {IDC_USER_NAME}, {}, IDC_SEND_CONFIGURATION},
        {IDD_CFG_TESTER_TYPE, 0, IDC_USER_NAME, {}, {IDC_USER_NAME}, IDC_SEND_CONFIGURATION},
        // round from the last control to the first
        {IDD_CFG_TESTER_TYPE,
         0,
         IDC_USER_NAME,
         {IDC_SEND_CONFIGURATION},
         {IDC_USER_NAME},
         IDC_TESTER_LIST},
        // none can take it
        {IDD_CFG_TESTER_TYPE,
         0,
         IDC_USER_NAME,
         {IDC_TESTER_LIST, IDC_USER_NAME, IDC_SEND_CONFIGURATION},
         {},
         0},
        // the focus in the edit of a browse edit is the browse edit's; the preview is no Tab stop
        {IDD_CFG_LOGO, 0, IDC_LOGO_FILE, {}, {}, IDC_LOGO_FILE},
        {IDD_CFG_LOGO, 0, IDC_LOGO_FILE, {IDC_LOGO_FILE}, {}, IDC_LOGO_SEND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "dialog " << c.templateId << ", to " << c.target << ", disabled "
                     << c.disabled.size() << ", hidden " << c.hidden.size());
        const DialogTemplate tmpl = c.templateId ? *FindDialogTemplate(c.templateId) : this->tmpl;
        RecordingLogic logic(tmpl.id);
        TypeParam host(tmpl, logic);
        IDialog& dialog = host.Dialog();
        host.Show();
        if (c.userFocus) {
            ASSERT_TRUE(TypeParam::FocusByUser(dialog, c.userFocus));
            EXPECT_EQ(dialog.FocusedItem(), c.userFocus);
        }
        for (const int id : c.disabled) {
            dialog.EnableItem(id, false);
        }
        for (const int id : c.hidden) {
            dialog.ShowItem(id, false);
        }
        dialog.FocusItem(c.target);
        EXPECT_EQ(dialog.FocusedItem(), c.focused);
    }
}

TYPED_TEST_P(DialogContract, FocusInAnotherDialogIsNoneOfThisOnesControls) {
    this->host.Show();
    ASSERT_TRUE(TypeParam::FocusByUser(this->dialog, kEdit));
    EXPECT_EQ(this->dialog.FocusedItem(), kEdit);
    RecordingLogic otherLogic(kContractDialog);
    TypeParam other(this->tmpl, otherLogic);
    other.Show();
    ASSERT_TRUE(TypeParam::FocusByUser(other.Dialog(), kButton));
    EXPECT_EQ(this->dialog.FocusedItem(), 0);
    EXPECT_EQ(other.Dialog().FocusedItem(), kButton);
}

TYPED_TEST_P(DialogContract, ABrowseEditsButtonRunsItsHandlerAndTheEditTellsItsChanges) {
    IDialog& dialog = this->dialog;
    IBrowseEditCtrl* browse = dialog.BrowseEdit(kBrowse);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(dialog.BrowseEdit(kEdit), nullptr);
    EXPECT_FALSE(TypeParam::Browse(dialog, kBrowse)); // no handler yet
    int runs = 0;
    browse->SetBrowseHandler([&] {
        ++runs;
        dialog.SetItemText(kBrowse, "C:\\logos\\pass.bmp");
    });
    EXPECT_TRUE(TypeParam::Browse(dialog, kBrowse));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(dialog.ItemText(kBrowse), "C:\\logos\\pass.bmp");
    EXPECT_EQ(this->logic.heard, std::vector<Heard>{Cmd(kBrowse, Notify::EditChanged)});
    dialog.EnableItem(kBrowse, false);
    EXPECT_FALSE(TypeParam::Browse(dialog, kBrowse));
    dialog.EnableItem(kBrowse, true);
    EXPECT_TRUE(TypeParam::Browse(dialog, kBrowse));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(this->logic.heard.size(), 1u); // the same text again: nothing to tell
    dialog.ShowItem(kBrowse, false);
    EXPECT_FALSE(TypeParam::Browse(dialog, kBrowse));
    dialog.ShowItem(kBrowse, true);
    browse->SetBrowseHandler({});
    EXPECT_FALSE(TypeParam::Browse(dialog, kBrowse));
    EXPECT_EQ(runs, 2);
}

TYPED_TEST_P(DialogContract, ThePlacesAndSizesTheProgramSetsReadBack) {
    IDialog& dialog = this->dialog;
    // Read and written back, nothing moves.
    const DlgRect edit = dialog.ItemRect(kEdit);
    dialog.MoveItem(kEdit, edit);
    EXPECT_EQ(dialog.ItemRect(kEdit), edit);
    const struct {
        int id;
        DlgRect rect;
    } cases[] = {
        {kPreview, {21, 33, 610, 380}},
        {kButton, {3, 4, 50, 20}},
        {kTrack, {3, 4, 50, 20}},
        {kStatic, {3, 4, 50, 20}},
        {kEdit, {3, 4, 50, 20}},
        // A browse edit moves as one item: wide, and so narrow the button takes half of it.
        {kBrowse, {12, 40, 240, 20}},
        {kBrowse, {30, 7, 20, 14}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        dialog.MoveItem(c.id, c.rect);
        EXPECT_EQ(dialog.ItemRect(c.id), c.rect);
    }
    for (const DlgSize size : {DlgSize{701, 421}, DlgSize{400, 200}}) {
        dialog.ResizeClient(size);
        EXPECT_EQ(dialog.ClientSize(), size);
    }
    EXPECT_TRUE(this->logic.heard.empty());
}

TYPED_TEST_P(DialogContract, ALabelPreviewMeasuresTheLabelTextsInItsFont) {
    IDialog& dialog = this->dialog;
    ILabelPreviewCtrl* preview = dialog.LabelPreview(kPreview);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(dialog.LabelPreview(kEdit), nullptr);
    const PreviewTextExtents extents = preview->LabelTextExtents();
    for (const int extent : extents) {
        EXPECT_GT(extent, 0);
    }
    // "--  CENTRE  CABLE  HERE  --" is the longest text, the three "etc." are equal.
    EXPECT_GT(extents[0], extents[1]);
    EXPECT_GT(extents[2], extents[3]);
    EXPECT_EQ(extents[3], extents[4]);
    EXPECT_EQ(extents[3], extents[5]);
}

TYPED_TEST_P(DialogContract, ARichTextViewStreamsInPiecesAndReportsTheCallbacksError) {
    IDialog& dialog = this->dialog;
    IRichTextCtrl* view = dialog.RichText(kRich);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(dialog.RichText(kEdit), nullptr);
    StreamSource source;
    source.data = "{\\rtf1\\ansi Hello {\\b bold} world.\\par ";
    source.data += std::string(9000, 'x'); // more than two pieces
    source.data += "}";
    EditStream es = source.Stream();
    EXPECT_EQ(view->StreamIn(STREAM_FORMAT_RTF, es), static_cast<std::int32_t>(source.data.size()));
    EXPECT_EQ(es.dwError, 0u);
    ASSERT_GE(source.asked.size(), 3u);
    for (const std::int32_t asked : source.asked) {
        EXPECT_GT(asked, 0);
        EXPECT_LE(asked, RICHTEXT_STREAM_PIECE);
    }
    // The callback's error ends the stream and is reported.
    StreamSource failing;
    failing.failWith = 7;
    es = failing.Stream();
    EXPECT_EQ(view->StreamIn(STREAM_FORMAT_RTF, es), 0);
    EXPECT_EQ(es.dwError, 7u);
    // A format the view does not know is refused without reading.
    StreamSource unused;
    es = unused.Stream();
    EXPECT_EQ(view->StreamIn(0x4000, es), 0);
    EXPECT_EQ(es.dwError, 0u);
    EXPECT_TRUE(unused.asked.empty());
}

TYPED_TEST_P(DialogContract, TheCloseCommandGoesToTheLogicWhichEndsTheRun) {
    this->host.Show();
    this->logic.onClose = [this] { this->logic.Dialog().EndDialog(DLG_RESULT_OK); };
    EXPECT_EQ(this->host.EndResult(), -1);
    this->host.Close();
    ASSERT_EQ(this->logic.heard.size(), 1u);
    EXPECT_EQ(this->logic.heard[0].kind, Heard::Close);
    EXPECT_EQ(this->host.EndResult(), DLG_RESULT_OK);
}

TYPED_TEST_P(DialogContract, AChildPageIsMadeHiddenAndReportsToItsOwnLogic) {
    IDialog& dialog = this->dialog;
    const DialogTemplate& density = *FindDialogTemplate(IDD_SET_DENSITY);
    RecordingLogic child(IDD_SET_DENSITY);
    IDialog* page = dialog.CreateChild(density, child);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(child.inits, 1);
    EXPECT_EQ(&child.Dialog(), page);
    EXPECT_FALSE(page->IsShown());
    page->MoveTo(210, 0);
    page->Show(true);
    EXPECT_TRUE(page->IsShown());
    ASSERT_TRUE(TypeParam::Click(*page, IDC_SEND_DENSITY));
    EXPECT_EQ(child.heard, std::vector<Heard>{Cmd(IDC_SEND_DENSITY, Notify::Clicked)});
    EXPECT_TRUE(this->logic.heard.empty());
    page->Detach();
    TypeParam::Click(*page, IDC_SEND_DENSITY);
    EXPECT_EQ(child.heard.size(), 1u);
    page->Show(false);
    EXPECT_FALSE(page->IsShown());
}

TYPED_TEST_P(DialogContract, DestroyingTheDialogDetachesEveryLogic) {
    RecordingLogic logic(kContractDialog);
    RecordingLogic page(IDD_WELCOME);
    {
        TypeParam host(this->tmpl, logic);
        ASSERT_NE(host.Dialog().CreateChild(*FindDialogTemplate(IDD_WELCOME), page), nullptr);
        EXPECT_TRUE(page.IsAttached());
    }
    EXPECT_FALSE(logic.IsAttached());
    EXPECT_FALSE(page.IsAttached());
    EXPECT_FALSE(logic.Dialog().HasItem(kButton));
}

REGISTER_TYPED_TEST_SUITE_P(
    DialogContract, InitialisesTheLogicOnceWithEveryControlInPlace,
    AMissingIdDoesNothingAndReadsAsEmpty, EveryControlIsEnabledAndShownAsTheProgramSays,
    StaticsAndButtonsKeepTheirTextsAsGiven, AButtonsClickIsHeardWhileItIsEnabled,
    AnEditNotifiesEachChangeButNotTheSameTextAgain, WhatTheUserPastesIsCutToTheLimitAndFiltered,
    TheTextFilterRunsOnWhatTheUserTypes, ListsAndCombosHoldEntriesAndOnlyTheUsersChoiceIsHeard,
    ListCallsOnAnyOtherControlAnswerAsAnEmptyListAndChangeNothing,
    ATrackbarMovesSilentlyFromTheProgramAndTellsTheUsersSteps,
    AProgressBarKeepsItsPositionInsideTheFullScale,
    FocusGoesToTheControlOrOnToTheNextTabStopThatCanTakeIt,
    FocusInAnotherDialogIsNoneOfThisOnesControls,
    ABrowseEditsButtonRunsItsHandlerAndTheEditTellsItsChanges,
    ThePlacesAndSizesTheProgramSetsReadBack, ALabelPreviewMeasuresTheLabelTextsInItsFont,
    ARichTextViewStreamsInPiecesAndReportsTheCallbacksError,
    TheCloseCommandGoesToTheLogicWhichEndsTheRun, AChildPageIsMadeHiddenAndReportsToItsOwnLogic,
    DestroyingTheDialogDetachesEveryLogic);

} // namespace brimwell::test
