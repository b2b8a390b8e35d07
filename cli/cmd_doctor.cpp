#include "cli/Commands.h"
#include "cli/Doctor.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <cstdio>

namespace brimwell::cli {
namespace {

// "Brimwell printer (1203:0126)": the kind and the pair it was identified by.
std::string Identity(UsbId id) {
    char pair[16];
    std::snprintf(pair, sizeof pair, "%04x:%04x", static_cast<unsigned>(id.vendor),
                  static_cast<unsigned>(id.product));
    return std::string(PrinterKindName(IdentifyPrinterKind(id))) + " (" + pair + ")";
}

DoctorCheck Ok(const std::string& check, const std::string& found) {
    return {check, Verdict::Ok, found, ""};
}

DoctorCheck Failed(const std::string& check, const std::string& found, const std::string& remedy) {
    return {check, Verdict::Failed, found, remedy};
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text;
}

const char* const kCheckCable =
    "Switch the printer on and check its USB cable at both ends (through an adapter: the "
    "adapter's cable too); try another USB port or cable.";
const char* const kReplug = "Unplug the printer, plug it in again and run doctor again.";

// ---- Linux ----

DoctorCheck PosixDriverCheck(const PosixBusFacts& bus, const PosixUsbDevice& d) {
    const std::string check = "driver " + d.position;
    if (!d.printerInterface) {
        return Failed(check, "the device shows no printer interface", kReplug);
    }
    // A node of the interface is usblp's, whoever the system names as bound.
    if (d.driver == "usblp" || (d.driver.empty() && !d.node.empty())) {
        if (d.node.empty()) {
            return Failed(check, "usblp is bound but there is no /dev/usb/lp node",
                          "Check that udev is running (systemctl status systemd-udevd), then "
                          "unplug the printer and plug it in again.");
        }
        return Ok(check, "usblp is bound; the printer's node is " + d.node);
    }
    if (!d.driver.empty()) {
        return Failed(check,
                      "the printer interface is held by the driver '" + d.driver +
                          "', not by usblp" +
                          (d.driver == "usbfs" ? " (a program using it through libusb)" : ""),
                      "Close the program that took the printer, then unplug the printer and "
                      "plug it in again.");
    }
    if (!bus.blacklists.empty()) {
        return Failed(
            check, "no printer driver is bound: usblp is blacklisted in " + Joined(bus.blacklists),
            "Remove the line naming usblp from " + bus.blacklists.front() +
                ", run 'sudo modprobe usblp' and plug the printer in again.");
    }
    if (!bus.usblpLoaded) {
        return Failed(check, "no printer driver is bound: the usblp module is not loaded",
                      "Load it with 'sudo modprobe usblp' (at every start: "
                      "'echo usblp | sudo tee /etc/modules-load.d/usblp.conf').");
    }
    return Failed(check, "no printer driver is bound, though usblp is loaded",
                  "Unplug the printer and plug it in again; if it stays unbound, run "
                  "'sudo modprobe -r usblp && sudo modprobe usblp'.");
}

const char* const kHolderRemedy =
    "Close that program or wait until it is done; for a print spooler (CUPS), delete the queue "
    "that uses this printer or stop it with 'sudo systemctl stop cups'.";

DoctorCheck PosixAccessCheck(const PosixBusFacts& bus, const PosixUsbDevice& d) {
    const std::string check = "access " + d.position;
    const std::string user = bus.user.empty() ? "this user" : "this user (" + bus.user + ")";
    if (d.open.opened) {
        return Ok(check, user + " can open " + d.node + " for writing");
    }
    const std::string refused = user + " cannot open " + d.node + " for writing: " + d.open.reason;
    if (!d.open.accessDenied) {
        return Failed(check, refused, d.holders.empty() ? kReplug : kHolderRemedy);
    }
    const std::string group = d.nodeGroup.empty() ? "lp" : d.nodeGroup;
    std::string found = refused + "; ";
    found += bus.rules.empty() ? "no udev rule for the printer is installed"
                               : "the udev rule " + Joined(bus.rules) + " is installed";
    found += d.aclForUser ? "; the session has an access entry (uaccess)"
                          : "; the session has no access entry (uaccess)";
    if (d.inGroupNow) {
        found += "; the session is in group " + group;
    } else if (d.inGroupListed) {
        found += "; the user was added to group " + group + " after this session started";
    } else {
        found += "; the user is not in group " + group;
    }
    const std::string join = "join group " + group + " ('sudo usermod -aG " + group + " " +
                             (bus.user.empty() ? "$USER" : bus.user) + "') and log in again";
    std::string remedy;
    if (d.inGroupListed && !d.inGroupNow) {
        remedy = "Log out and in again, so that the session gets group " + group + ".";
    } else if (bus.rules.empty()) {
        remedy = "Install the brimwell package (or copy 70-brimwell.rules into "
                 "/etc/udev/rules.d), then unplug the printer and plug it in again; or " +
                 join + ".";
    } else {
        remedy = "The rule gives access to the user logged in at this computer's own screen: "
                 "log in there, or run 'sudo udevadm trigger --subsystem-match=usbmisc'; or " +
                 join + ".";
    }
    return Failed(check, found, remedy);
}

DoctorCheck PosixBusyCheck(const PosixUsbDevice& d) {
    const std::string check = "busy " + d.position;
    if (d.holders.empty()) {
        return Ok(check, "no other process this user can see holds " + d.node + " open");
    }
    return {check, d.open.opened ? Verdict::Warning : Verdict::Failed,
            d.node + " is held open by " + Joined(d.holders), kHolderRemedy};
}

void DiagnosePosix(const PosixBusFacts& bus, DoctorReport& report) {
    auto& checks = report.checks;
    if (!bus.enumerated) {
        checks.push_back(Failed("usb", "the USB devices could not be read from udev",
                                "Check that udev is running (systemctl status systemd-udevd)."));
        return;
    }
    if (bus.devices.empty()) {
        checks.push_back(Failed(
            "usb", "no Brimwell printer or USB-to-Parallel adapter on the USB bus", kCheckCable));
        return;
    }
    for (const PosixUsbDevice& d : bus.devices) {
        checks.push_back(Ok("usb " + d.position, Identity(d.usbId) + " at USB port " + d.position));
        checks.push_back(PosixDriverCheck(bus, d));
        if (d.node.empty()) {
            continue;
        }
        checks.push_back(PosixAccessCheck(bus, d));
        checks.push_back(PosixBusyCheck(d));
        report.ready = report.ready || d.open.opened;
    }
}

// ---- Windows ----

struct ProblemText {
    unsigned long code;
    const char* found;
    const char* remedy;
};

const char* const kReinstall =
    "Unplug the printer and plug it in again, so that Windows installs 'USB Printing Support'; "
    "if it stays, right-click the device in Device Manager (devmgmt.msc), choose 'Update "
    "driver' and 'Search automatically for drivers'.";
const char* const kRestartDevice =
    "Switch the printer off and on, unplug it and plug it in again; try another USB port or "
    "cable.";

// Device Manager's problem codes (CM_PROB_...) that a printer shows, in words.
const ProblemText kProblems[] = {
    {1, "the device is not configured", kReinstall},
    {10, "the device cannot start", kRestartDevice},
    {18, "its driver must be installed again", kReinstall},
    {22, "the device is disabled",
     "In Device Manager (devmgmt.msc), right-click the device and choose 'Enable device'."},
    {24, "the device is not present or not working", kRestartDevice},
    {28, "no driver installed", kReinstall},
    {29, "the device is disabled by the computer's firmware", kRestartDevice},
    {31, "its driver could not be loaded", kReinstall},
    {32, "its driver service is disabled", kReinstall},
    {39, "its driver is missing or damaged", kReinstall},
    {43, "Windows stopped the device because it reported problems", kRestartDevice},
    {45, "the device is not connected", kCheckCable},
    {47, "the device was prepared for safe removal", kReplug},
};

bool IsGenericUsbDriver(const std::string& service) {
    const std::string s = AsciiLower(service);
    return s == "winusb" || s == "libusbk" || s == "libusb0" || s == "libusb0_x64" ||
           s == "libusbk_x64";
}

std::string GoBackToPrinterDriver(const WinUsbDevice& d) {
    const std::string name = d.description.empty() ? "the device" : "'" + d.description + "'";
    return "In Device Manager (devmgmt.msc), right-click " + name +
           ", choose 'Uninstall device', tick 'Attempt to remove the driver for this device' "
           "(or 'Delete the driver software for this device'), then unplug the printer and "
           "plug it in again: Windows binds 'USB Printing Support' (usbprint) again.";
}

DoctorCheck WinDeviceCheck(const WinUsbDevice& d) {
    const std::string check = "device " + d.instanceId;
    const std::string who = Identity(d.usbId);
    if (!d.hasProblem) {
        return Ok(check, who + " is present");
    }
    for (const ProblemText& p : kProblems) {
        if (p.code == d.problem) {
            return Failed(check,
                          who + ": " + p.found + " (problem code " + std::to_string(p.code) + ")",
                          p.remedy);
        }
    }
    return Failed(check, who + ": Windows reports problem code " + std::to_string(d.problem),
                  kRestartDevice);
}

DoctorCheck WinDriverCheck(const WinUsbDevice& d) {
    const std::string check = "driver " + d.instanceId;
    if (AsciiLower(d.service) == "usbprint") {
        return Ok(check, "the printer driver usbprint (USB Printing Support) is bound");
    }
    if (d.service.empty()) {
        return Failed(check, "no driver is bound", kReinstall);
    }
    if (IsGenericUsbDriver(d.service)) {
        return Failed(check,
                      "the generic USB driver " + d.service +
                          " replaced the printer driver, so there is no printer interface",
                      GoBackToPrinterDriver(d));
    }
    return Failed(check, "the driver " + d.service + " is bound, not usbprint",
                  GoBackToPrinterDriver(d));
}

DoctorCheck WinInterfaceCheck(const WinUsbDevice& d) {
    const std::string check = "interface " + d.instanceId;
    if (!d.printerInterface) {
        return Failed(check, "the printer-class interface is missing",
                      AsciiLower(d.service) == "usbprint" ? kReplug : GoBackToPrinterDriver(d));
    }
    if (d.open.opened) {
        return Ok(check, d.interfacePath + " can be opened for writing");
    }
    constexpr int kSharingViolation = 32;
    return Failed(check, d.interfacePath + " cannot be opened for writing: " + d.open.reason,
                  d.open.error == kSharingViolation || d.open.accessDenied
                      ? "Another program holds the printer (a print queue on its USB port?): "
                        "close it or pause that queue, then run doctor again."
                      : kReplug);
}

void DiagnoseWin(const WinBusFacts& bus, DoctorReport& report) {
    auto& checks = report.checks;
    if (!bus.enumerated) {
        checks.push_back(Failed("usb", "the USB devices could not be read (SetupAPI refused)",
                                "Run doctor again; if it stays, restart Windows."));
        return;
    }
    if (bus.devices.empty()) {
        checks.push_back(
            Failed("usb", "no Brimwell printer or USB-to-Parallel adapter is present",
                   std::string(kCheckCable) +
                       " In Device Manager (devmgmt.msc), 'Show hidden devices' lists a "
                       "printer that Windows knew before."));
        return;
    }
    for (const WinUsbDevice& d : bus.devices) {
        // A composite device's own node: its printer is the interface node listed beside it.
        if (AsciiLower(d.service) == "usbccgp") {
            continue;
        }
        checks.push_back(WinDeviceCheck(d));
        checks.push_back(WinDriverCheck(d));
        checks.push_back(WinInterfaceCheck(d));
        report.ready = report.ready || (d.printerInterface && d.open.opened);
    }
}

} // namespace

bool IsOurUsbId(UsbId id) {
    return IdentifyPrinterKind(id) != 0;
}

std::string DoctorReport::FirstRemedy() const {
    for (const DoctorCheck& c : checks) {
        if (c.verdict == Verdict::Failed) {
            return c.remedy;
        }
    }
    return "";
}

DoctorReport Diagnose(const DoctorFacts& facts) {
    DoctorReport report;
    if (facts.windows) {
        DiagnoseWin(facts.win, report);
    } else {
        DiagnosePosix(facts.posix, report);
    }
    return report;
}

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::Ok:
        return "ok";
    case Verdict::Warning:
        return "warning";
    case Verdict::Failed:
        break;
    }
    return "failed";
}

