// The page base's job transport and shared state, on pages in the main window's logic.
#include "printer/JobPage.h"

#include <gtest/gtest.h>
#include <memory>

namespace brimwell::test {

namespace {

struct PageBase : ::testing::Test {
    FakePlatform platform;
    PageTable table = TableOf({144, 144, 144});
    std::unique_ptr<FakeWindow> window;

    JobPage* Page(int slot) { return static_cast<JobPage*>(window->dlg.MakePage(slot)); }
    void Open() { window = std::make_unique<FakeWindow>(table, JobPages()); }
};

} // namespace

TEST_F(PageBase, CancelAtTheQuestionOpensNothingAndCloseDoesNotSleep) {
    platform.AddPrinter("/dev/usb/lp0");
    Open();
    for (int kind : {JOB_CONFIRM_PLAIN, JOB_CONFIRM_POWER_CYCLE}) {
        platform.box.shown.clear();
        platform.box.answers = {MsgResult::Cancel};
        EXPECT_FALSE(Page(0)->OpenJob(kind));
        Page(0)->CloseJob(500);
        ASSERT_EQ(platform.box.shown.size(), 1u);
        EXPECT_EQ(platform.box.shown[0].text, ConfirmationText(kind));
        EXPECT_EQ(platform.box.shown[0].buttons, MsgButtons::OkCancel);
        EXPECT_EQ(platform.box.shown[0].icon, MsgIcon::Warning);
    }
    EXPECT_TRUE(platform.opener.openedPaths.empty());
    EXPECT_TRUE(platform.ticks.sleeps.empty());
    EXPECT_EQ(platform.cursor.begins, 0);
}

TEST_F(PageBase, NoPrinterFoundReturnsFalseSilentlyAfterAnyQuestion) {
    Open();
    EXPECT_FALSE(Page(0)->OpenJob(JOB_CONFIRM_NONE));
    EXPECT_TRUE(platform.box.shown.empty());
    EXPECT_FALSE(Page(0)->OpenJob(JOB_CONFIRM_POWER_CYCLE)); // answered OK
    ASSERT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.box.shown[0].text, kConfirmPowerCycle);
    EXPECT_FALSE(Page(0)->OpenJob(7)); // unknown kinds ask nothing
    EXPECT_EQ(platform.box.shown.size(), 1u);
    EXPECT_TRUE(platform.opener.openedPaths.empty());
}

TEST_F(PageBase, ASuccessfulJobIsOneWriteWithTheHoldAndABalancedWaitCursor) {
    auto& device = platform.AddPrinter("/dev/usb/lp0");
    Open();
    EXPECT_TRUE(Page(1)->SendJob(JOB_CONFIRM_NONE, "RKW7047\r\n8\r\n"));
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0], "RKW7047\r\n8\r\n");
    EXPECT_EQ(platform.ticks.sleeps.size(), 10u);
    EXPECT_EQ(platform.cursor.begins, 1);
    EXPECT_EQ(platform.cursor.depth, 0);
    EXPECT_TRUE(platform.box.shown.empty()); // nothing reports success
    EXPECT_EQ(Page(1)->PrinterName(), "Brimwell printer");
    EXPECT_FALSE(Page(1)->Job().IsDeviceOpen());
}

