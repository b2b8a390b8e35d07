// The tester-type and test-label pages inside the main window, with every platform service
// replaced by a double: what the user sees, what the profile gets and what the printer gets.
#include "support/FakePlatform.h"
#include "tester/CCfgTesterTypeDlg.h"
#include "tester/CGenTstLblDlg.h"
#include "tester/LabelFormatter.h"
#include "tester/TesterCatalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace brimwell::test {
namespace {

constexpr const char* kPath = "/dev/usb/lp0";
constexpr const char* kProfileKey = "Settings/TesterType";

// A window with only the two tester pages: the other subsystems' pages play no part here.
const PageTable kTable = {
    {"Configure Tester Type", IDD_CFG_TESTER_TYPE, 0, &NewPage<CCfgTesterTypeDlg>},
    {"Generate Test Label", IDD_GEN_TEST_LABEL, 0, &NewPage<CGenTstLblDlg>},
};

class TesterPages : public ::testing::Test, protected FakePlatform {
protected:
    TesterPages() {
        clock.time = LocalDateTime{2025, 3, 7, 14, 5, 9};
        AddPrinter(kPath);
    }

    // Opens the window as the user would find it with this profile value.
    void Open(std::optional<int> stored = std::nullopt) {
        if (stored) {
            profile.values[kProfileKey] = *stored;
        }
        window.reset(); // one window at a time, as in the application
        window = std::make_unique<FakeWindow>(kTable);
        cfg = dynamic_cast<CCfgTesterTypeDlg*>(window->dlg.MakePage(0));
        label = dynamic_cast<CGenTstLblDlg*>(window->dlg.MakePage(1));
        ASSERT_NE(cfg, nullptr);
        ASSERT_NE(label, nullptr);
    }

    fake::FakeDialog& Host(CFuncDlg* page) { return *window->host.Child(*page); }
    const fake::FakeDialog::Item& List(CFuncDlg* page) { return Host(page).At(IDC_TESTER_LIST); }
    fake::FakeDialog& Cfg() { return Host(cfg); }
    bool UserNameShown() {
        return Cfg().IsItemShown(IDC_USER_NAME) && Cfg().IsItemShown(IDC_USER_NAME_CAPTION);
    }
    bool UserNameHidden() {
        return !Cfg().IsItemShown(IDC_USER_NAME) && !Cfg().IsItemShown(IDC_USER_NAME_CAPTION);
    }

    // What the user does: picks an entry of the drop-down list.
    void Choose(CFuncDlg* page, int index) {
        ASSERT_TRUE(Host(page).Choose(IDC_TESTER_LIST, index));
    }
    void Click(CFuncDlg* page, int id) { ASSERT_TRUE(Host(page).Click(id)); }

    const std::vector<std::string>& Written() { return opener.devices[kPath].writes; }

