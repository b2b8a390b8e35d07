// The tester-type and test-label pages inside the main window, with every platform service
// replaced by a double: what the user sees, what the profile gets and what the printer gets.
#include "app/CBrimwellDlg.h"
#include "app/PageFactory.h"
#include "platform/Services.h"
#include "platform/fake/Fakes.h"
#include "support/FakePlatform.h"
#include "tester/CCfgTesterTypeDlg.h"
#include "tester/CGenTstLblDlg.h"
#include "tester/LabelFormatter.h"
#include "tester/TesterCatalogue.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace brimwell::test {
namespace {

constexpr const char* kPath = "/dev/usb/lp0";
constexpr const char* kProfileKey = "Settings/TesterType";

// A window with only the two tester pages: the other subsystems' pages play no part here.
const FuncTableEntry kTable[MAX_FUNC_PAGES] = {
    {"Configure Tester Type", IDD_CFG_TESTER_TYPE, 0},
    {"Generate Test Label", IDD_GEN_TEST_LABEL, 0},
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
        window = std::make_unique<CBrimwellDlg>(kTable);
        cfg = qobject_cast<CCfgTesterTypeDlg*>(window->m_apPages[0]);
        label = qobject_cast<CGenTstLblDlg*>(window->m_apPages[1]);
        ASSERT_NE(cfg, nullptr);
        ASSERT_NE(label, nullptr);
    }

    static QComboBox* List(CFuncDlg* page) { return page->GetItem<QComboBox>(IDC_TESTER_LIST); }
    QLineEdit* UserName() const { return cfg->GetItem<QLineEdit>(IDC_USER_NAME); }
    bool UserNameShown() const {
        return !cfg->GetDlgItem(IDC_USER_NAME)->isHidden() &&
               !cfg->GetDlgItem(IDC_USER_NAME_CAPTION)->isHidden();
    }
    bool UserNameHidden() const {
        return cfg->GetDlgItem(IDC_USER_NAME)->isHidden() &&
               cfg->GetDlgItem(IDC_USER_NAME_CAPTION)->isHidden();
    }

