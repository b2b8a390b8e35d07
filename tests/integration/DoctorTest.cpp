// `brimwell-cli doctor` on an emulated USB bus: the real udev probe, the real command, one row
// per situation a technician meets.
#include "cli/Commands.h"
#include "integration/MockUsbBus.h"
#include "platform/linux/LinuxDoctorProbe.h"
#include "support/CliHarness.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace brimwell::test {
namespace {

// The system calls, with every open of a device node refused for lack of permission (the
// tests run as root, who may open any node).
class DenyingCalls : public IPosixCalls {
public:
    int Open(const char* path, int flags, mode_t mode) override {
        if (deny) {
            errno = EACCES;
            return -1;
        }
        return SystemPosixCalls().Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, std::size_t length) override {
        return SystemPosixCalls().Write(fd, data, length);
    }
    int PollWritable(int fd, int stopFd, int timeoutMs) override {
        return SystemPosixCalls().PollWritable(fd, stopFd, timeoutMs);
    }
    int Close(int fd) override { return SystemPosixCalls().Close(fd); }
    bool deny = false;
};

struct DoctorCase {
    const char* name;
    std::function<void(MockUsbBus&)> plug;
    bool deny;
    int status;
    std::string verdicts; // "check=verdict" of every check, in order, one per line
    std::string remedy;   // found in the last line of standard error; "" when ready
};

void PrintTo(const DoctorCase& c, std::ostream* os) {
    *os << c.name;
}

class Doctor : public ::testing::TestWithParam<DoctorCase>, public CliHarness {
protected:
    void SetUp() override {
        if (!MockUsbBus::Available()) {
            GTEST_SKIP() << "needs umockdev-wrapper";
        }
        MockUsbBus::Get().Clear();
        GetParam().plug(MockUsbBus::Get());
        calls.deny = GetParam().deny;
        services.doctor = &probe;
    }
    void TearDown() override {
        if (MockUsbBus::Available()) {
            MockUsbBus::Get().Clear();
        }
    }
    DenyingCalls calls;
    LinuxDoctorProbe probe{calls};
};

// "check=verdict" of each line of the text report.
std::string Verdicts(const std::string& text) {
    std::string verdicts;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        const auto colon = line.find(": ");
        if (line.rfind("ready:", 0) == 0 || colon == std::string::npos || line.size() < 9) {
            continue;
        }
        std::string verdict = line.substr(0, line.find(' '));
        verdicts += line.substr(9, colon - 9) + "=" + verdict + "\n";
    }
    return verdicts;
}

TEST_P(Doctor, GivesTheVerdictAndTheRemedy) {
    const DoctorCase& c = GetParam();
    EXPECT_EQ(Exec({"doctor"}), c.status);
    EXPECT_EQ(Verdicts(out.str()), c.verdicts) << out.str();
    if (c.status == 0) {
        EXPECT_EQ(err.str(), "");
        EXPECT_NE(out.str().find("\nready: a printer can be written\n"), std::string::npos);
    } else {
        EXPECT_EQ(err.str().rfind("brimwell-cli: ", 0), 0u) << err.str();
        EXPECT_NE(err.str().find(c.remedy), std::string::npos) << err.str();
    }
    // The JSON verdict is the exit status's, and nothing was written to a node.
    EXPECT_EQ(Exec({"doctor", "--json"}), c.status);
    const std::string ready = c.status == 0 ? "{\"ready\":true," : "{\"ready\":false,";
    EXPECT_EQ(out.str().rfind(ready, 0), 0u) << out.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(MockUsbBus::Get().ReadNode({"", "", "", "/dev/usb/lp0", 0}), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Doctor,
    ::testing::Values(
        DoctorCase{"ReadyPrinter", [](MockUsbBus& bus) { bus.AddPrinter(0x1203, 0x0126, 1, 0); },
                   false, 0, "usb 1-1=ok\ndriver 1-1=ok\naccess 1-1=ok\nbusy 1-1=ok\n", ""},
        DoctorCase{"NothingOnTheBus", [](MockUsbBus& bus) { bus.PlugHidDevice(3, 0); }, false, 1,
                   "usb=failed\n", "check its USB cable"},
        DoctorCase{"NoDriverBound",
                   [](MockUsbBus& bus) { bus.AddPrinterWithoutDriver(0x1203, 0x0126, 2); }, false,
                   1, "usb 1-2=ok\ndriver 1-2=failed\n", "modprobe usblp"},
        DoctorCase{"NodeThisUserMayNotWrite",
                   [](MockUsbBus& bus) { bus.AddPrinter(0x1203, 0x0126, 1, 0); }, true, 1,
                   "usb 1-1=ok\ndriver 1-1=ok\naccess 1-1=failed\nbusy 1-1=ok\n",
                   "and log in again"},
        DoctorCase{"PrinterAndAdapter",
                   [](MockUsbBus& bus) {
                       bus.AddPrinter(0x1203, 0x0126, 1, 0);
                       bus.AddPrinter(0x067B, 0x2305, 2, 1);
                   },
                   false, 0,
                   "usb 1-1=ok\ndriver 1-1=ok\naccess 1-1=ok\nbusy 1-1=ok\n"
                   "usb 1-2=ok\ndriver 1-2=ok\naccess 1-2=ok\nbusy 1-2=ok\n",
                   ""}));

} // namespace
} // namespace brimwell::test