    std::unique_ptr<FakeWindow> window;
    CCfgTesterTypeDlg* cfg = nullptr;
    CGenTstLblDlg* label = nullptr;
};

TEST_F(TesterPages, BothListsShowTheCatalogueInOrder) {
    Open();
    for (CFuncDlg* page : {static_cast<CFuncDlg*>(cfg), static_cast<CFuncDlg*>(label)}) {
        const auto& list = List(page);
        ASSERT_EQ(list.strings.size(), static_cast<std::size_t>(kTesterCount));
        for (int i = 0; i < kTesterCount; ++i) {
            EXPECT_EQ(list.strings[static_cast<std::size_t>(i)], TesterDisplayName(i));
        }
    }
}

TEST_F(TesterPages, StoredCodeSelectsTheSameEntryOnBothPagesWithoutWriting) {
    struct Case {
        std::optional<int> stored;
        int index;
        const char* shown;
    };
    const Case cases[] = {
        {std::nullopt, 0, "Corvane (UK)"},
        {1007, 7, "Vesperine"},
        {1004, 4, "Pellix Luminaire (TLA)"},
        {1000, 0, "Corvane (UK)"},
        {999, 0, "Corvane (UK)"},
        {7, 0, "Corvane (UK)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        profile.values.clear();
        Open(c.stored);
        for (CFuncDlg* page : {static_cast<CFuncDlg*>(cfg), static_cast<CFuncDlg*>(label)}) {
            EXPECT_EQ(page->TesterIndex(), c.index);
            EXPECT_EQ(List(page).curSel, c.index);
            EXPECT_EQ(Host(page).GetString(IDC_TESTER_LIST, c.index), c.shown);
        }
        EXPECT_EQ(cfg->m_bUserNameApplies, c.index == 4);
        EXPECT_EQ(UserNameShown(), c.index == 4);
        EXPECT_TRUE(profile.writes.empty());
    }
}

TEST_F(TesterPages, ChoosingOnEitherPageWritesOnceAndEveryPageFollows) {
    for (int source : {0, 1}) {
        for (int index : {4, 9, 0, 7, 4, 2}) {
            SCOPED_TRACE(::testing::Message() << "page " << source << " index " << index);
            profile.writes.clear();
            if (!window) {
                Open();
            }
            CFuncDlg* chooser = window->dlg.MakePage(source);
            CFuncDlg* other = window->dlg.MakePage(1 - source);
            Choose(chooser, index);
            ASSERT_EQ(profile.writes.size(), 1u);
            EXPECT_EQ(profile.writes[0].first, kProfileKey);
            EXPECT_EQ(profile.writes[0].second, 1000 + index);
            EXPECT_EQ(chooser->TesterIndex(), index);
            EXPECT_EQ(other->TesterIndex(), index);
            EXPECT_EQ(List(other).curSel, index);
            EXPECT_EQ(cfg->m_bUserNameApplies, index == 4);
            EXPECT_EQ(UserNameShown(), index == 4);
            EXPECT_EQ(UserNameHidden(), index != 4);
        }
    }
}

TEST_F(TesterPages, SelectingFromCodeIsNoChoiceOfTheUser) {
    Open(1003);
    Host(cfg).SetCurSel(IDC_TESTER_LIST, 8);
    Host(label).SetCurSel(IDC_TESTER_LIST, 5);
    EXPECT_TRUE(profile.writes.empty());
    EXPECT_EQ(cfg->TesterIndex(), 3);
    EXPECT_EQ(label->TesterIndex(), 3);
}

TEST_F(TesterPages, UserNameBoxStartsEmptyAndTakesAtMost24Characters) {
    Open(1004);
    EXPECT_EQ(Cfg().ItemText(IDC_USER_NAME), "");
    EXPECT_EQ(Cfg().At(IDC_USER_NAME).limit, 24);
    ASSERT_TRUE(Cfg().Type(IDC_USER_NAME, std::string(30, 'x')));
    EXPECT_EQ(Cfg().ItemText(IDC_USER_NAME), std::string(24, 'x'));

    // A pasted line break never reaches MODE.MOD: the paste keeps its first line.
    ASSERT_TRUE(Cfg().Retype(IDC_USER_NAME, "A\tB\x7F\r\nCD"));
    EXPECT_EQ(Cfg().ItemText(IDC_USER_NAME), "AB");
    Click(cfg, IDC_SEND_CONFIGURATION);
    ASSERT_EQ(Written().size(), 1u);
    EXPECT_EQ(Written()[0], "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",7,8\r\nAB\r\nMOVE\r\n");
}

TEST_F(TesterPages, SendsTheConfigurationOfTheSelectedType) {
    struct Case {
        int index;
        std::string typed;
        std::string job;
    };
    const std::string prefix = "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",";
    const Case cases[] = {
        {4, "LAB 3", prefix + "10,8\r\nLAB 3\r\nMOVE\r\n"},
        {9, "", prefix + "5,A\r\n\r\nMOVE\r\n"},
        // Text left in the hidden box is not sent.
        {9, "LAB 3", prefix + "5,A\r\n\r\nMOVE\r\n"},
        {7, "Someone", prefix + "5,1\r\n\r\nMOVE\r\n"},
        {4, "", prefix + "5,8\r\n\r\nMOVE\r\n"},
        // Converted to the printer's 8-bit text; the length counts bytes.
        {4, "Zo\xC3\xAB", prefix + "8,8\r\nZo\xEB\r\nMOVE\r\n"},
        {4, "\xCE\xA9mega", prefix + "10,8\r\n?mega\r\nMOVE\r\n"},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.job);
        Choose(label, c.index); // the type may be chosen on either page
        // The box keeps its text while hidden; put text into it whatever the type.
        Cfg().SetItemText(IDC_USER_NAME, c.typed);
        opener.devices[kPath].writes.clear();
        box.shown.clear();
        Click(cfg, IDC_SEND_CONFIGURATION);
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, kConfirmPowerCycle);
        EXPECT_EQ(box.shown[0].buttons, MsgButtons::OkCancel);
        ASSERT_EQ(Written().size(), 1u);
        EXPECT_EQ(Written()[0], c.job);
    }
    EXPECT_EQ(cursor.depth, 0);
    EXPECT_EQ(profile.writes.size(), 7u); // one per choice, none from sending
}

TEST_F(TesterPages, CancelOpensNoDevice) {
    Open(1004);
    ASSERT_TRUE(Cfg().Type(IDC_USER_NAME, "LAB 3"));
    box.answers = {MsgResult::Cancel};
    Click(cfg, IDC_SEND_CONFIGURATION);
    EXPECT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(opener.openedPaths.empty());
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(cursor.begins, 0);
}

TEST_F(TesterPages, PassAndFailSendTheLabelWithoutAQuestion) {
    Open();
    for (int index = 0; index < kTesterCount; ++index) {
        Choose(cfg, index);
        for (TestResult result : {TestResult::Pass, TestResult::Fail}) {
            SCOPED_TRACE(::testing::Message()
                         << index << (result == TestResult::Pass ? " pass" : " fail"));
            opener.devices[kPath].writes.clear();
            // A different time for every press: the label must carry the time of its press.
            clock.time.minute = static_cast<unsigned>(index * 2 + (result == TestResult::Fail));
            const int readsBefore = clock.reads;
            Click(label, result == TestResult::Pass ? IDC_PASS_LABEL : IDC_FAIL_LABEL);
            EXPECT_EQ(clock.reads, readsBefore + 1);
            ASSERT_EQ(Written().size(), 1u);
            EXPECT_EQ(Written()[0], BuildTestLabel(result, TesterNameId(index), clock.time));
        }
    }
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(cursor.depth, 0);
}

TEST_F(TesterPages, LabelFollowsTheTypeChosenOnTheOtherPage) {
    Open(1009);
    Choose(cfg, 5);
    Click(label, IDC_FAIL_LABEL);
    ASSERT_EQ(Written().size(), 1u);
    EXPECT_EQ(Written()[0].substr(0, 18), "DATE  07/03/2025\r\n");
    EXPECT_NE(Written()[0].find("        TEST                     FAIL\r\n"), std::string::npos);
}

TEST_F(TesterPages, SendButtonsFollowPrinterAvailability) {
    for (bool available : {false, true}) {
        SCOPED_TRACE(available);
        enumerator.devices.clear();
        if (available) {
            enumerator.devices = {fake::FakeEnumerator::Usb(kPath, 0x1203, 0x0126)};
        }
        Open();
        const auto enabled = [this] {
            return std::vector<bool>{Cfg().IsItemEnabled(IDC_SEND_CONFIGURATION),
                                     Host(label).IsItemEnabled(IDC_PASS_LABEL),
                                     Host(label).IsItemEnabled(IDC_FAIL_LABEL)};
        };
        EXPECT_EQ(enabled(), std::vector<bool>(3, available));
        // A printer plugged in or removed later reaches both pages.
        enumerator.devices.clear();
        monitor.Unplug();
        EXPECT_EQ(enabled(), std::vector<bool>(3, false));
        enumerator.devices = {fake::FakeEnumerator::Usb(kPath, 0x1203, 0x0126)};
        monitor.Plug();
        EXPECT_EQ(enabled(), std::vector<bool>(3, true));
    }
}

TEST_F(TesterPages, FactoryMakesBothPagesWithTheUserNameAssumedUntilInitialised) {
    profile.values[kProfileKey] = 1002;
    fake::FakeDialog parent(*FindDialogTemplate(IDD_BRIMWELL_DIALOG));
    const PageRow cfgRow = RowOf(IDD_CFG_TESTER_TYPE);
    std::unique_ptr<CFuncDlg> page(cfgRow.make(cfgRow, nullptr));
    auto* tester = dynamic_cast<CCfgTesterTypeDlg*>(page.get());
    ASSERT_NE(tester, nullptr);
    EXPECT_TRUE(tester->m_bUserNameApplies);
    ASSERT_TRUE(tester->Create(parent));
    EXPECT_FALSE(tester->m_bUserNameApplies);
    const PageRow labelRow = RowOf(IDD_GEN_TEST_LABEL);
    std::unique_ptr<CFuncDlg> other(labelRow.make(labelRow, nullptr));
    ASSERT_NE(dynamic_cast<CGenTstLblDlg*>(other.get()), nullptr);
    EXPECT_TRUE(profile.writes.empty());
}

// A page whose template lacks a control keeps working with the controls it has.
TEST_F(TesterPages, PagesWithoutSomeControlsStillWork) {
    profile.values[kProfileKey] = 1004;
    const DialogTemplate* cfgTemplate = FindDialogTemplate(IDD_CFG_TESTER_TYPE);
    const DialogTemplate* labelTemplate = FindDialogTemplate(IDD_GEN_TEST_LABEL);
    fake::FakeDialog parent(*FindDialogTemplate(IDD_BRIMWELL_DIALOG));
    for (int missing : {IDC_TESTER_LIST, IDC_USER_NAME, IDC_USER_NAME_CAPTION}) {
        CCfgTesterTypeDlg page(nullptr);
        const DialogTemplate damaged = cfgTemplate->Without(missing);
        ASSERT_TRUE(page.Create(parent, &damaged));
        page.OnTesterTypeChange(nullptr, 9);
        page.OnPrinterAvailability(true);
        EXPECT_FALSE(page.m_bUserNameApplies);
    }
    CGenTstLblDlg page(nullptr);
    const DialogTemplate damaged = labelTemplate->Without(IDC_TESTER_LIST);
    ASSERT_TRUE(page.Create(parent, &damaged));
    page.OnTesterTypeChange(nullptr, 2);
    EXPECT_EQ(page.TesterIndex(), 2);
    EXPECT_TRUE(profile.writes.empty());
}

} // namespace
} // namespace brimwell::test
