// The judgement of `doctor` over the facts a probe read: what a fake SetupAPI or udev layer
// reports in, the failed check and its remedy out, on every system.
#include "cli/Commands.h"
#include "cli/Doctor.h"
#include "support/CliHarness.h"

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

using namespace brimwell::cli;

class FixedProbe : public IDoctorProbe {
public:
    explicit FixedProbe(DoctorFacts f) : facts(std::move(f)) {}
    DoctorFacts Gather(const UsbIdFilter&) override { return facts; }
    DoctorFacts facts;
};

WinUsbDevice Win(const char* service, bool iface, bool opened) {
    WinUsbDevice d;
    d.instanceId = "USB\\VID_1203&PID_0126\\5&1";
    d.usbId = {0x1203, 0x0126};
    d.description = "Brimwell";
    d.service = service;
    d.printerInterface = iface;
    d.interfacePath = iface ? "\\\\?\\usb#vid_1203&pid_0126#5&1#{28d78fad}" : "";
    d.open.tried = iface;
    d.open.opened = opened;
    if (iface && !opened) {
        d.open.error = 5;
        d.open.reason = "Access is denied.";
        d.open.accessDenied = true;
    }
    return d;
}

PosixUsbDevice Posix(const char* driver, bool opened) {
    PosixUsbDevice d;
    d.position = "1-1";
    d.usbId = {0x1203, 0x0126};
    d.printerInterface = true;
    d.driver = driver;
    d.node = *driver ? "/dev/usb/lp0" : "";
    d.open = {!d.node.empty(), opened, opened ? 0 : 13, opened ? "" : "Permission denied", !opened};
    d.nodeGroup = "lp";
    return d;
}

