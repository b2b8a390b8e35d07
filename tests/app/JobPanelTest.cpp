// A job is one unit in the main window: the guard is held from the question to the report,
// the send buttons rest while it runs, the job panel shows it after a second with Stop, closing
// the window asks whether to stop it, the session is held, and focus comes back afterwards.
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

constexpr int kTesterTypeRow = 6;
constexpr int kDensityRow = 7;

struct JobPanel : ::testing::Test {
    JobPanel() : printer(platform.AddPrinter("/dev/usb/lp0")) {
        window.SelectRow(kDensityRow);
        window.Page(kDensityRow).FocusItem(IDC_SEND_DENSITY);
    }
    bool Send() { return window.Page(kDensityRow).Click(IDC_SEND_DENSITY); }
    bool PanelShown() const {
        for (int id : {IDC_JOB_STATUS, IDC_JOB_PROGRESS, IDC_JOB_BYTES, IDC_JOB_STOP}) {
            if (!window.host.IsItemShown(id)) {
                return false;
            }
        }
        return true;
    }
    bool SendEnabled() { return window.Page(kDensityRow).IsItemEnabled(IDC_SEND_DENSITY); }

    FakePlatform platform;
    fake::FakeDeviceOpener::Device& printer;
    fake::HeldJobRunner runner;
    fake::CountingSessionGuard session;
    ScopedServices useRunner{&Services::jobRunner, &runner};
    ScopedServices useSession{&Services::sessionGuard, &session};
    FakeWindow window;
};

TEST_F(JobPanel, ARunningJobHoldsEverythingUntilItsEndArrives) {
    ASSERT_TRUE(Send());
    ASSERT_TRUE(runner.Holding());
    EXPECT_FALSE(SendEnabled());
    EXPECT_EQ(session.held, 1);
    EXPECT_FALSE(window.dlg.OnQueryEndSession());
    EXPECT_EQ(platform.cursor.depth, 1);
    // A short job is over before the panel would be read: it shows only after a second.
    platform.ticks.now += JOB_PANEL_DELAY_MS - 1;
    runner.Tick();
    EXPECT_FALSE(PanelShown());
    platform.ticks.now += 1;
    runner.Tick();
    EXPECT_TRUE(PanelShown());
    EXPECT_EQ(window.host.ItemText(IDC_JOB_STATUS), "Sending the job to 'Brimwell printer'...");
    EXPECT_EQ(window.host.ItemText(IDC_JOB_BYTES), "0 of 12 bytes sent");
    // The printer list is rebuilt meanwhile: the buttons stay at rest, the job keeps its device.
    platform.enumerator.devices = {fake::FakeEnumerator::Usb("/dev/usb/lp1", 0x1203, 0x0126)};
    platform.monitor.Fire();
    EXPECT_FALSE(SendEnabled());

    runner.Finish();
    ASSERT_EQ(printer.writes.size(), 1u);
    EXPECT_EQ(printer.writes[0], "RKW7047\r\n8\r\n");
    EXPECT_TRUE(platform.box.shown.size() == 1u); // the question only: a sent job says nothing
    EXPECT_FALSE(PanelShown());
    EXPECT_TRUE(SendEnabled());
    EXPECT_EQ(window.Page(kDensityRow).focus, IDC_SEND_DENSITY);
    EXPECT_EQ(session.held, 0);
    EXPECT_TRUE(window.dlg.OnQueryEndSession());
    EXPECT_EQ(platform.cursor.depth, 0);
}

TEST_F(JobPanel, WhileTheQuestionIsOpenNoOtherSendOrCloseIsObeyed) {
    std::vector<bool> during;
    platform.box.onShow = [&] {
        platform.box.onShow = nullptr;
        during.push_back(window.Page(kTesterTypeRow).Click(IDC_SEND_CONFIGURATION));
        window.host.Close();
    };
    runner.hold = false;
    ASSERT_TRUE(Send());
    EXPECT_EQ(platform.box.shown.size(), 1u); // no second question
    EXPECT_FALSE(window.host.endResult);
    EXPECT_EQ(printer.writes.size(), 1u);
    EXPECT_EQ(runner.starts, 1);
}

TEST_F(JobPanel, StopEndsTheJobAndSaysThePrinterMayHoldPartOfIt) {
    ASSERT_TRUE(Send());
    platform.ticks.now += JOB_PANEL_DELAY_MS;
    runner.Tick();
    ASSERT_TRUE(window.host.Click(IDC_JOB_STOP));
    EXPECT_FALSE(window.host.IsItemEnabled(IDC_JOB_STOP)); // pressed once
    EXPECT_EQ(window.host.ItemText(IDC_JOB_STATUS), "Stopping the job for 'Brimwell printer'...");
    runner.Finish();
    ASSERT_EQ(platform.box.shown.size(), 2u);
    EXPECT_EQ(platform.box.shown[1].text, FormatMessage(kMsgJobStopped, "Brimwell printer"));
    EXPECT_TRUE(printer.writes.empty());
    EXPECT_FALSE(PanelShown());
    EXPECT_TRUE(SendEnabled());
    EXPECT_EQ(platform.cursor.depth, 0);
    // The next job starts clean.
    runner.hold = false;
    EXPECT_TRUE(Send());
    EXPECT_EQ(printer.writes.size(), 1u);
}

TEST_F(JobPanel, ClosingDuringAJobAsksAndClosesOnlyOnceTheStoppedJobHasEnded) {
    struct Case {
        MsgResult answer;
        bool stopped;
    };
    for (const Case& c : {Case{MsgResult::Cancel, false}, Case{MsgResult::Ok, true}}) {
        platform.box.shown.clear();
        printer.writes.clear();
        window.host.endResult.reset();
        ASSERT_TRUE(Send());
        platform.box.answers = {c.answer};
        window.host.Close();
        ASSERT_EQ(platform.box.shown.size(), 2u);
        EXPECT_EQ(platform.box.shown[1].text, kAskStopJobToClose);
        EXPECT_FALSE(window.host.endResult); // never under a running job
        runner.Finish();
        EXPECT_EQ(printer.writes.empty(), c.stopped);
        EXPECT_EQ(window.host.endResult.has_value(), c.stopped);
    }
}

TEST_F(JobPanel, FocusGoesToTheNextControlWhenTheSendButtonStaysDisabled) {
    ASSERT_TRUE(Send());
    platform.enumerator.devices.clear(); // unplugged during the job
    platform.monitor.Fire();
    runner.Finish();
    EXPECT_FALSE(SendEnabled());
    EXPECT_NE(window.Page(kDensityRow).focus, IDC_SEND_DENSITY);
    EXPECT_NE(window.Page(kDensityRow).focus, 0);
}

} // namespace
} // namespace brimwell::test