std::string DoctorText(const DoctorReport& report) {
    std::string text;
    for (const DoctorCheck& c : report.checks) {
        std::string line = VerdictName(c.verdict);
        line.resize(9, ' ');
        line += c.check + ": " + c.found;
        if (!c.remedy.empty()) {
            // The system's reason may end the finding with its own full stop.
            line += (line.back() == '.' ? " To do: " : ". To do: ") + c.remedy;
        }
        text += line + "\n";
    }
    return text;
}

std::string DoctorJson(const DoctorReport& report) {
    std::string json =
        std::string("{\"ready\":") + (report.ready ? "true" : "false") + ",\"checks\":[";
    for (std::size_t i = 0; i < report.checks.size(); ++i) {
        const DoctorCheck& c = report.checks[i];
        json += i == 0 ? "{" : ",{";
        json += "\"check\":" + JsonString(c.check);
        json += ",\"verdict\":" + JsonString(VerdictName(c.verdict));
        json += ",\"found\":" + JsonString(c.found);
        json += ",\"remedy\":" + JsonString(c.remedy) + "}";
    }
    return json + "]}";
}

Outcome RunDoctor(Context& ctx) {
    const ArgList args(ctx.args, {}, {"--json"});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (!args.positionals().empty()) {
        return Usage("doctor takes no arguments but --json");
    }
    if (!ctx.doctor) {
        return Usage("doctor is not available here");
    }
    const DoctorReport report = Diagnose(ctx.doctor->Gather(&IsOurUsbId));
    const bool json = args.Last("--json").has_value();
    ctx.out << (json ? DoctorJson(report) + "\n" : DoctorText(report));
    if (report.ready) {
        if (!json) {
            ctx.out << "ready: a printer can be written\n";
        }
        return Done();
    }
    Outcome none;
    none.status = EXIT_PRINTER;
    if (!json) {
        none.message = report.FirstRemedy();
    }
    return none;
}

} // namespace brimwell::cli
