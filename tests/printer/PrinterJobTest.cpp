#include "printer/PrinterJob.h"
#include "platform/fake/FakeServices.h"
#include "printer/TextFormat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace brimwell::test {

namespace {

constexpr const char* kPath = "/dev/usb/lp0";

struct JobFixture : ::testing::Test {
    fake::FakeDeviceOpener opener;
    fake::FakeTicks ticks;
    fake::FakeDeviceOpener::Device& device = opener.Add(kPath);
};

// Counts reallocations and can refuse them.
struct CountingRealloc {
    static inline int calls = 0;
    static inline bool refuse = false;
    static void* Realloc(void* p, std::size_t n) {
        ++calls;
        return refuse ? nullptr : std::realloc(p, n);
    }
};

} // namespace

TEST(SpoolGrowth, StepsAddThenDoubleUntilTheNeedIsMet) {
    struct Case {
        std::uint32_t size, growBy;
        std::uint64_t needed;
        std::uint32_t newSize, newGrowBy;
    };
    const Case cases[] = {
        {0, 16384, 1, 16384, 32768},         {0, 16384, 16384, 16384, 32768},
        {0, 16384, 16385, 49152, 65536},     {0, 16384, 20000, 49152, 65536},
        {16384, 32768, 20100, 49152, 65536}, {49152, 65536, 114688, 114688, 131072},
        {0, 16384, 500000, 507904, 524288},
    };
    for (const Case& c : cases) {
        const auto g = ComputeSpoolGrowth(c.size, c.growBy, c.needed);
        ASSERT_TRUE(g) << c.needed;
        EXPECT_EQ(g->newSize, c.newSize) << c.needed;
        EXPECT_EQ(g->newGrowBy, c.newGrowBy) << c.needed;
    }
}