TEST_F(PageBase, FailuresShowTheirMessageWithTheDisplayNameAndSkipTheHold) {
    struct Case {
        const char* name;
        unsigned vendor, product;
        bool opens, writeFails;
        std::optional<std::uint32_t> shortWrite;
        std::string message;
    };
    const Case cases[] = {
        {"open refused", 0x1203, 0x0126, false, false, {}, "Error : can't open 'Brimwell printer'"},
        {"write fails",
         0x067B,
         0x2305,
         true,
         true,
         {},
         "Error : write failure for 'USB-to-Parallel adapter'"},
        {"short write", 0x1203, 0x0126, true, false, 2u,
         "Error : write failure for 'Brimwell printer'"},
    };
    for (const Case& c : cases) {
        FakePlatform p;
        auto& device = p.AddPrinter("/dev/usb/lp0", c.vendor, c.product);
        device.opens = c.opens;
        device.writeFails = c.writeFails;
        device.shortWrite = c.shortWrite;
        FakeWindow w(table, JobPages());
        auto* page = static_cast<JobPage*>(w.dlg.MakePage(0));
        EXPECT_FALSE(page->SendJob(JOB_CONFIRM_NONE, "payload")) << c.name;
        ASSERT_EQ(p.box.shown.size(), 1u) << c.name;
        EXPECT_EQ(p.box.shown[0].text, c.message) << c.name;
        EXPECT_EQ(p.box.shown[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(p.box.shown[0].icon, MsgIcon::Warning);
        EXPECT_TRUE(p.ticks.sleeps.empty()) << c.name;
        EXPECT_EQ(p.cursor.depth, 0) << c.name;
        // The next job starts clean and succeeds once the device behaves.
        device.opens = true;
        device.writeFails = false;
        device.shortWrite.reset();
        device.writes.clear();
        EXPECT_TRUE(page->SendJob(JOB_CONFIRM_NONE, "again")) << c.name;
        ASSERT_EQ(device.writes.size(), 1u);
        EXPECT_EQ(device.writes[0], "again");
    }
}

TEST_F(PageBase, SpoolMemoryFailureIsReportedOnceAndNothingIsSent) {
    auto& device = platform.AddPrinter("/dev/usb/lp0");
    Open();
    ASSERT_TRUE(Page(0)->OpenJob(JOB_CONFIRM_NONE));
    EXPECT_FALSE(Page(0)->SpoolBytes("x", 0xFFFF'FFFFu));
    EXPECT_FALSE(Page(0)->SpoolPrintf("%s", "more"));
    EXPECT_FALSE(Page(0)->WriteJob());
    Page(0)->CloseJob(500);
    ASSERT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.box.shown[0].text, kMsgSpoolMemory);
    EXPECT_TRUE(device.writes.empty());
    EXPECT_TRUE(platform.ticks.sleeps.empty());
}

TEST_F(PageBase, ThePrinterIsLookedUpAfterTheQuestionIsAnswered) {
    auto& first = platform.AddPrinter("/dev/usb/lp0");
    Open();
    auto& second = platform.opener.Add("/dev/usb/lp1");
    // While the question is open the printer is unplugged and an adapter arrives.
    platform.box.onShow = [&] {
        platform.enumerator.devices = {fake::FakeEnumerator::Usb("/dev/usb/lp1", 0x067B, 0x2305)};
        platform.monitor.Fire();
    };
    EXPECT_TRUE(Page(0)->SendJob(JOB_CONFIRM_PLAIN, "job"));
    EXPECT_TRUE(first.writes.empty());
    ASSERT_EQ(second.writes.size(), 1u);
    EXPECT_EQ(Page(0)->PrinterName(), "USB-to-Parallel adapter");
}

TEST_F(PageBase, EveryPageStartsFromTheStoredTesterCode) {
    struct Case {
        std::optional<int> stored;
        int index;
    };
    for (const Case& c : {Case{1003, 3}, Case{1009, 9}, Case{1010, 0}, Case{3, 0}, Case{{}, 0}}) {
        FakePlatform p;
        if (c.stored) {
            p.profile.values["Settings/TesterType"] = *c.stored;
        }
        FakeWindow w(table, JobPages());
        for (int slot = 0; slot < 3; ++slot) {
            EXPECT_EQ(w.dlg.MakePage(slot)->TesterIndex(), c.index);
        }
        EXPECT_TRUE(p.profile.writes.empty());
    }
}

TEST_F(PageBase, AChangeOnOnePageIsWrittenOnceAndReachesEveryOtherPage) {
    Open();
    Page(1)->OnTesterTypeChange(Page(1), 4);
    ASSERT_EQ(platform.profile.writes.size(), 1u);
    EXPECT_EQ(platform.profile.writes[0], std::make_pair(std::string("Settings/TesterType"), 1004));
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(Page(slot)->TesterIndex(), 4);
    }
    // Applying the stored index to itself writes nothing and tells no one.
    Page(2)->OnTesterTypeChange(nullptr, 7);
    EXPECT_EQ(platform.profile.writes.size(), 1u);
    EXPECT_EQ(Page(0)->TesterIndex(), 4);
    EXPECT_EQ(Page(2)->TesterIndex(), 7);
}

TEST_F(PageBase, ASecondSendWhileAJobRunsIsRefusedWhateverTheHostLetsThrough) {
    auto& device = platform.AddPrinter("/dev/usb/lp0");
    Open();
    fake::HeldJobRunner runner;
    ScopedServices useRunner(&Services::jobRunner, &runner);
    EXPECT_TRUE(Page(0)->SendJob(JOB_CONFIRM_NONE, "first")); // started, still running
    ASSERT_TRUE(runner.Holding());
    // The host's loop turns while the job runs: whatever the user does then is refused.
    EXPECT_FALSE(Page(1)->SendJob(JOB_CONFIRM_NONE, "other page"));
    EXPECT_FALSE(Page(0)->SendJob(JOB_CONFIRM_PLAIN, "same page"));
    EXPECT_FALSE(Page(2)->OpenJob(JOB_CONFIRM_NONE));
    EXPECT_TRUE(platform.box.shown.empty()); // refused without a question or a message
    EXPECT_EQ(runner.starts, 1);
    runner.Finish();
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0], "first");
    EXPECT_EQ(platform.cursor.depth, 0);
    // Once it is over, the next job goes out.
    runner.hold = false;
    EXPECT_TRUE(Page(1)->SendJob(JOB_CONFIRM_NONE, "next"));
    EXPECT_EQ(device.writes.size(), 2u);
}

} // namespace brimwell::test
