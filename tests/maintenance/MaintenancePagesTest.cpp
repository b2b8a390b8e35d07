// The density and clock pages in the main window's logic: what the user sees, what the
// printer gets, and what happens when it cannot be reached.
#include "maintenance/CSetDateTimeDlg.h"
#include "maintenance/CSetDensityDlg.h"
#include "support/FakePlatform.h"

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
const PageTable kTable = {
    {"Configure Print Density", IDD_SET_DENSITY, 0, &NewPage<CSetDensityDlg>},
    {"Not A Page", 999, 0, nullptr},
    {"Set Printer Clock", IDD_SET_DATE_TIME, 0, &NewPage<CSetDateTimeDlg>},
};

class MaintenancePages : public ::testing::Test, protected FakePlatform {
protected:
    MaintenancePages() {
        clock.time = LocalDateTime{2024, 3, 5, 9, 7, 3};
        AddPrinter(kPath);
    }

    FakeWindow& Window() {
        window = std::make_unique<FakeWindow>(kTable);
        return *window;
    }
    fake::FakeDialog& Density() { return window->Page(kDensityRow); }
    fake::FakeDialog& Clock() { return window->Page(kClockRow); }
    std::string Label() { return Density().ItemText(IDC_DENSITY_VALUE); }
    bool SendDensity() { return Density().Click(IDC_SEND_DENSITY); }
    bool SendClock() { return Clock().Click(IDC_SEND_DATE_TIME); }
    std::vector<std::string>& Writes() { return opener.devices[kPath].writes; }

    std::unique_ptr<FakeWindow> window;
};

TEST_F(MaintenancePages, FreshDensityPageShowsEightAndSendsEight) {
    Window();
    const auto& slider = Density().At(IDC_DENSITY_SLIDER);
    EXPECT_EQ(slider.trackMin, 1);
    EXPECT_EQ(slider.trackMax, 15);
    EXPECT_EQ(slider.trackPage, 2); // a fifth of the range
    EXPECT_EQ(slider.trackPos, 8);
    EXPECT_EQ(Label(), "8");

    const std::uint32_t start = ticks.now;
    ASSERT_TRUE(SendDensity());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPlain);
    EXPECT_EQ(box.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(Writes(), std::vector<std::string>{"RKW7047\r\n8\r\n"});
    EXPECT_GE(ticks.now - start, 500u); // the printer gets its settling time
    EXPECT_EQ(cursor.depth, 0);
}

TEST_F(MaintenancePages, EveryThumbPositionIsShownAndSentAndTheEndsHold) {
    Window();
    const struct {
        int moveTo;
        const char* shown;
    } cases[] = {{9, "9"}, {1, "1"}, {15, "15"}, {0, "1"}, {16, "15"}, {-40, "1"}, {8, "8"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.moveTo);
        Writes().clear();
        ASSERT_TRUE(Density().Scroll(IDC_DENSITY_SLIDER, c.moveTo));
        EXPECT_EQ(Label(), c.shown);
        ASSERT_TRUE(SendDensity());
        EXPECT_EQ(Writes(),
                  std::vector<std::string>{"RKW7047\r\n" + std::string(c.shown) + "\r\n"});
    }
}

TEST_F(MaintenancePages, DensityPageWithoutItsSliderSendsEight) {
    Window();
    CSetDensityDlg page(&window->dlg);
    const DialogTemplate damaged = FindDialogTemplate(IDD_SET_DENSITY)->Without(IDC_DENSITY_SLIDER);
    ASSERT_TRUE(page.Create(window->host, &damaged));
    fake::FakeDialog& dialog = *window->host.Child(page);
    EXPECT_FALSE(dialog.HasItem(IDC_DENSITY_SLIDER));
    EXPECT_EQ(dialog.ItemText(IDC_DENSITY_VALUE), "8");
    page.OnHScroll(IDC_DENSITY_SLIDER, 3); // a stray notification changes nothing
    EXPECT_EQ(dialog.ItemText(IDC_DENSITY_VALUE), "8");
    page.OnPrinterAvailability(true);
    ASSERT_TRUE(dialog.Click(IDC_SEND_DENSITY));
    EXPECT_EQ(Writes(), std::vector<std::string>{"RKW7047\r\n8\r\n"});
}

TEST_F(MaintenancePages, ClockRowInTheTableShowsTheClockPageAtItsPosition) {
    Window();
    EXPECT_EQ(window->host.GetCount(IDC_FUNCTION_LIST), 3);
    ASSERT_NE(dynamic_cast<CSetDateTimeDlg*>(window->dlg.MakePage(kClockRow)), nullptr);
    EXPECT_EQ(window->dlg.MakePage(1), nullptr);
    EXPECT_EQ(window->VisiblePages(), std::vector<int>{kDensityRow});
    ASSERT_TRUE(window->SelectRow(kClockRow));
    EXPECT_EQ(window->VisiblePages(), std::vector<int>{kClockRow});
    EXPECT_EQ(Clock().left, kPageLeft);
    ASSERT_TRUE(window->SelectRow(1)); // a row without a page shows none
    EXPECT_TRUE(window->VisiblePages().empty());
}

TEST_F(MaintenancePages, DensityValueStandsCentredUnderTheSliderAboveTheButton) {
    Window();
    const DlgRect slider = Density().ItemRect(IDC_DENSITY_SLIDER);
    const DlgRect value = Density().ItemRect(IDC_DENSITY_VALUE);
    const DlgRect send = Density().ItemRect(IDC_SEND_DENSITY);
    EXPECT_GE(value.y, slider.Bottom());
    EXPECT_LE(std::abs((value.x + value.Right()) - (slider.x + slider.Right())), 2);
    EXPECT_GT(send.y, value.Bottom());
}

TEST_F(MaintenancePages, ClockIsReadAfterTheConfirmationAndSent) {
    Window();
    clock.time = LocalDateTime{2023, 12, 31, 23, 59, 58};
    box.onShow = [this] {
        EXPECT_EQ(clock.reads, 0);
        clock.time = LocalDateTime{2024, 3, 5, 9, 7, 3}; // the user took a while
    };
    ASSERT_TRUE(SendClock());
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
        ASSERT_TRUE(row == kDensityRow ? SendDensity() : SendClock());
        EXPECT_EQ(box.shown.size(), 1u);
        EXPECT_TRUE(Density().IsItemEnabled(IDC_SEND_DENSITY));
        EXPECT_TRUE(Clock().IsItemEnabled(IDC_SEND_DATE_TIME));
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
    const auto buttons = [this] {
        return std::make_pair(Density().IsItemEnabled(IDC_SEND_DENSITY),
                              Clock().IsItemEnabled(IDC_SEND_DATE_TIME));
    };
    EXPECT_EQ(buttons(), std::make_pair(false, false));
    EXPECT_FALSE(SendDensity());

    enumerator.devices.push_back(FakeEnumerator::Usb(kPath, 0x1203, 0x0126));
    monitor.Plug();
    EXPECT_EQ(buttons(), std::make_pair(true, true));
    EXPECT_TRUE(window->dlg.MakePage(kClockRow)->PrinterAvailable());

    enumerator.devices.clear();
    monitor.Unplug();
    EXPECT_EQ(buttons(), std::make_pair(false, false));
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
            ASSERT_TRUE(row == kDensityRow ? SendDensity() : SendClock());
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