    // What the user does: picks an entry of the drop-down list.
    static void Choose(CFuncDlg* page, int index) {
        QComboBox* list = List(page);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    static void Click(CFuncDlg* page, int id) { page->GetItem<QPushButton>(id)->click(); }

    const std::vector<std::string>& Written() { return opener.devices[kPath].writes; }

    std::unique_ptr<CBrimwellDlg> window;
    CCfgTesterTypeDlg* cfg = nullptr;
    CGenTstLblDlg* label = nullptr;
};

TEST_F(TesterPages, BothListsShowTheCatalogueInOrder) {
    Open();
    for (CFuncDlg* page : {static_cast<CFuncDlg*>(cfg), static_cast<CFuncDlg*>(label)}) {
        QComboBox* list = List(page);
        ASSERT_EQ(list->count(), kTesterCount);
        for (int i = 0; i < kTesterCount; ++i) {
            EXPECT_EQ(list->itemText(i).toStdString(), TesterDisplayName(i));
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
            EXPECT_EQ(List(page)->currentIndex(), c.index);
            EXPECT_EQ(List(page)->currentText().toStdString(), c.shown);
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
            CFuncDlg* chooser = window->m_apPages[source];
            CFuncDlg* other = window->m_apPages[1 - source];
            Choose(chooser, index);
            ASSERT_EQ(profile.writes.size(), 1u);
            EXPECT_EQ(profile.writes[0].first, kProfileKey);
            EXPECT_EQ(profile.writes[0].second, 1000 + index);
            EXPECT_EQ(chooser->TesterIndex(), index);
            EXPECT_EQ(other->TesterIndex(), index);
            EXPECT_EQ(List(other)->currentIndex(), index);
            EXPECT_EQ(cfg->m_bUserNameApplies, index == 4);
            EXPECT_EQ(UserNameShown(), index == 4);
            EXPECT_EQ(UserNameHidden(), index != 4);
        }
    }
}

TEST_F(TesterPages, SelectingFromCodeIsNoChoiceOfTheUser) {
    Open(1003);
    List(cfg)->setCurrentIndex(8);
    List(label)->setCurrentIndex(5);
    EXPECT_TRUE(profile.writes.empty());
    EXPECT_EQ(cfg->TesterIndex(), 3);
    EXPECT_EQ(label->TesterIndex(), 3);
}

TEST_F(TesterPages, UserNameBoxStartsEmptyAndTakesAtMost24Characters) {
    Open(1004);
    QLineEdit* edit = UserName();
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(edit->maxLength(), 24);
    edit->insert(QString(30, QLatin1Char('x')));
    EXPECT_EQ(edit->text().size(), 24);

    // A pasted line break never reaches MODE.MOD: the paste keeps its first line.
    edit->clear();
    edit->insert(QStringLiteral("A\tB\x7F\r\nCD"));
    EXPECT_EQ(edit->text(), QStringLiteral("AB"));
    Click(cfg, IDC_SEND_CONFIGURATION);
    ASSERT_EQ(Written().size(), 1u);
    EXPECT_EQ(Written()[0], "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",7,8\r\nAB\r\nMOVE\r\n");
}

TEST_F(TesterPages, SendsTheConfigurationOfTheSelectedType) {
    struct Case {
        int index;
        QString typed;
        std::string job;
    };
    const std::string prefix = "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",";
    const Case cases[] = {
        {4, QStringLiteral("LAB 3"), prefix + "10,8\r\nLAB 3\r\nMOVE\r\n"},
        {9, QString(), prefix + "5,A\r\n\r\nMOVE\r\n"},
        // Text left in the hidden box is not sent.
        {9, QStringLiteral("LAB 3"), prefix + "5,A\r\n\r\nMOVE\r\n"},
        {7, QStringLiteral("Someone"), prefix + "5,1\r\n\r\nMOVE\r\n"},
        {4, QString(), prefix + "5,8\r\n\r\nMOVE\r\n"},
        // Converted to the printer's 8-bit text; the length counts bytes.
        {4, QString::fromUtf8("Zo\xC3\xAB"), prefix + "8,8\r\nZo\xEB\r\nMOVE\r\n"},
        {4, QString::fromUtf8("\xCE\xA9mega"), prefix + "10,8\r\n?mega\r\nMOVE\r\n"},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.job);
        Choose(label, c.index); // the type may be chosen on either page
        // The box keeps its text while hidden; type into it whatever the type.
        UserName()->setText(c.typed);
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
    UserName()->setText(QStringLiteral("LAB 3"));
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
        for (auto [page, id] : {std::pair<CFuncDlg*, int>{cfg, IDC_SEND_CONFIGURATION},
                                {label, IDC_PASS_LABEL},
                                {label, IDC_FAIL_LABEL}}) {
            EXPECT_EQ(page->GetDlgItem(id)->isEnabled(), available) << id;
        }
        // A printer plugged in or removed later reaches both pages.
        enumerator.devices.clear();
        monitor.Unplug();
        EXPECT_FALSE(cfg->GetDlgItem(IDC_SEND_CONFIGURATION)->isEnabled());
        EXPECT_FALSE(label->GetDlgItem(IDC_PASS_LABEL)->isEnabled());
        enumerator.devices = {fake::FakeEnumerator::Usb(kPath, 0x1203, 0x0126)};
        monitor.Plug();
        EXPECT_TRUE(cfg->GetDlgItem(IDC_SEND_CONFIGURATION)->isEnabled());
        EXPECT_TRUE(label->GetDlgItem(IDC_FAIL_LABEL)->isEnabled());
    }
}

TEST_F(TesterPages, FactoryMakesBothPagesWithTheUserNameAssumedUntilInitialised) {
    profile.values[kProfileKey] = 1002;
    std::unique_ptr<CFuncDlg> page(CreatePage(IDD_CFG_TESTER_TYPE, 0, nullptr));
    auto* tester = qobject_cast<CCfgTesterTypeDlg*>(page.get());
    ASSERT_NE(tester, nullptr);
    EXPECT_TRUE(tester->m_bUserNameApplies);
    ASSERT_TRUE(tester->Create());
    EXPECT_FALSE(tester->m_bUserNameApplies);
    std::unique_ptr<CFuncDlg> other(CreatePage(IDD_GEN_TEST_LABEL, 0, nullptr));
    ASSERT_NE(qobject_cast<CGenTstLblDlg*>(other.get()), nullptr);
    EXPECT_TRUE(profile.writes.empty());
}

// A page whose template lacks a control keeps working with the controls it has.
TEST_F(TesterPages, PagesWithoutSomeControlsStillWork) {
    profile.values[kProfileKey] = 1004;
    const DialogTemplate* cfgTemplate = FindDialogTemplate(IDD_CFG_TESTER_TYPE);
    const DialogTemplate* labelTemplate = FindDialogTemplate(IDD_GEN_TEST_LABEL);
    for (int missing : {IDC_TESTER_LIST, IDC_USER_NAME, IDC_USER_NAME_CAPTION}) {
        CCfgTesterTypeDlg page(nullptr);
        const DialogTemplate damaged = cfgTemplate->Without(missing);
        ASSERT_TRUE(page.Create(&damaged));
        page.OnTesterTypeChange(nullptr, 9);
        page.OnPrinterAvailability(true);
        EXPECT_FALSE(page.m_bUserNameApplies);
    }
    CGenTstLblDlg page(nullptr);
    const DialogTemplate damaged = labelTemplate->Without(IDC_TESTER_LIST);
    ASSERT_TRUE(page.Create(&damaged));
    page.OnTesterTypeChange(nullptr, 2);
    EXPECT_EQ(page.TesterIndex(), 2);
    EXPECT_TRUE(profile.writes.empty());
}

} // namespace
} // namespace brimwell::test