struct CheckCase {
    const char* name;
    std::function<DoctorFacts()> facts;
    bool ready;
    std::string failed; // "check=verdict" of the first check not ok, "" when all are
    std::string remedy; // in the first failed check's remedy
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

DoctorFacts WinFacts(std::vector<WinUsbDevice> devices) {
    DoctorFacts f;
    f.windows = true;
    f.win.enumerated = true;
    f.win.devices = std::move(devices);
    return f;
}

DoctorFacts PosixFacts(std::vector<PosixUsbDevice> devices,
                       const std::function<void(PosixBusFacts&)>& edit = {}) {
    DoctorFacts f;
    f.posix.enumerated = true;
    f.posix.user = "tech";
    f.posix.usblpLoaded = true;
    f.posix.devices = std::move(devices);
    if (edit) {
        edit(f.posix);
    }
    return f;
}

class DoctorChecks : public ::testing::TestWithParam<CheckCase>, public CliHarness {};

TEST_P(DoctorChecks, FirstFailedCheckAndItsRemedy) {
    const CheckCase& c = GetParam();
    FixedProbe probe(c.facts());
    services.doctor = &probe;
    const DoctorReport report = Diagnose(probe.facts);
    EXPECT_EQ(report.ready, c.ready);
    std::string first;
    for (const DoctorCheck& check : report.checks) {
        if (check.verdict != Verdict::Ok) {
            first = check.check.substr(0, check.check.find(' ')) + "=" + VerdictName(check.verdict);
            EXPECT_FALSE(check.remedy.empty());
            break;
        }
    }
    EXPECT_EQ(first, c.failed);
    EXPECT_NE(report.FirstRemedy().find(c.remedy), std::string::npos) << report.FirstRemedy();
    // The command's status, its last line and its JSON say the same.
    EXPECT_EQ(Exec({"doctor"}), c.ready ? EXIT_DONE : EXIT_PRINTER);
    EXPECT_EQ(err.str(), c.ready ? "" : "brimwell-cli: " + report.FirstRemedy() + "\n");
    Exec({"doctor", "--json"});
    EXPECT_EQ(out.str().rfind(c.ready ? "{\"ready\":true" : "{\"ready\":false", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DoctorChecks,
    ::testing::Values(
        CheckCase{"WinReady", [] { return WinFacts({Win("usbprint", true, true)}); }, true, "", ""},
        CheckCase{"WinNothingPresent", [] { return WinFacts({}); }, false, "usb=failed",
                  "Show hidden devices"},
        CheckCase{"WinDisabled",
                  [] {
                      WinUsbDevice d = Win("usbprint", false, false);
                      d.hasProblem = true;
                      d.problem = 22;
                      return WinFacts({d});
                  },
                  false, "device=failed", "Enable device"},
        CheckCase{"WinNoDriverInstalled",
                  [] {
                      WinUsbDevice d = Win("", false, false);
                      d.hasProblem = true;
                      d.problem = 28;
                      return WinFacts({d});
                  },
                  false, "device=failed", "USB Printing Support"},
        CheckCase{"WinGenericDriverReplacedIt",
                  [] { return WinFacts({Win("WinUSB", false, false)}); }, false, "driver=failed",
                  "right-click 'Brimwell', choose 'Uninstall device'"},
        CheckCase{"WinLibusbK", [] { return WinFacts({Win("libusbK", false, false)}); }, false,
                  "driver=failed", "Uninstall device"},
        CheckCase{"WinInterfaceMissing", [] { return WinFacts({Win("usbprint", false, false)}); },
                  false, "interface=failed", "plug it in again"},
        CheckCase{"WinInterfaceRefused", [] { return WinFacts({Win("usbprint", true, false)}); },
                  false, "interface=failed", "pause that queue"},
        CheckCase{"WinCompositeParentIsSkipped",
                  [] {
                      return WinFacts({Win("usbccgp", false, false), Win("usbprint", true, true)});
                  },
                  true, "", ""},
        CheckCase{"LinuxBlacklisted",
                  [] {
                      return PosixFacts({Posix("", false)}, [](PosixBusFacts& b) {
                          b.blacklists = {"/etc/modprobe.d/no-usblp.conf"};
                      });
                  },
                  false, "driver=failed", "from /etc/modprobe.d/no-usblp.conf"},
        CheckCase{"LinuxTakenThroughLibusb", [] { return PosixFacts({Posix("usbfs", false)}); },
                  false, "driver=failed", "Close the program"},
        CheckCase{"LinuxNoRuleNoGroup", [] { return PosixFacts({Posix("usblp", false)}); }, false,
                  "access=failed", "Install the brimwell package"},
        CheckCase{"LinuxRuleButNoSeat",
                  [] {
                      return PosixFacts({Posix("usblp", false)}, [](PosixBusFacts& b) {
                          b.rules = {"/usr/lib/udev/rules.d/70-brimwell.rules"};
                      });
                  },
                  false, "access=failed", "logged in at this computer's own screen"},
        CheckCase{"LinuxJoinedGroupNotLoggedInAgain",
                  [] {
                      PosixUsbDevice d = Posix("usblp", false);
                      d.inGroupListed = true;
                      return PosixFacts({d});
                  },
                  false, "access=failed", "Log out and in again"},
        CheckCase{"LinuxHeldBySpooler",
                  [] {
                      PosixUsbDevice d = Posix("usblp", false);
                      d.open = {true, false, 16, "Device or resource busy", false};
                      d.holders = {"usb (pid 812)"};
                      return PosixFacts({d});
                  },
                  false, "access=failed", "systemctl stop cups"},
        CheckCase{"LinuxHeldButWritable",
                  [] {
                      PosixUsbDevice d = Posix("usblp", true);
                      d.holders = {"cat (pid 9)"};
                      return PosixFacts({d});
                  },
                  true, "busy=warning", ""},
        CheckCase{"LinuxUdevRefused", [] { return DoctorFacts{}; }, false, "usb=failed",
                  "systemd-udevd"}));

// The device's line names its kind and the pair it was identified by, in lower-case hex.
TEST(DoctorIdentity, NamesTheKindAndThePair) {
    struct Case {
        DoctorFacts facts;
        std::string line; // the report's first line
    };
    WinUsbDevice adapter = Win("usbprint", true, true);
    adapter.instanceId = "USB\\VID_067B&PID_2305\\5&2";
    adapter.usbId = {0x067B, 0x2305};
    PosixUsbDevice posixAdapter = Posix("usblp", true);
    posixAdapter.usbId = {0x067B, 0x2305};
    const Case cases[] = {
        {WinFacts({Win("usbprint", true, true)}),
         "ok       device USB\\VID_1203&PID_0126\\5&1: Brimwell printer (1203:0126) is present"},
        {WinFacts({adapter}),
         "ok       device USB\\VID_067B&PID_2305\\5&2: USB-to-Parallel adapter (067b:2305) is "
         "present"},
        {PosixFacts({Posix("usblp", true)}),
         "ok       usb 1-1: Brimwell printer (1203:0126) at USB port 1-1"},
        {PosixFacts({posixAdapter}),
         "ok       usb 1-1: USB-to-Parallel adapter (067b:2305) at USB port 1-1"},
    };
    for (const Case& c : cases) {
        const std::string text = DoctorText(Diagnose(c.facts));
        EXPECT_EQ(text.substr(0, text.find('\n')), c.line);
    }
}

} // namespace
} // namespace brimwell::test
