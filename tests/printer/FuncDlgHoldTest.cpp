// The hold after a job, timed with the real tick source.
#include "platform/linux/SystemClock.h"
#include "printer/JobPage.h"

#include <chrono>
#include <gtest/gtest.h>

namespace brimwell::test {
TEST(PageBaseRealTime, TheHoldLastsAtLeastTheMinimumAndOneSleep) {
    FakePlatform platform;
    SystemTicks realTicks;
    ScopedServices realTime(&Services::ticks, &realTicks);
    platform.AddPrinter("/dev/usb/lp0");
    auto table = TableOf({144});
    FakeWindow window(table, JobPages());
    auto* page = static_cast<JobPage*>(window.dlg.MakePage(0));
    using Clock = std::chrono::steady_clock;
    for (std::uint32_t minMs : {500u, 0u}) {
        const auto start = Clock::now();
        ASSERT_TRUE(page->OpenJob(JOB_CONFIRM_NONE));
        ASSERT_TRUE(page->SpoolPrintf("%u", minMs) && page->WriteJob());
        page->CloseJob(minMs);
        const auto elapsed = Clock::now() - start;
        EXPECT_GE(elapsed, std::chrono::milliseconds(minMs == 0 ? 50 : 500));
    }
}

} // namespace brimwell::test
