#include "app/CBrimwellDlg.h"
#include "maintenance/CSetDateTimeDlg.h"
#include "maintenance/CSetDensityDlg.h"
#include "platform/Services.h"
#include "platform/fake/Fakes.h"
#include "support/FakePlatform.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace brimwell::test {
namespace {

using fake::FakeEnumerator;

constexpr const char* kPath = "/dev/usb/lp0";
constexpr int kDensityRow = 0;
constexpr int kClockRow = 2;

// The delivered table has no clock row; this one offers it, after a row with no page.
const FuncTableEntry kTable[MAX_FUNC_PAGES] = {
    {"Configure Print Density", IDD_SET_DENSITY, 0},
    {"Not A Page", 999, 0},
    {"Set Printer Clock", IDD_SET_DATE_TIME, 0},
};
const FuncTableEntry kEmptyTable[MAX_FUNC_PAGES] = {};

class MaintenancePages : public ::testing::Test, protected FakePlatform {
protected:
    MaintenancePages() {
        clock.time = LocalDateTime{2024, 3, 5, 9, 7, 3};
        AddPrinter(kPath);
    }

    CBrimwellDlg& Window(const FuncTableEntry* table = kTable) {
        window = std::make_unique<CBrimwellDlg>(table);
        return *window;
    }
    CSetDensityDlg* DensityPage() { return qobject_cast<CSetDensityDlg*>(window->m_apPages[0]); }
    CSetDateTimeDlg* ClockPage() {
        return qobject_cast<CSetDateTimeDlg*>(window->m_apPages[kClockRow]);
    }
    QSlider* Slider() { return DensityPage()->GetItem<QSlider>(IDC_DENSITY_SLIDER); }
    QString Label() { return DensityPage()->GetItem<QLabel>(IDC_DENSITY_VALUE)->text(); }
    QPushButton* Button(CFuncDlg* page, int id) { return page->GetItem<QPushButton>(id); }
    QPushButton* DensityButton() { return Button(DensityPage(), IDC_SEND_DENSITY); }
    QPushButton* ClockButton() { return Button(ClockPage(), IDC_SEND_DATE_TIME); }
    std::vector<std::string>& Writes() { return opener.devices[kPath].writes; }