TEST(SpoolGrowth, SizesOrStepsPast32BitsAreRefusedNotWrapped) {
    EXPECT_FALSE(ComputeSpoolGrowth(0, 16384, 0x1'0000'0000ull));
    // 16384 * (2^18 - 1) still fits, but the step after it (2^32) does not.
    EXPECT_FALSE(ComputeSpoolGrowth(0, 16384, 3'000'000'000ull));
    EXPECT_FALSE(ComputeSpoolGrowth(0xFFFF'0000u, 0x8000'0000u, 0xFFFF'0001u));
    EXPECT_TRUE(ComputeSpoolGrowth(0, 16384, 2'000'000'000ull));
}

TEST_F(JobFixture, HundredThenTwentyThousandBytesGrowTheBufferTo49152) {
    CPrinterJob job(opener, ticks);
    ASSERT_TRUE(job.Open(kPath));
    EXPECT_EQ(job.SpoolGrowBy(), 16384u);
    const std::string a(100, 'a'), b(20000, 'b');
    ASSERT_TRUE(job.SpoolBytes(a.data(), 100));
    EXPECT_EQ(job.SpoolSize(), 16384u);
    ASSERT_TRUE(job.SpoolBytes(b.data(), 20000));
    EXPECT_EQ(job.SpoolSize(), 49152u);
    EXPECT_EQ(job.SpoolLength(), 20100u);
    EXPECT_EQ(job.SpoolGrowBy(), 65536u);
    ASSERT_TRUE(job.Write());
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0], a + b);
}

TEST_F(JobFixture, ALengthThatWouldOverflowIsAnAllocationFailure) {
    CPrinterJob job(opener, ticks);
    ASSERT_TRUE(job.Open(kPath));
    ASSERT_TRUE(job.SpoolPrintf("%s", "keep"));
    // The data pointer is never read: the length is refused before any copy.
    EXPECT_FALSE(job.SpoolBytes("x", 0xFFFF'FFFEu));
    EXPECT_EQ(job.LastFailure(), CPrinterJob::Failure::NoMemory);
    EXPECT_EQ(job.SpoolLength(), 4u);
    EXPECT_EQ(job.SpoolSize(), 16384u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(job.SpoolData()), 4), "keep");
    EXPECT_FALSE(job.Write());
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(JobFixture, FailedGrowthKeepsTheOldBufferAndLaterCallsAllocateNothing) {
    CountingRealloc::calls = 0;
    CountingRealloc::refuse = false;
    CPrinterJob job(opener, ticks, &CountingRealloc::Realloc);
    ASSERT_TRUE(job.Open(kPath));
    ASSERT_TRUE(job.SpoolBytes("abc", 3));
    CountingRealloc::refuse = true;
    const std::string big(20000, 'z');
    EXPECT_FALSE(job.SpoolBytes(big.data(), 20000));
    EXPECT_EQ(job.SpoolSize(), 16384u);
    EXPECT_EQ(job.SpoolLength(), 3u);
    EXPECT_EQ(job.SpoolGrowBy(), 65536u); // the step stays stored after the failure
    const int callsAfterFailure = CountingRealloc::calls;
    EXPECT_FALSE(job.SpoolPrintf("%d", 5));
    EXPECT_FALSE(job.SpoolBytes("d", 1));
    EXPECT_EQ(CountingRealloc::calls, callsAfterFailure);
    job.Close(500);
    EXPECT_TRUE(ticks.sleeps.empty()); // a failed job has no hold
    CountingRealloc::refuse = false;
}

TEST_F(JobFixture, WriteSendsOnlyWhatWasAppendedSinceTheLastWrite) {
    CPrinterJob job(opener, ticks);
    ASSERT_TRUE(job.Open(kPath));
    EXPECT_TRUE(job.Write()); // nothing appended: nothing sent, still fine
    EXPECT_TRUE(device.writes.empty());
    job.SpoolPrintf("RKW7047\r\n%d\r\n", 15);
    ASSERT_TRUE(job.Write());
    job.SpoolBytes("more", 4);
    ASSERT_TRUE(job.Write());
    ASSERT_EQ(device.writes.size(), 2u);
    EXPECT_EQ(device.writes[0], "RKW7047\r\n15\r\n");
    EXPECT_EQ(device.writes[1], "more");
    EXPECT_EQ(job.SpoolSize(), 16384u); // the allocation stays for the rest of the job
}

TEST_F(JobFixture, ShortAndFailedWritesFailTheJobAndSkipTheHold) {
    for (bool shortWrite : {true, false}) {
        device.writes.clear();
        device.shortWrite.reset();
        device.writeFails = false;
        if (shortWrite) {
            device.shortWrite = 3;
        } else {
            device.writeFails = true;
        }
        ticks.sleeps.clear();
        CPrinterJob job(opener, ticks);
        ASSERT_TRUE(job.Open(kPath));
        job.SpoolBytes("abcdef", 6);
        EXPECT_FALSE(job.Write());
        EXPECT_EQ(job.LastFailure(), CPrinterJob::Failure::WriteFailed);
        EXPECT_EQ(job.SpoolLength(), 0u);
        job.Close(500);
        EXPECT_TRUE(ticks.sleeps.empty());
        EXPECT_FALSE(job.IsDeviceOpen());
    }
}

TEST_F(JobFixture, CloseHoldsUntilTheMinimumHasPassedWithAtLeastOneSleep) {
    struct Case {
        std::uint32_t start;
        std::uint32_t minMs;
        std::size_t sleeps;
    };
    const Case cases[] = {
        {1000, 500, 10},         // 10 x 50 ms
        {1000, 0, 1},            // still one sleep
        {1000, 520, 11},         // rounds up to the next 50 ms
        {0xFFFF'FF00u, 500, 10}, // the tick count wraps during the hold
    };
    for (const Case& c : cases) {
        ticks.now = c.start;
        ticks.sleeps.clear();
        CPrinterJob job(opener, ticks);
        ASSERT_TRUE(job.Open(kPath));
        job.Close(c.minMs);
        EXPECT_EQ(ticks.sleeps.size(), c.sleeps) << c.start << " " << c.minMs;
        for (auto ms : ticks.sleeps) {
            EXPECT_EQ(ms, 50u);
        }
        EXPECT_GE(static_cast<std::uint32_t>(ticks.now - c.start), c.minMs);
    }
}

TEST_F(JobFixture, AJobThatTookLongerThanTheMinimumStillSleepsOnce) {
    CPrinterJob job(opener, ticks);
    ASSERT_TRUE(job.Open(kPath));
    ticks.now += 2000;
    job.Close(500);
    EXPECT_EQ(ticks.sleeps.size(), 1u);
}

TEST_F(JobFixture, CloseResetsEveryMemberAndReleasesTheDevice) {
    CPrinterJob job(opener, ticks);
    ASSERT_TRUE(job.Open(kPath));
    const std::string big(40000, 'q');
    job.SpoolBytes(big.data(), 40000);
    job.Close(0);
    EXPECT_FALSE(job.IsDeviceOpen());
    EXPECT_FALSE(job.IsOk());
    EXPECT_EQ(job.SpoolSize(), 0u);
    EXPECT_EQ(job.SpoolGrowBy(), 16384u);
    EXPECT_EQ(job.SpoolLength(), 0u);
    EXPECT_EQ(job.SpoolData(), nullptr);
    EXPECT_EQ(device.closeCount, 1);
}

TEST_F(JobFixture, OpenClosesAnEarlierJobAndARefusedOpenLeavesNothingOpen) {
    CPrinterJob job(opener, ticks);
    ASSERT_TRUE(job.Open(kPath));
    job.SpoolBytes("old", 3);
    ASSERT_TRUE(job.Open(kPath));
    EXPECT_EQ(device.closeCount, 1);
    EXPECT_EQ(job.SpoolLength(), 0u);
    EXPECT_EQ(ticks.sleeps.size(), 1u); // closing a good job with 0 ms still sleeps once

    EXPECT_FALSE(job.Open("/dev/usb/lp9"));
    EXPECT_EQ(job.LastFailure(), CPrinterJob::Failure::OpenFailed);
    EXPECT_FALSE(job.IsDeviceOpen());
    EXPECT_FALSE(job.SpoolBytes("x", 1));
    EXPECT_EQ(job.SpoolSize(), 0u);
}

TEST(AppendPrintf, AFormatThatFailsLeavesTheOutputAsItWas) {
    // A wide character the C locale cannot convert makes the formatting fail (glibc); a C
    // library that formats it anyway has no failure to show.
    if (std::snprintf(nullptr, 0, "%lc", static_cast<wint_t>(0xD800)) >= 0) {
        GTEST_SKIP() << "this C library formats every wide character";
    }
    std::string out = "kept";
    EXPECT_FALSE(AppendPrintf(out, "%lc", static_cast<wint_t>(0xD800)));
    EXPECT_EQ(out, "kept");
    EXPECT_TRUE(AppendPrintf(out, "%s%d", "+", 1));
    EXPECT_EQ(out, "kept+1");
}

TEST(FormatMessage, ReplacesTheFirstPlaceholderOnly) {
    EXPECT_EQ(FormatMessage(kMsgCantOpen, "Brimwell printer"),
              "Error : can't open 'Brimwell printer'");
    EXPECT_EQ(FormatMessage(kMsgWriteFailure, "%s"), "Error : write failure for '%s'");
    EXPECT_EQ(FormatMessage(kMsgSpoolMemory, "x"), kMsgSpoolMemory);
}

} // namespace brimwell::test
