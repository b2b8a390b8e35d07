// A page's job with a real worker thread and the real Linux device writer: the window's thread
// keeps reading the job's progress while the worker writes, and Stop from the window's thread
// wakes a writer that waits for a stalled device at once. Run under ThreadSanitizer in CI.
#include "platform/linux/PosixDeviceOpener.h"
#include "platform/linux/SystemClock.h"
#include "printer/JobPage.h"
#include "support/ThreadedJobRunner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace brimwell::test {
namespace {

struct JobThreads : ::testing::Test {
    JobThreads() {
        char pattern[] = "/tmp/brimwell-thread-XXXXXX";
        dir = ::mkdtemp(pattern);
        fifo = dir + "/lp0";
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        platform.AddPrinter(fifo);
        window = std::make_unique<FakeWindow>(table, JobPages());
    }
    ~JobThreads() override {
        ::unlink(fifo.c_str());
        ::rmdir(dir.c_str());
    }
    JobPage* Page() { return static_cast<JobPage*>(window->dlg.MakePage(0)); }

    std::string dir, fifo;
    FakePlatform platform;
    SystemTicks ticks;
    PosixDeviceOpener opener{SystemPosixCalls(), &ticks};
    ThreadedJobRunner runner;
    ScopedServices useTicks{&Services::ticks, &ticks};
    ScopedServices useOpener{&Services::deviceOpener, &opener};
    ScopedServices useRunner{&Services::jobRunner, &runner};
    PageTable table = TableOf({IDD_SET_DATE_TIME});
    std::unique_ptr<FakeWindow> window;
};

TEST_F(JobThreads, AJobArrivesWholeWhileTheWindowReadsItsProgress) {
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::string job(200 * 1024, '\0');
    for (std::size_t i = 0; i < job.size(); ++i) {
        job[i] = static_cast<char>('A' + i % 23);
    }
    std::string received;
    std::thread printer([&] { // a printer that takes the job slowly, a pipe's worth at a time
        char buffer[4096];
        while (received.size() < job.size()) {
            const ssize_t n = ::read(reader, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, static_cast<std::size_t>(n));
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });
    const bool started = Page()->SendJob(JOB_CONFIRM_NONE, job);
    EXPECT_TRUE(started);
    std::uint32_t lastTaken = 0;
    bool monotonic = true;
    if (started) {
        runner.RunUntilDone([&] {
            const CFuncDlg::JobStatus status = CFuncDlg::RunningJob();
            monotonic = monotonic && status.taken >= lastTaken && status.length == job.size();
            lastTaken = status.taken;
        });
    } else {
        received = job; // nothing to wait for
    }
    printer.join();
    ::close(reader);
    EXPECT_TRUE(monotonic);
    EXPECT_TRUE(received == job);
    EXPECT_TRUE(platform.box.shown.empty());
    EXPECT_FALSE(CFuncDlg::JobRunning());
}

TEST_F(JobThreads, StopWakesAWriterWaitingForAStalledDevice) {
    // A reader that never reads, and a pipe already full: the device takes nothing.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int fill = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    while (::write(fill, "xxxxxxxx", 8) > 0) {
    }
    ::close(fill);
    ASSERT_TRUE(Page()->SendJob(JOB_CONFIRM_NONE, "RKW7047\r\n8\r\n"));
    int turns = 0;
    runner.RunUntilDone([&] {
        if (++turns == 3) {
            CFuncDlg::StopRunningJob();
        }
    });
    ::close(reader);
    // The stall limit is 15 s; the stop ended the wait within a few turns of the loop.
    EXPECT_LT(turns, 3 + 20);
    ASSERT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.box.shown[0].text, FormatMessage(kMsgJobStopped, "Brimwell printer"));
}

} // namespace
} // namespace brimwell::test
