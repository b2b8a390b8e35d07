// Every kind of job, sent by the companion and by the page base to a node that behaves as the
// Linux USB printer driver does (one queued transfer per write, killed at close), arrives
// whole: the writer waits for the last transfer before it closes. A printer that takes
// nothing, or is unplugged, while the last transfer is on its way fails the job, never
// reports it sent; and a stop request ends the wait at once.
#include "logo/LogoTestSupport.h"
#include "platform/linux/PosixDeviceOpener.h"
#include "printer/JobPage.h"
#include "support/CliHarness.h"
#include "support/UsblpCalls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace brimwell::test {
namespace {

std::string TempFile(const std::string& name, const std::string& bytes) {
    static const std::string dir = [] {
        char pattern[] = "/tmp/brimwell-drain-XXXXXX";
        return std::string(::mkdtemp(pattern));
    }();
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// A 360 x 360 picture of noise: the largest logo, whose run-length coding saves nothing.
std::string NoiseLogo() {
    std::mt19937 random(7);
    std::vector<std::string> rows(360, std::string(360, '.'));
    for (auto& row : rows) {
        for (char& c : row) {
            c = (random() & 1) ? '#' : '.';
        }
    }
    const Bytes bmp = MonoBmp(rows);
    return TempFile("noise.bmp", std::string(bmp.begin(), bmp.end()));
}

// A label program of about 60 KiB.
std::string LargeFirmware() {
    std::string tpl = "DOWNLOAD \"AUTO.BAS\"\n";
    for (int line = 10; tpl.size() < 60 * 1024; line += 10) {
        tpl += std::to_string(line) + " PRINT \"LINE OF THE LABEL PROGRAM NUMBER " +
               std::to_string(line) + "\"\n";
    }
    tpl += "EOP\nMOVE\n";
    return TempFile("large.tpl", tpl);
}

struct JobKind {
    const char* name;
    std::vector<std::string> command;
};

std::vector<JobKind> Kinds() {
    const std::string logo = NoiseLogo();
    return {
        {"tester_type", {"tester-type", "--tester", "4", "--user-name", "LAB 3"}},
        {"label", {"label", "pass", "--tester", "3", "--at", "2025-03-07 14:05:09"}},
        {"density", {"density", "10"}},
        {"clock", {"clock", "--at", "2025-03-07 14:05:09"}},
        {"pass_logo", {"logo", "pass", logo}},
        {"fail_logo", {"logo", "fail", logo}},
        {"firmware", {"firmware", LargeFirmware()}},
    };
}

std::vector<std::string> Then(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

struct DriverContract : ::testing::Test, CliHarness {
    DriverContract() {
        outputs.Add("job.bin");
        printers.Add("/dev/usb/lp0");
    }
    // The job's bytes as the companion writes them to a file.
    std::string Expected(const JobKind& kind) {
        ClearWrites();
        EXPECT_EQ(Exec(Then({"-o", "job.bin"}, kind.command)), cli::EXIT_DONE) << err.str();
        const auto writes = AllWrites();
        return writes.size() == 1 ? writes[0] : std::string();
    }
    int SendToNode(IDeviceOpener& node, const std::vector<std::string>& command) {
        cli::CliServices real{profile, clock, enumerator, node, outputs, ticks};
        out.str("");
        err.str("");
        return cli::RunCli(Then({"-p", "/dev/usb/lp0"}, command), real, out, err);
    }
};

TEST_F(DriverContract, EveryJobArrivesWholeFromTheCompanionAndTheWindow) {
    for (const JobKind& kind : Kinds()) {
        const std::string expected = Expected(kind);
        ASSERT_FALSE(expected.empty()) << kind.name;

        UsblpCalls driver(ticks);
        PosixDeviceOpener node(driver, &ticks);
        EXPECT_EQ(SendToNode(node, kind.command), cli::EXIT_DONE) << kind.name << err.str();
        EXPECT_EQ(driver.delivered.size(), expected.size()) << kind.name;
        EXPECT_TRUE(driver.delivered == expected) << kind.name;
        EXPECT_EQ(driver.killed, 0u) << kind.name;

        FakePlatform window;
        window.AddPrinter("/dev/usb/lp0");
        UsblpCalls pageDriver(window.ticks);
        PosixDeviceOpener pageNode(pageDriver, &window.ticks);
        ScopedServices useNode(&Services::deviceOpener, &pageNode);
        const auto table = TableOf({IDD_SET_DENSITY});
        FakeWindow dlg(table, JobPages());
        auto* page = static_cast<JobPage*>(dlg.dlg.MakePage(0));
        EXPECT_TRUE(page->SendJob(JOB_CONFIRM_NONE, expected)) << kind.name;
        EXPECT_TRUE(pageDriver.delivered == expected) << kind.name;
        EXPECT_EQ(pageDriver.killed, 0u) << kind.name;
        EXPECT_TRUE(window.box.shown.empty()) << kind.name;
        EXPECT_EQ(pageDriver.closes, 1) << kind.name;
    }
}

// Passes every call to the driver double and makes trouble as the third transfer is queued:
// 20000 bytes go as 8192 + 8192 + 3616, so the trouble meets the last transfer in flight.
struct TroubleOnLastTransfer : IPosixCalls {
    TroubleOnLastTransfer(UsblpCalls& d, std::function<void()> t)
        : driver(d), trouble(std::move(t)) {}
    int Open(const char* p, int f, mode_t m) override { return driver.Open(p, f, m); }
    ssize_t Write(int fd, const void* d, std::size_t n) override {
        const ssize_t r = driver.Write(fd, d, n);
        if (r > 0 && ++queued == 3) {
            trouble();
        }
        return r;
    }
    int PollWritable(int fd, int stopFd, int ms) override {
        return driver.PollWritable(fd, stopFd, ms);
    }
    int Close(int fd) override { return driver.Close(fd); }
    UsblpCalls& driver;
    std::function<void()> trouble;
    int queued = 0;
};

TEST_F(DriverContract, ALastTransferThatDoesNotCompleteFailsTheJob) {
    enum Trouble { kStall, kUnplug, kStop };
    struct Case {
        const char* name;
        Trouble trouble;
        std::string message;
    };
    const Case cases[] = {
        {"stall", kStall, "Error : write failure for '/dev/usb/lp0': Connection timed out"},
        {"unplugged", kUnplug, "Error : write failure for '/dev/usb/lp0': No such device"},
        {"stopped", kStop,
         "Error : the job for '/dev/usb/lp0' was stopped. The printer may hold part of it: send "
         "the job again."},
    };
    const std::string job(20000, 'x');
    for (const Case& c : cases) {
        UsblpCalls driver(ticks);
        JobControl control;
        TroubleOnLastTransfer calls(driver, [&] {
            driver.stalled = c.trouble != kUnplug;
            driver.unplugged = c.trouble == kUnplug;
            if (c.trouble == kStop) {
                control.RequestStop();
            }
        });
        PosixDeviceOpener node(calls, &ticks, /*stallLimitMs=*/15000);
        const JobRequest request{"/dev/usb/lp0", [&] { return std::optional<std::string>(job); },
                                 true, 500};
        const std::uint32_t start = ticks.now;
        const JobOutcome outcome = RunJobSequence(node, ticks, request, &control);
        EXPECT_FALSE(outcome.Sent()) << c.name;
        EXPECT_EQ(JobFailureMessage(outcome, "/dev/usb/lp0", true), c.message) << c.name;
        EXPECT_EQ(driver.delivered.size(), 2u * UsblpCalls::kTransferMax) << c.name;
        EXPECT_EQ(driver.closes, 1) << c.name;
        // The drain is bounded by the stall limit; a stop needs no wait at all.
        EXPECT_LE(static_cast<std::uint32_t>(ticks.now - start), c.trouble == kStop ? 100u : 15100u)
            << c.name;
        EXPECT_TRUE(ticks.sleeps.empty() || c.trouble == kStop)
            << c.name; // no hold after a failure
        ticks.sleeps.clear();
    }
}

} // namespace
} // namespace brimwell::test