    std::unique_ptr<CBrimwellDlg> window;
};

TEST_F(MaintenancePages, FreshDensityPageShowsEightAndSendsEight) {
    Window();
    ASSERT_NE(DensityPage(), nullptr);
    EXPECT_EQ(Slider()->minimum(), 1);
    EXPECT_EQ(Slider()->maximum(), 15);
    EXPECT_EQ(Slider()->value(), 8);
    EXPECT_EQ(Slider()->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(Label(), "8");

    const std::uint32_t start = ticks.now;
    DensityButton()->click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPlain);
    EXPECT_EQ(box.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(Writes(), std::vector<std::string>{"RKW7047\r\n8\r\n"});
    EXPECT_GE(ticks.now - start, 500u); // the printer gets its settling time
    EXPECT_EQ(cursor.depth, 0);
}

TEST_F(MaintenancePages, KeyboardStepsOnTheSliderMoveTheLabelAndTheSentValue) {
    Window().show();
    Slider()->setFocus();
    const struct {
        Qt::Key key;
        int value;
    } cases[] = {
        {Qt::Key_Right, 9},   {Qt::Key_Left, 7},     {Qt::Key_Up, 9},   {Qt::Key_Down, 7},
        {Qt::Key_PageUp, 10}, {Qt::Key_PageDown, 6}, {Qt::Key_Home, 1}, {Qt::Key_End, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Slider()->setValue(8);
        Writes().clear();
        QTest::keyClick(Slider(), c.key);
        EXPECT_EQ(Slider()->value(), c.value);
        EXPECT_EQ(Label(), QString::number(c.value));
        DensityButton()->click();
        EXPECT_EQ(Writes(),
                  std::vector<std::string>{"RKW7047\r\n" + std::to_string(c.value) + "\r\n"});
    }
    // Steps stop at the ends of the scale.
    QTest::keyClick(Slider(), Qt::Key_Right);
    EXPECT_EQ(Label(), "15");
    QTest::keyClick(Slider(), Qt::Key_Home);
    QTest::keyClick(Slider(), Qt::Key_Left);
    EXPECT_EQ(Label(), "1");
}

TEST_F(MaintenancePages, LabelFollowsTheThumbWhileItIsDragged) {
    Window().show();
    for (bool tracking : {true, false}) {
        SCOPED_TRACE(tracking);
        Slider()->setValue(8);
        Slider()->setTracking(tracking);
        Slider()->setSliderDown(true);
        Slider()->setSliderPosition(1);
        EXPECT_EQ(Label(), "1");
        Slider()->setSliderPosition(15);
        EXPECT_EQ(Label(), "15");
        Slider()->setSliderDown(false);
        EXPECT_EQ(Slider()->value(), 15);
    }
}

TEST_F(MaintenancePages, MouseDragToTheEndsShowsAndSendsTheEnds) {
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->FunctionList()->setCurrentRow(kDensityRow);
    QSlider* slider = Slider();
    const struct {
        int x;
        const char* label;
        const char* job;
    } cases[] = {
        {0, "1", "RKW7047\r\n1\r\n"},
        {slider->width() - 1, "15", "RKW7047\r\n15\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        slider->setValue(8); // the thumb in the middle
        Writes().clear();
        const QPoint middle = slider->rect().center();
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, middle);
        QTest::mouseMove(slider, QPoint(c.x, middle.y()));
        EXPECT_EQ(Label(), c.label);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(c.x, middle.y()));
        EXPECT_EQ(Label(), c.label);
        DensityButton()->click();
        EXPECT_EQ(Writes(), std::vector<std::string>{c.job});
    }
}

TEST_F(MaintenancePages, DensityPageWithoutItsSliderSendsEight) {
    Window(kEmptyTable);
    CSetDensityDlg page(window.get());
    const DialogTemplate damaged = FindDialogTemplate(IDD_SET_DENSITY)->Without(IDC_DENSITY_SLIDER);
    ASSERT_TRUE(page.Create(&damaged));
    EXPECT_EQ(page.GetItem<QSlider>(IDC_DENSITY_SLIDER), nullptr);
    EXPECT_EQ(page.GetItem<QLabel>(IDC_DENSITY_VALUE)->text(), "8");
    page.OnPrinterAvailability(true);
    page.GetItem<QPushButton>(IDC_SEND_DENSITY)->click();
    EXPECT_EQ(Writes(), std::vector<std::string>{"RKW7047\r\n8\r\n"});
}

TEST_F(MaintenancePages, ClockRowInTheTableShowsTheClockPageAtItsPosition) {
    Window();
    EXPECT_EQ(window->FunctionList()->count(), 3);
    ASSERT_NE(ClockPage(), nullptr);
    EXPECT_EQ(ClockPage()->DialogId(), IDD_SET_DATE_TIME);
    EXPECT_EQ(window->m_apPages[1], nullptr);
    EXPECT_FALSE(DensityPage()->isHidden());
    EXPECT_TRUE(ClockPage()->isHidden());

    window->FunctionList()->setCurrentRow(kClockRow);
    EXPECT_FALSE(ClockPage()->isHidden());
    EXPECT_TRUE(DensityPage()->isHidden());
    EXPECT_EQ(ClockPage()->pos(), QPoint(kPageLeft, 0));

    window->FunctionList()->setCurrentRow(1); // a row without a page shows none
    EXPECT_TRUE(ClockPage()->isHidden());
    EXPECT_TRUE(DensityPage()->isHidden());
}

TEST_F(MaintenancePages, DensityValueStandsCentredUnderTheSliderAboveTheButton) {
    Window();
    EXPECT_EQ(DensityPage()->pos(), QPoint(kPageLeft, 0));
    EXPECT_TRUE(DensityPage()->autoFillBackground()); // covers the separator behind it

    const QRect slider = Slider()->geometry();
    const QRect value = DensityPage()->GetItem<QLabel>(IDC_DENSITY_VALUE)->geometry();
    const QRect send = DensityButton()->geometry();
    EXPECT_GE(value.top(), slider.bottom());
    EXPECT_LE(std::abs(value.center().x() - slider.center().x()), 1);
    EXPECT_GT(send.top(), value.bottom());
}

TEST_F(MaintenancePages, ClockIsReadAfterTheConfirmationAndSent) {
    Window();
    clock.time = LocalDateTime{2023, 12, 31, 23, 59, 58};
    box.onShow = [this] {
        EXPECT_EQ(clock.reads, 0);
        clock.time = LocalDateTime{2024, 3, 5, 9, 7, 3}; // the user took a while
    };
    ClockButton()->click();
    EXPECT_EQ(clock.reads, 1);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPlain);
    EXPECT_EQ(Writes(), std::vector<std::string>{"\r\nRKW7046\r\n05/03/24 09:07:03\r\n"});
    EXPECT_EQ(cursor.depth, 0);
}

TEST_F(MaintenancePages, CancelSendsNothingAndLeavesTheButtonsAsTheyWere) {
    Window();
    for (int row : {kDensityRow, kClockRow}) {
        SCOPED_TRACE(row);
        box.answers = {MsgResult::Cancel};
        box.shown.clear();
        QPushButton* button = row == kDensityRow ? DensityButton() : ClockButton();
        ASSERT_TRUE(button->isEnabled());
        button->click();
        EXPECT_EQ(box.shown.size(), 1u);
        EXPECT_TRUE(button->isEnabled());
        EXPECT_TRUE(DensityButton()->isEnabled());
        EXPECT_TRUE(ClockButton()->isEnabled());
    }
    EXPECT_TRUE(opener.openedPaths.empty());
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(clock.reads, 0);
    EXPECT_EQ(cursor.begins, 0);
    EXPECT_TRUE(ticks.sleeps.empty()); // no hold without a job
}

TEST_F(MaintenancePages, SendButtonsFollowPrinterAvailability) {
    enumerator.devices.clear();
    Window();
    EXPECT_FALSE(DensityButton()->isEnabled());
    EXPECT_FALSE(ClockButton()->isEnabled());
    EXPECT_FALSE(DensityPage()->PrinterAvailable());

    enumerator.devices.push_back(FakeEnumerator::Usb(kPath, 0x1203, 0x0126));
    monitor.Plug();
    EXPECT_TRUE(DensityButton()->isEnabled());
    EXPECT_TRUE(ClockButton()->isEnabled());
    EXPECT_TRUE(ClockPage()->PrinterAvailable());

    enumerator.devices.clear();
    monitor.Unplug();
    EXPECT_FALSE(DensityButton()->isEnabled());
    EXPECT_FALSE(ClockButton()->isEnabled());
}

TEST_F(MaintenancePages, FailuresShowOnlyThePageBaseMessage) {
    const struct {
        const char* name;
        bool opens;
        bool writeFails;
        const char* message;
    } failures[] = {
        {"open", false, false, "Error : can't open 'Brimwell printer'"},
        {"write", true, true, "Error : write failure for 'Brimwell printer'"},
    };
    Window();
    for (const auto& f : failures) {
        for (int row : {kDensityRow, kClockRow}) {
            SCOPED_TRACE(std::string(f.name) + " row " + std::to_string(row));
            opener.devices[kPath].opens = f.opens;
            opener.devices[kPath].writeFails = f.writeFails;
            box.shown.clear();
            ticks.sleeps.clear();
            clock.reads = 0;
            (row == kDensityRow ? DensityButton() : ClockButton())->click();
            ASSERT_EQ(box.shown.size(), 2u);
            EXPECT_EQ(box.shown[1].text, f.message);
            EXPECT_TRUE(ticks.sleeps.empty()); // a failed job is closed without the hold
            EXPECT_EQ(cursor.depth, 0);
            if (row == kClockRow) {
                // The time is read only once the device is open.
                EXPECT_EQ(clock.reads, f.opens ? 1 : 0);
            }
        }
    }
    EXPECT_TRUE(Writes().empty());
}

} // namespace
} // namespace brimwell::test
