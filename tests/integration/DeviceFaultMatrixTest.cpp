// Every way a printer can fail a job, in one table, produced through the system-call seam of
// the real device writer (for the companion and the window) and, where a node can misbehave
// that way, on an emulated printer node. Each gives its message without hanging, and the next
// job goes out whole.
#include "app/CBrimwellDlg.h"
#include "integration/MockUsbBus.h"
#include "platform/linux/PosixDeviceOpener.h"
#include "support/CliHarness.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

struct Step {
    ssize_t bytes; // taken, at most what was asked; or -1 with `error`
    int error;
};

// How the device behaves once the scripted steps are used up.
enum class Device {
    Takes,        // takes everything
    Stalled,      // refuses every write, and every wait times out
    BusyWritable, // poll calls it writable, yet every write answers EAGAIN
};

// The open may fail; writes follow the steps, then take everything. A stalled device refuses
// every write and lets every wait time out, moving the fake clock on by the time waited; a
// busy one costs a millisecond per try.
struct ScriptedCalls : IPosixCalls {
    int Open(const char*, int, mode_t) override {
        errno = openError;
        return openError ? -1 : ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    }
    ssize_t Write(int, const void* data, std::size_t length) override {
        ++tries;
        const bool stalled = device != Device::Takes;
        ticks->now += device == Device::BusyWritable ? 1 : 0;
        Step step = stalled ? Step{-1, EAGAIN} : Step{static_cast<ssize_t>(length), 0};
        if (!stalled && !writes.empty()) {
            step = writes.front();
            writes.pop_front();
        }
        errno = step.error;
        if (step.error) {
            return -1;
        }
        const auto n = std::min<std::size_t>(static_cast<std::size_t>(step.bytes), length);
        received.append(static_cast<const char*>(data), n);
        return static_cast<ssize_t>(n);
    }
    int Close(int fd) override { return ::close(fd); }
    int PollWritable(int, int, int timeoutMs) override {
        cursorWhileWaiting = cursor ? cursor->depth : -1;
        const bool stalled = device == Device::Stalled;
        ticks->now += stalled ? static_cast<std::uint32_t>(timeoutMs) : 0;
        return stalled ? 0 : 1;
    }
    fake::FakeTicks* ticks = nullptr;
    fake::CountingWaitCursor* cursor = nullptr;
    int openError = 0;
    std::deque<Step> writes;
    Device device = Device::Takes;
    int tries = 0;
    std::string received;
    int cursorWhileWaiting = -1;
};

enum class Node { None, Missing, FifoWithoutReader, DevFull, StalledFifo };
enum Result { kSent, kCantOpen, kWriteFailure };

struct Fault {
    const char* name;
    int openError;
    std::vector<Step> writes;
    Device device;
    Node node; // how an emulated node gives the same fault; None when none can
    Result result;
};

const Fault kFaults[] = {
    {"EACCES", EACCES, {}, Device::Takes, Node::None, kCantOpen},
    {"ENOENT", ENOENT, {}, Device::Takes, Node::Missing, kCantOpen},
    {"ENXIO", ENXIO, {}, Device::Takes, Node::FifoWithoutReader, kCantOpen},
    {"ENODEV_mid_write", 0, {{4, 0}, {-1, ENODEV}}, Device::Takes, Node::None, kWriteFailure},
    {"EIO", 0, {{-1, EIO}}, Device::Takes, Node::None, kWriteFailure},
    {"ENOSPC", 0, {{-1, ENOSPC}}, Device::Takes, Node::DevFull, kWriteFailure},
    {"EPIPE", 0, {{-1, EPIPE}}, Device::Takes, Node::None, kWriteFailure},
    {"EINTR", 0, {{-1, EINTR}, {3, 0}, {-1, EINTR}}, Device::Takes, Node::None, kSent},
    {"EAGAIN", 0, {{-1, EAGAIN}, {5, 0}, {-1, EAGAIN}}, Device::Takes, Node::None, kSent},
    {"short_write", 0, {{7, 0}, {0, 0}}, Device::Takes, Node::None, kWriteFailure},
    {"stall", 0, {}, Device::Stalled, Node::StalledFifo, kWriteFailure},
    {"EAGAIN_while_writable", 0, {}, Device::BusyWritable, Node::None, kWriteFailure},
};

void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.name;
}

const std::string kJob = "RKW7047\r\n5\r\n"; // density 5

// The message, naming the device path (companion) or the display text (window).
std::string Message(const Fault& f, const std::string& name) {
    const char* kText[] = {"", "Error : can't open '%s'", "Error : write failure for '%s'"};
    return f.result == kSent ? "" : FormatMessage(kText[f.result], name);
}

