#include "resources/AppIcon.h"
#include "support/FakePlatform.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace brimwell::test {

namespace {

// A page built from any template, as wide as that template says.
class PlainPage : public CFuncDlg {
public:
    PlainPage(int id, int arg, QWidget* parent, const DialogTemplate* tmpl = nullptr)
        : CFuncDlg(id, parent), pageArg(arg) {
        m_pTemplateOverride = tmpl ? tmpl : FindDialogTemplate(IDD_SET_DATE_TIME);
    }
    int pageArg;
};

CBrimwellDlg::PageFactory PlainPages(const DialogTemplate* tmpl = nullptr) {
    return [tmpl](int id, int arg, CBrimwellDlg* parent) -> CFuncDlg* {
        return id == 999 ? nullptr : new PlainPage(id, arg, parent, tmpl);
    };
}

std::vector<int> VisibleSlots(const CBrimwellDlg& w) {
    std::vector<int> visible;
    for (int i = 0; i < MAX_FUNC_PAGES; ++i) {
        if (w.m_apPages[i] && w.m_apPages[i]->isVisibleTo(&w)) {
            visible.push_back(i);
        }
    }
    return visible;
}

} // namespace

TEST(MainWindow, ListsTheElevenFunctionsInTableOrderWithWelcomeSelected) {
    FakePlatform platform;
    CBrimwellDlg window(kFunctionTable, PlainPages());
    const QStringList expected = {"Welcome",
                                  "About Brimwell",
                                  "Help : Connecting a Printer",
                                  "Help : Updating Firmware",
                                  "Help : Creating Logos",
                                  "Update Printer Firmware",
                                  "Configure Tester Type",
                                  "Configure Print Density",
                                  "Configure Pass Logo",
                                  "Configure Fail Logo",
                                  "Generate Test Label"};
    QListWidget* list = window.FunctionList();
    ASSERT_NE(list, nullptr);
    QStringList titles;
    for (int i = 0; i < list->count(); ++i) {
        titles << list->item(i)->text();
    }
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(window.windowTitle(), "Brimwell");
    // The logo pages get their arguments: 0 for pass, 1 for fail.
    EXPECT_EQ(static_cast<PlainPage*>(window.m_apPages[8])->pageArg, 0);
    EXPECT_EQ(static_cast<PlainPage*>(window.m_apPages[9])->pageArg, 1);
    for (int i = 11; i < MAX_FUNC_PAGES; ++i) {
        EXPECT_EQ(window.m_apPages[i], nullptr);
    }
}

TEST(MainWindow, ShowsOnlyTheSelectedPageAndEveryPageStandsAt210) {
    FakePlatform platform;
    CBrimwellDlg window(kFunctionTable, PlainPages());
    window.show();
    EXPECT_EQ(VisibleSlots(window), std::vector<int>{0});
    for (int slot : {9, 8, 3, 0}) {
        window.FunctionList()->setCurrentRow(slot);
        EXPECT_EQ(VisibleSlots(window), std::vector<int>{slot});
    }
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(window.m_apPages[i]->pos(), QPoint(kPageLeft, 0));
        EXPECT_EQ(window.m_apPages[i]->parentWidget(), &window);
    }
}

TEST(MainWindow, ARowWithAnUnknownDialogIsListedWithoutAPage) {
    FakePlatform platform;
    const FuncTableEntry table[MAX_FUNC_PAGES] = {{"Known", 144, 0}, {"Mystery", 999, 0}};
    CBrimwellDlg window(table, PlainPages());
    window.show();
    ASSERT_EQ(window.FunctionList()->count(), 2);
    EXPECT_EQ(window.FunctionList()->item(1)->text(), "Mystery");
    EXPECT_EQ(window.m_apPages[1], nullptr);
    window.FunctionList()->setCurrentRow(1);
    EXPECT_TRUE(VisibleSlots(window).empty());
}

TEST(MainWindow, WidensOnlyWhenThePagesDoNotFitRightOf210) {
    FakePlatform platform;
    const FuncTableEntry table[MAX_FUNC_PAGES] = {{"Only", 144, 0}};
    CBrimwellDlg reference(table, PlainPages());
    const int templateWidth = reference.width();

    // A page that fits leaves the window alone.
    EXPECT_GE(templateWidth, kPageLeft + reference.m_apPages[0]->width());

    // A page wider than the room right of 210 pixels widens the window exactly.
    DialogTemplate wide = *FindDialogTemplate(IDD_SET_DATE_TIME);
    wide.cx = 800;
    CBrimwellDlg widened(table, PlainPages(&wide));
    const int pageWidth = widened.m_apPages[0]->width();
    ASSERT_GT(kPageLeft + pageWidth, templateWidth);
    EXPECT_EQ(widened.width(), kPageLeft + pageWidth);
    EXPECT_EQ(widened.height(), reference.height());
}

TEST(MainWindow, EnterAndEscapeDoNothingAndCloseEndsWithOk) {
    FakePlatform platform;
    CBrimwellDlg window(kFunctionTable, PlainPages());
    window.show();
    window.setResult(-1);
    for (auto key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&window, key);
        QTest::keyClick(window.FunctionList(), key);
        EXPECT_TRUE(window.isVisible());
    }
    EXPECT_EQ(window.result(), -1);
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST(MainWindow, RegistersForDeviceEventsAndUnregistersOnDestruction) {
    FakePlatform platform;
    auto window = std::make_unique<CBrimwellDlg>(kFunctionTable, PlainPages());
    EXPECT_TRUE(window->m_hDevNotify);
    EXPECT_EQ(window->PrinterCombo()->currentText(), "No printer found");
    platform.AddPrinter("/dev/usb/lp3");
    platform.monitor.Plug();
    EXPECT_EQ(window->PrinterCombo()->currentText(), "Brimwell printer");
    window.reset();
    const int calls = platform.enumerator.calls;
    platform.monitor.Plug(); // no window any more: nothing happens
    EXPECT_EQ(platform.enumerator.calls, calls);
}

TEST(AppIcon, IsRenderedAtTheFourSizes) {
    const QIcon icon = AppIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int s : kAppIconSizes) {
        EXPECT_TRUE(sizes.contains(QSize(s, s))) << s;
    }
}

} // namespace brimwell::test
