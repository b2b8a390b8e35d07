// Every way a printer can fail a job, in one table: each fault is produced through the
// system-call seam of the real device writer and, where a node can be made to misbehave
// that way, on an emulated printer node. Each gives the right message, ends without
// hanging, and the next job to the same printer goes out whole.
#include "app/CBrimwellDlg.h"
#include "cli/Commands.h"
#include "integration/MockUsbBus.h"
#include "platform/Services.h"
#include "platform/fake/Fakes.h"
#include "platform/posix/PosixDeviceOpener.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

// What one scripted write call does: take `bytes` (at most what was asked) or, when
// `error` is set, fail with it.
struct Step {
    ssize_t bytes;
    int error;
};

// The system calls with a script: the open may fail, writes follow the steps and then
// take everything; a stalled device refuses every write and lets every wait time out,
// moving the fake clock on by the time waited.
class ScriptedCalls : public IPosixCalls {
public:
    explicit ScriptedCalls(fake::FakeTicks& ticks) : m_ticks(ticks) {}
    int Open(const char*, int, mode_t) override {
        if (openError != 0) {
            errno = openError;
            return -1;
        }
        return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    }
    ssize_t Write(int, const void* data, std::size_t length) override {
        Step step{static_cast<ssize_t>(length), 0};
        if (stalled) {
            step = {-1, EAGAIN};
        } else if (!writes.empty()) {
            step = writes.front();
            writes.pop_front();
        }
        if (step.error != 0) {
            errno = step.error;
            return -1;
        }
        const auto n = std::min<std::size_t>(static_cast<std::size_t>(step.bytes), length);
        received.append(static_cast<const char*>(data), n);
        return static_cast<ssize_t>(n);
    }
    int PollWritable(int, int timeoutMs) override {
        if (onWait) {
            onWait();
        }
        if (stalled) {
            m_ticks.now += static_cast<std::uint32_t>(timeoutMs);
            return 0;
        }
        return 1;
    }
    int openError = 0;
    std::deque<Step> writes;
    bool stalled = false;
    std::string received;
    std::function<void()> onWait; // runs while the writer waits for the device

private:
    fake::FakeTicks& m_ticks;
};

// A page of the window that sends what it is given, as every page sends.
class SendingPage : public CFuncDlg {
public:
    explicit SendingPage(QWidget* parent) : CFuncDlg(IDD_SET_DENSITY, parent) {}
    bool Send(const std::string& bytes) { return SendJob(JOB_CONFIRM_NONE, bytes); }
};

enum class Node { None, Missing, FifoWithoutReader, DevFull, StalledFifo };
enum class Result { Sent, CantOpen, WriteFailure };

struct Fault {
    const char* name;
    int openError;
    std::vector<Step> writes;
    bool stalled;
    Node node; // how an emulated node gives the same fault; None when it cannot
    Result result;
};

const Fault kFaults[] = {
    {"EACCES", EACCES, {}, false, Node::None, Result::CantOpen},
    {"ENOENT", ENOENT, {}, false, Node::Missing, Result::CantOpen},
    {"ENXIO", ENXIO, {}, false, Node::FifoWithoutReader, Result::CantOpen},
    {"ENODEV_mid_write", 0, {{4, 0}, {-1, ENODEV}}, false, Node::None, Result::WriteFailure},
    {"EIO", 0, {{-1, EIO}}, false, Node::None, Result::WriteFailure},
    {"ENOSPC", 0, {{-1, ENOSPC}}, false, Node::DevFull, Result::WriteFailure},
    {"EPIPE", 0, {{-1, EPIPE}}, false, Node::None, Result::WriteFailure},
    {"EINTR", 0, {{-1, EINTR}, {3, 0}, {-1, EINTR}}, false, Node::None, Result::Sent},
    {"EAGAIN", 0, {{-1, EAGAIN}, {5, 0}, {-1, EAGAIN}}, false, Node::None, Result::Sent},
    {"short_write", 0, {{7, 0}, {0, 0}}, false, Node::None, Result::WriteFailure},
    {"stall", 0, {}, true, Node::StalledFifo, Result::WriteFailure},
};

void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.name;
}

const char* const kPath = "/dev/usb/lp0";
const std::string kJob = "RKW7047\r\n5\r\n"; // density 5

// The window names the printer by its display text and adds no hint.
std::string ExpectedInWindow(const Fault& f) {
    switch (f.result) {
    case Result::CantOpen:
        return "Error : can't open 'Brimwell printer'";
    case Result::WriteFailure:
        return "Error : write failure for 'Brimwell printer'";
    default:
        return "";
    }
}

std::string Expected(const Fault& f) {
    switch (f.result) {
    case Result::CantOpen:
        return std::string("Error : can't open '") + kPath + "'\n" +
               (f.openError == EACCES ? std::string(cli::kPermissionHint) + "\n" : "");
    case Result::WriteFailure:
        return std::string("Error : write failure for '") + kPath + "'\n";
    default:
        return "";
    }
}

class DeviceFaults : public ::testing::TestWithParam<Fault> {
protected:
    DeviceFaults() : bus(MockUsbBus::Get()) { bus.Clear(); }
    ~DeviceFaults() override { bus.Clear(); }

    int Density(IDeviceOpener& printers) {
        err.str("");
        fake::MemoryProfile profile;
        fake::FixedClock clock;
        fake::FakeEnumerator enumerator;
        fake::FakeDeviceOpener outputs;
        cli::CliServices services{profile, clock, enumerator, printers, outputs, holdTicks};
        std::ostringstream out;
        return cli::RunCli({"-p", kPath, "density", "5"}, services, out, err);
    }