class DeviceFaults : public ::testing::TestWithParam<Fault>, protected CliHarness {
protected:
    // density 5 through the companion to the printer at /dev/usb/lp0, opened by `opener`.
    int Density(IDeviceOpener& opener) {
        cli::CliServices real{profile, clock, enumerator, opener, outputs, ticks};
        out.str("");
        err.str("");
        return cli::RunCli({"-p", "/dev/usb/lp0", "density", "5"}, real, out, err);
    }
    // The companion adds the system's reason: the refused open's, the failed write's, or a
    // time-out for a stall; none for a device that took nothing and said nothing.
    static int Reason(const Fault& f) {
        return f.device != Device::Takes ? ETIMEDOUT
               : f.openError             ? f.openError
               : f.writes.empty()        ? 0
                                         : f.writes.back().error;
    }
    // The window adds the system's reason to a write failure (a stall says it timed out), not
    // to a refused open, whose message stays as it always was.
    std::string WindowMessage(const Fault& f) {
        const std::string m = Message(f, "Brimwell printer");
        const int reason = Reason(f);
        return f.result == kWriteFailure && reason ? m + ": " + ErrnoText(reason) : m;
    }
    std::string CliMessage(const Fault& f) {
        const std::string m = Message(f, "/dev/usb/lp0");
        const int reason = Reason(f);
        const std::string hint = "brimwell-cli: " + std::string(cli::kPermissionHint) + "\n";
        return m.empty() ? m
                         : "brimwell-cli: " + m + (reason ? ": " + ErrnoText(reason) : "") + "\n" +
                               (f.openError == EACCES ? hint : "");
    }
};
struct SystemCallFaults : DeviceFaults {};
struct NodeFaults : DeviceFaults {};

TEST_P(SystemCallFaults, InTheCompanionAndTheWindow) {
    const Fault& f = GetParam();
    FakePlatform window;
    window.AddPrinter("/dev/usb/lp0");
    ScriptedCalls calls;
    calls.ticks = &window.ticks;
    calls.cursor = &window.cursor;
    PosixDeviceOpener opener(calls, &window.ticks);
    ScopedServices useOpener{&Services::deviceOpener, &opener};
    FakeWindow dlg(PageTable{});
    struct Page : CFuncDlg {
        using CFuncDlg::CFuncDlg;
        using CFuncDlg::SendJob;
    };
    auto page = std::make_unique<Page>(IDD_SET_DENSITY, &dlg.dlg);

    for (int run = 0; run < 2; ++run) { // the fault, then a clean job
        for (bool inWindow : {false, true}) {
            calls.openError = run ? 0 : f.openError;
            calls.writes.assign(run ? f.writes.end() : f.writes.begin(), f.writes.end());
            calls.device = run ? Device::Takes : f.device;
            calls.tries = 0;
            calls.received.clear();
            calls.cursorWhileWaiting = -1;
            window.box.shown.clear();
            const bool sent =
                inWindow ? page->SendJob(JOB_CONFIRM_NONE, kJob) : Density(opener) == 0;
            const bool fault = run == 0 && f.result != kSent;
            EXPECT_EQ(sent, !fault) << run << inWindow;
            EXPECT_EQ(inWindow ? (window.box.shown.empty() ? "" : window.box.shown[0].text)
                               : err.str(),
                      !fault     ? ""
                      : inWindow ? WindowMessage(f)
                                 : CliMessage(f));
            if (!fault) {
                EXPECT_EQ(calls.received, kJob); // whole, in order, nothing between
            }
            // A device that keeps saying "writable, no room" is tried with a growing pause,
            // not thousands of times until the stall limit.
            EXPECT_LT(calls.tries, 1000) << run << inWindow;
            if (inWindow && calls.cursorWhileWaiting != -1) {
                EXPECT_EQ(calls.cursorWhileWaiting, 1); // the wait cursor shows while waiting
            }
        }
    }
    EXPECT_EQ(window.cursor.depth, 0);
}

TEST_P(NodeFaults, OnAnEmulatedNode) {
    const Fault& f = GetParam();
    MockUsbBus& bus = MockUsbBus::Get();
    bus.Clear();
    const MockUsbDevice printer = bus.AddPrinter(0x1203, 0x0126, 1, 0);
    const std::string file = bus.NodeFile(printer);
    ::unlink(file.c_str());
    int reader = -1;
    if (f.node == Node::Missing) {
        bus.MakeNodeVanish(printer);
    } else if (f.node == Node::DevFull) {
        ASSERT_EQ(::symlink("/dev/full", file.c_str()), 0);
    } else {
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    }
    if (f.node == Node::StalledFifo) { // a reader that never reads, and a full pipe
        reader = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        const int fill = ::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        while (::write(fill, kJob.data(), kJob.size()) > 0) {
        }
        ::close(fill);
    }
    PosixDeviceOpener opener(SystemPosixCalls(), nullptr, /*stallLimitMs=*/100);
    EXPECT_EQ(Density(opener), cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(), CliMessage(f));
    ::close(reader);

    bus.RestoreNode(printer);
    EXPECT_EQ(Density(opener), cli::EXIT_DONE);
    EXPECT_EQ(bus.ReadNode(printer), kJob);
    bus.Clear();
}

std::string FaultName(const ::testing::TestParamInfo<Fault>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Matrix, SystemCallFaults, ::testing::ValuesIn(kFaults), FaultName);
INSTANTIATE_TEST_SUITE_P(Matrix, NodeFaults,
                         ::testing::Values(kFaults[1], kFaults[2], kFaults[5], kFaults[10]),
                         FaultName);

} // namespace
} // namespace brimwell::test