    // Makes the node give the fault; returns an fd to close after the job, or -1.
    int Sabotage(const MockUsbDevice& printer, Node node) {
        const std::string file = bus.NodeFile(printer);
        ::unlink(file.c_str());
        switch (node) {
        case Node::Missing:
            bus.MakeNodeVanish(printer);
            return -1;
        case Node::DevFull:
            EXPECT_EQ(::symlink("/dev/full", file.c_str()), 0);
            return -1;
        case Node::FifoWithoutReader:
            EXPECT_EQ(::mkfifo(file.c_str(), 0600), 0);
            return -1;
        case Node::StalledFifo: {
            // A reader that holds the FIFO open and never reads, and a pipe already full.
            EXPECT_EQ(::mkfifo(file.c_str(), 0600), 0);
            m_reader = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            const int fd = ::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            const std::string block(4096, 'x');
            while (::write(fd, block.data(), block.size()) > 0) {
            }
            ::close(fd);
            return m_reader;
        }
        default:
            return -1;
        }
    }

    MockUsbBus& bus;
    fake::FakeTicks holdTicks;
    std::ostringstream err;

private:
    int m_reader = -1;
};

class SystemCallFaults : public DeviceFaults {};
class NodeFaults : public DeviceFaults {};

TEST_P(SystemCallFaults, GiveTheRightMessageAndTheNextJobWorks) {
    const Fault& f = GetParam();
    fake::FakeTicks ticks;
    ScriptedCalls calls(ticks);
    calls.openError = f.openError;
    calls.writes.assign(f.writes.begin(), f.writes.end());
    calls.stalled = f.stalled;
    PosixDeviceOpener printers(calls, &ticks);

    EXPECT_EQ(Density(printers), f.result == Result::Sent ? cli::EXIT_DONE : cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(), Expected(f));
    if (f.result == Result::Sent) {
        EXPECT_EQ(calls.received, kJob); // whole, in order, nothing between
    }
    if (f.stalled) {
        EXPECT_GE(ticks.now - 1000, DEVICE_STALL_LIMIT_MS);
    }

    calls.openError = 0;
    calls.writes.clear();
    calls.stalled = false;
    calls.received.clear();
    EXPECT_EQ(Density(printers), cli::EXIT_DONE);
    EXPECT_EQ(calls.received, kJob);
}

TEST_P(SystemCallFaults, InTheWindowTheWaitCursorShowsAndTheNextJobWorks) {
    const Fault& f = GetParam();
    testing::FakePlatform platform;
    platform.AddPrinter(kPath);
    ScriptedCalls calls(platform.ticks);
    calls.openError = f.openError;
    calls.writes.assign(f.writes.begin(), f.writes.end());
    calls.stalled = f.stalled;
    int cursorWhileWaiting = -1;
    calls.onWait = [&] { cursorWhileWaiting = platform.cursor.depth; };
    PosixDeviceOpener printers(calls, &platform.ticks);
    ScopedServices usePrinters{&Services::deviceOpener, &printers};
    const FuncTableEntry noRows[MAX_FUNC_PAGES] = {};
    CBrimwellDlg window(noRows);
    auto* page = new SendingPage(&window);
    window.m_apPages[0] = page;

    EXPECT_EQ(page->Send(kJob), f.result == Result::Sent);
    if (f.result == Result::Sent) {
        EXPECT_TRUE(platform.box.shown.empty());
    } else {
        ASSERT_EQ(platform.box.shown.size(), 1u);
        EXPECT_EQ(platform.box.shown[0].text, ExpectedInWindow(f));
    }
    if (f.stalled || f.name == std::string("EAGAIN")) {
        EXPECT_EQ(cursorWhileWaiting, 1);
    }
    EXPECT_EQ(platform.cursor.depth, 0);

    calls.openError = 0;
    calls.writes.clear();
    calls.stalled = false;
    calls.received.clear();
    platform.box.shown.clear();
    EXPECT_TRUE(page->Send(kJob));
    EXPECT_EQ(calls.received, kJob);
    EXPECT_TRUE(platform.box.shown.empty());
}

TEST_P(NodeFaults, GiveTheRightMessageAndTheNextJobWorks) {
    const Fault& f = GetParam();
    const MockUsbDevice printer = bus.AddPrinter(0x1203, 0x0126, 1, 0);
    PosixDeviceOpener printers(SystemPosixCalls(), nullptr, /*stallLimitMs=*/100);
    const int keep = Sabotage(printer, f.node);

    EXPECT_EQ(Density(printers), cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(), Expected(f));
    if (keep >= 0) {
        ::close(keep);
    }

    bus.RestoreNode(printer);
    EXPECT_EQ(Density(printers), cli::EXIT_DONE);
    EXPECT_EQ(bus.ReadNode(printer), kJob);
}

std::string FaultName(const ::testing::TestParamInfo<Fault>& info) {
    return info.param.name;
}

std::vector<Fault> FaultsWithANode() {
    std::vector<Fault> faults;
    std::copy_if(std::begin(kFaults), std::end(kFaults), std::back_inserter(faults),
                 [](const Fault& f) { return f.node != Node::None; });
    return faults;
}

INSTANTIATE_TEST_SUITE_P(Matrix, SystemCallFaults, ::testing::ValuesIn(kFaults), FaultName);
INSTANTIATE_TEST_SUITE_P(Matrix, NodeFaults, ::testing::ValuesIn(FaultsWithANode()), FaultName);

} // namespace
} // namespace brimwell::test
