#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/Doctor.h"
#include "text/AsciiCase.h"
#include "text/Translate.h"

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

// The texts below are the doctor's, in the current catalogue's language: under --json, which
// runs in English, its checks read the same in every language. Commands (sudo modprobe ...),
// file names, drivers and groups stay as they are written in every message.

// The name of a check, for one device: %s is its bus position or instance identifier.
std::string CheckName(const char* name, const std::string& device) {
    return Fmt(name, {device});
}

const char* const kCheckCable =
    N_("Switch the printer on and check its USB cable at both ends (through an adapter: the "
       "adapter's cable too); try another USB port or cable.");
// TRANSLATORS: 'doctor' is the command's name, as typed.
const char* const kReplug = N_("Unplug the printer, plug it in again and run doctor again.");
const char* const kCheckUdev = N_("Check that udev is running (systemctl status systemd-udevd).");

// ---- Linux ----

DoctorCheck PosixDriverCheck(const PosixBusFacts& bus, const PosixUsbDevice& d) {
    // TRANSLATORS: the name of a check of the doctor; %s is a USB bus position (1-1.4).
    const std::string check = CheckName(Tr("driver %s"), d.position);
    if (!d.printerInterface) {
        return Failed(check, Tr("the device shows no printer interface"), Tr(kReplug));
    }
    // A node of the interface is usblp's, whoever the system names as bound.
    if (d.driver == "usblp" || (d.driver.empty() && !d.node.empty())) {
        if (d.node.empty()) {
            return Failed(check, Tr("usblp is bound but there is no /dev/usb/lp node"),
                          Tr("Check that udev is running (systemctl status systemd-udevd), then "
                             "unplug the printer and plug it in again."));
        }
        // TRANSLATORS: %s is a device node (/dev/usb/lp0).
        return Ok(check, Fmt(Tr("usblp is bound; the printer's node is %s"), {d.node}));
    }
    if (!d.driver.empty()) {
        // TRANSLATORS: %s is the name of a Linux driver.
        const char* found = Tr("the printer interface is held by the driver '%s', not by usblp");
        if (d.driver == "usbfs") {
            // TRANSLATORS: %s is the name of a Linux driver (usbfs).
            found = Tr("the printer interface is held by the driver '%s', not by usblp (a program "
                       "using it through libusb)");
        }
        return Failed(check, Fmt(found, {d.driver}),
                      Tr("Close the program that took the printer, then unplug the printer and "
                         "plug it in again."));
    }
    if (!bus.blacklists.empty()) {
        // TRANSLATORS: %s is a list of files, separated by commas.
        const char* found = Tr("no printer driver is bound: usblp is blacklisted in %s");
        // TRANSLATORS: %s is a file's path.
        const char* remedy = Tr("Remove the line naming usblp from %s, run 'sudo modprobe usblp' "
                                "and plug the printer in again.");
        return Failed(check, Fmt(found, {Joined(bus.blacklists)}),
                      Fmt(remedy, {bus.blacklists.front()}));
    }
    if (!bus.usblpLoaded) {
        return Failed(check, Tr("no printer driver is bound: the usblp module is not loaded"),
                      Tr("Load it with 'sudo modprobe usblp' (at every start: "
                         "'echo usblp | sudo tee /etc/modules-load.d/usblp.conf')."));
    }
    return Failed(check, Tr("no printer driver is bound, though usblp is loaded"),
                  Tr("Unplug the printer and plug it in again; if it stays unbound, run "
                     "'sudo modprobe -r usblp && sudo modprobe usblp'."));
}

const char* const kHolderRemedy =
    N_("Close that program or wait until it is done; for a print spooler (CUPS), delete the "
       "queue that uses this printer or stop it with 'sudo systemctl stop cups'.");

// What was found about the user's access to the node: the refusal, then, when it was for lack
// of permission, one clause for each fact about the access, all joined with "; ".
std::string PosixAccessFound(const PosixBusFacts& bus, const PosixUsbDevice& d,
                             const std::string& group) {
    std::vector<std::string> clauses;
    if (bus.user.empty()) {
        // TRANSLATORS: %1$s is a device node (/dev/usb/lp0), %2$s the system's reason.
        const char* refused = Tr("this user cannot open %1$s for writing: %2$s");
        clauses.push_back(Fmt(refused, {d.node, d.open.reason}));
    } else {
        // TRANSLATORS: %1$s is a user name, %2$s a device node, %3$s the system's reason.
        const char* refused = Tr("this user (%1$s) cannot open %2$s for writing: %3$s");
        clauses.push_back(Fmt(refused, {bus.user, d.node, d.open.reason}));
    }
    if (!d.open.accessDenied) {
        return clauses.front();
    }
    if (bus.rules.empty()) {
        // TRANSLATORS: the clauses after "this user cannot open ... for writing: ..." each
        // follow a "; ".
        clauses.push_back(Tr("no udev rule for the printer is installed"));
    } else {
        // TRANSLATORS: %s is a list of udev rule files, separated by commas.
        clauses.push_back(Fmt(Tr("the udev rule %s is installed"), {Joined(bus.rules)}));
    }
    clauses.push_back(d.aclForUser ? Tr("the session has an access entry (uaccess)")
                                   : Tr("the session has no access entry (uaccess)"));
    const char* membership;
    if (d.inGroupNow) {
        // TRANSLATORS: %s is a group's name (lp).
        membership = Tr("the session is in group %s");
    } else if (d.inGroupListed) {
        // TRANSLATORS: %s is a group's name (lp).
        membership = Tr("the user was added to group %s after this session started");
    } else {
        // TRANSLATORS: %s is a group's name (lp).
        membership = Tr("the user is not in group %s");
    }
    clauses.push_back(Fmt(membership, {group}));
    std::string found;
    for (const std::string& clause : clauses) {
        found += (found.empty() ? "" : "; ") + clause;
    }
    return found;
}

DoctorCheck PosixAccessCheck(const PosixBusFacts& bus, const PosixUsbDevice& d) {
    // TRANSLATORS: the name of a check of the doctor; %s is a USB bus position (1-1.4).
    const std::string check = CheckName(Tr("access %s"), d.position);
    if (d.open.opened && bus.user.empty()) {
        // TRANSLATORS: %s is a device node (/dev/usb/lp0).
        return Ok(check, Fmt(Tr("this user can open %s for writing"), {d.node}));
    }
    if (d.open.opened) {
        // TRANSLATORS: %1$s is a user name, %2$s a device node (/dev/usb/lp0).
        return Ok(check, Fmt(Tr("this user (%1$s) can open %2$s for writing"), {bus.user, d.node}));
    }
    const std::string group = d.nodeGroup.empty() ? "lp" : d.nodeGroup;
    const std::string found = PosixAccessFound(bus, d, group);
    if (!d.open.accessDenied) {
        return Failed(check, found, Tr(d.holders.empty() ? kReplug : kHolderRemedy));
    }
    const std::string user = bus.user.empty() ? "$USER" : bus.user;
    std::string remedy;
    if (d.inGroupListed && !d.inGroupNow) {
        // TRANSLATORS: %s is a group's name (lp).
        remedy = Fmt(Tr("Log out and in again, so that the session gets group %s."), {group});
    } else if (bus.rules.empty()) {
        // TRANSLATORS: %1$s is a group's name (lp), %2$s a user name or $USER.
        remedy = Fmt(Tr("Install the brimwell package (or copy 70-brimwell.rules into "
                        "/etc/udev/rules.d), then unplug the printer and plug it in again; or "
                        "join group %1$s ('sudo usermod -aG %1$s %2$s') and log in again."),
                     {group, user});
    } else {
        // TRANSLATORS: %1$s is a group's name (lp), %2$s a user name or $USER.
        remedy = Fmt(Tr("The rule gives access to the user logged in at this computer's own "
                        "screen: log in there, or run 'sudo udevadm trigger "
                        "--subsystem-match=usbmisc'; or join group %1$s ('sudo usermod -aG %1$s "
                        "%2$s') and log in again."),
                     {group, user});
    }
    return Failed(check, found, remedy);
}

DoctorCheck PosixBusyCheck(const PosixUsbDevice& d) {
    // TRANSLATORS: the name of a check of the doctor; %s is a USB bus position (1-1.4).
    const std::string check = CheckName(Tr("busy %s"), d.position);
    if (d.holders.empty()) {
        // TRANSLATORS: %s is a device node (/dev/usb/lp0).
        return Ok(check, Fmt(Tr("no other process this user can see holds %s open"), {d.node}));
    }
    // TRANSLATORS: %1$s is a device node, %2$s a list of processes, separated by commas.
    const char* held = Tr("%1$s is held open by %2$s");
    return {check, d.open.opened ? Verdict::Warning : Verdict::Failed,
            Fmt(held, {d.node, Joined(d.holders)}), Tr(kHolderRemedy)};
}

void DiagnosePosix(const PosixBusFacts& bus, DoctorReport& report) {
    auto& checks = report.checks;
    // TRANSLATORS: the name of the doctor's check of the USB bus.
    const std::string usb = Tr("usb");
    if (!bus.enumerated) {
        checks.push_back(
            Failed(usb, Tr("the USB devices could not be read from udev"), Tr(kCheckUdev)));
        return;
    }
    if (bus.devices.empty()) {
        checks.push_back(Failed(usb,
                                Tr("no Brimwell printer or USB-to-Parallel adapter on the USB bus"),
                                Tr(kCheckCable)));
        return;
    }
    for (const PosixUsbDevice& d : bus.devices) {
        // TRANSLATORS: the name of a check of the doctor; %s is a USB bus position (1-1.4).
        const std::string check = CheckName(Tr("usb %s"), d.position);
        // TRANSLATORS: %1$s is a device's kind and USB identifiers, %2$s its USB bus position.
        const char* found = Tr("%1$s at USB port %2$s");
        checks.push_back(Ok(check, Fmt(found, {Identity(d.usbId), d.position})));
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
    const char* found;  // marked for the catalogue
    const char* remedy; // marked for the catalogue
};

// TRANSLATORS: the quoted names in the doctor's Windows texts ('USB Printing Support',
// 'Update driver', 'Uninstall device', ...) are Windows' own: write them as Windows shows them
// in your language.
const char* const kReinstall =
    N_("Unplug the printer and plug it in again, so that Windows installs 'USB Printing Support'; "
       "if it stays, right-click the device in Device Manager (devmgmt.msc), choose 'Update "
       "driver' and 'Search automatically for drivers'.");
const char* const kRestartDevice =
    N_("Switch the printer off and on, unplug it and plug it in again; try another USB port or "
       "cable.");

// Device Manager's problem codes (CM_PROB_...) that a printer shows, in words.
const ProblemText kProblems[] = {
    // TRANSLATORS: the problems Windows reports for a device, after the device's name.
    {1, N_("the device is not configured"), kReinstall},
    {10, N_("the device cannot start"), kRestartDevice},
    {18, N_("its driver must be installed again"), kReinstall},
    {22, N_("the device is disabled"),
     N_("In Device Manager (devmgmt.msc), right-click the device and choose 'Enable device'.")},
    {24, N_("the device is not present or not working"), kRestartDevice},
    {28, N_("no driver installed"), kReinstall},
    {29, N_("the device is disabled by the computer's firmware"), kRestartDevice},
    {31, N_("its driver could not be loaded"), kReinstall},
    {32, N_("its driver service is disabled"), kReinstall},
    {39, N_("its driver is missing or damaged"), kReinstall},
    {43, N_("Windows stopped the device because it reported problems"), kRestartDevice},
    {45, N_("the device is not connected"), kCheckCable},
    {47, N_("the device was prepared for safe removal"), kReplug},
};

bool IsGenericUsbDriver(const std::string& service) {
    const std::string s = AsciiLower(service);
    return s == "winusb" || s == "libusbk" || s == "libusb0" || s == "libusb0_x64" ||
           s == "libusbk_x64";
}

std::string GoBackToPrinterDriver(const WinUsbDevice& d) {
    if (d.description.empty()) {
        return Tr("In Device Manager (devmgmt.msc), right-click the device, choose 'Uninstall "
                  "device', tick 'Attempt to remove the driver for this device' (or 'Delete "
                  "the driver software for this device'), then unplug the printer and plug it "
                  "in again: Windows binds 'USB Printing Support' (usbprint) again.");
    }
    // TRANSLATORS: %s is the device's name as Device Manager shows it.
    return Fmt(Tr("In Device Manager (devmgmt.msc), right-click '%s', choose 'Uninstall "
                  "device', tick 'Attempt to remove the driver for this device' (or 'Delete "
                  "the driver software for this device'), then unplug the printer and plug it "
                  "in again: Windows binds 'USB Printing Support' (usbprint) again."),
               {d.description});
}

DoctorCheck WinDeviceCheck(const WinUsbDevice& d) {
    // TRANSLATORS: the name of a check of the doctor; %s is a Windows device instance
    // identifier.
    const std::string check = CheckName(Tr("device %s"), d.instanceId);
    const std::string who = Identity(d.usbId);
    if (!d.hasProblem) {
        // TRANSLATORS: %s is a device's kind and USB identifiers.
        return Ok(check, Fmt(Tr("%s is present"), {who}));
    }
    for (const ProblemText& p : kProblems) {
        if (p.code == d.problem) {
            // TRANSLATORS: %1$s is a device's kind and USB identifiers, %2$s its problem,
            // %3$s the problem's code.
            const char* found = Tr("%1$s: %2$s (problem code %3$s)");
            return Failed(check, Fmt(found, {who, Tr(p.found), std::to_string(p.code)}),
                          Tr(p.remedy));
        }
    }
    // TRANSLATORS: %1$s is a device's kind and USB identifiers, %2$s a problem's code.
    const char* found = Tr("%1$s: Windows reports problem code %2$s");
    return Failed(check, Fmt(found, {who, std::to_string(d.problem)}), Tr(kRestartDevice));
}

DoctorCheck WinDriverCheck(const WinUsbDevice& d) {
    // TRANSLATORS: the name of a check of the doctor; %s is a Windows device instance
    // identifier.
    const std::string check = CheckName(Tr("driver %s"), d.instanceId);
    if (AsciiLower(d.service) == "usbprint") {
        return Ok(check, Tr("the printer driver usbprint (USB Printing Support) is bound"));
    }
    if (d.service.empty()) {
        return Failed(check, Tr("no driver is bound"), Tr(kReinstall));
    }
    if (IsGenericUsbDriver(d.service)) {
        // TRANSLATORS: %s is a driver's name (WinUSB).
        const char* found = Tr("the generic USB driver %s replaced the printer driver, so there "
                               "is no printer interface");
        return Failed(check, Fmt(found, {d.service}), GoBackToPrinterDriver(d));
    }
    // TRANSLATORS: %s is a driver's name.
    return Failed(check, Fmt(Tr("the driver %s is bound, not usbprint"), {d.service}),
                  GoBackToPrinterDriver(d));
}

DoctorCheck WinInterfaceCheck(const WinUsbDevice& d) {
    // TRANSLATORS: the name of a check of the doctor; %s is a Windows device instance
    // identifier.
    const std::string check = CheckName(Tr("interface %s"), d.instanceId);
    if (!d.printerInterface) {
        return Failed(check, Tr("the printer-class interface is missing"),
                      AsciiLower(d.service) == "usbprint" ? std::string(Tr(kReplug))
                                                          : GoBackToPrinterDriver(d));
    }
    if (d.open.opened) {
        // TRANSLATORS: %s is the path of a device interface.
        return Ok(check, Fmt(Tr("%s can be opened for writing"), {d.interfacePath}));
    }
    constexpr int kSharingViolation = 32;
    // TRANSLATORS: %1$s is the path of a device interface, %2$s the system's reason.
    const char* refused = Tr("%1$s cannot be opened for writing: %2$s");
    const char* remedy = Tr(kReplug);
    if (d.open.error == kSharingViolation || d.open.accessDenied) {
        // TRANSLATORS: 'doctor' is the command's name, as typed.
        remedy = Tr("Another program holds the printer (a print queue on its USB port?): close it "
                    "or pause that queue, then run doctor again.");
    }
    return Failed(check, Fmt(refused, {d.interfacePath, d.open.reason}), remedy);
}

void DiagnoseWin(const WinBusFacts& bus, DoctorReport& report) {
    auto& checks = report.checks;
    const std::string usb = Tr("usb");
    if (!bus.enumerated) {
        const char* found = Tr("the USB devices could not be read (SetupAPI refused)");
        // TRANSLATORS: 'doctor' is the command's name, as typed.
        checks.push_back(Failed(usb, found, Tr("Run doctor again; if it stays, restart Windows.")));
        return;
    }
    if (bus.devices.empty()) {
        checks.push_back(
            Failed(usb, Tr("no Brimwell printer or USB-to-Parallel adapter is present"),
                   Tr("Switch the printer on and check its USB cable at both ends (through an "
                      "adapter: the adapter's cable too); try another USB port or cable. In "
                      "Device Manager (devmgmt.msc), 'Show hidden devices' lists a printer that "
                      "Windows knew before.")));
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

const char* VerdictText(Verdict verdict) {
    // TRANSLATORS: the verdicts that start the doctor's lines; the lines' texts start in one
    // column after the longest of the three.
    switch (verdict) {
    case Verdict::Ok:
        return TrCtx("verdict", "ok");
    case Verdict::Warning:
        return TrCtx("verdict", "warning");
    case Verdict::Failed:
        break;
    }
    return TrCtx("verdict", "failed");
}

std::string DoctorText(const DoctorReport& report) {
    std::size_t column = 0;
    for (const Verdict v : {Verdict::Ok, Verdict::Warning, Verdict::Failed}) {
        column = std::max(column, Columns(VerdictText(v)) + 2);
    }
    std::string text;
    for (const DoctorCheck& c : report.checks) {
        const std::string verdict = VerdictText(c.verdict);
        std::string line = verdict + std::string(column - Columns(verdict), ' ');
        // TRANSLATORS: a line of the doctor: %1$s is the check's name, %2$s what was found.
        line += Fmt(Tr("%1$s: %2$s"), {c.check, c.found});
        if (!c.remedy.empty()) {
            // The system's reason may end the finding with its own full stop.
            line += line.back() == '.' ? " " : ". ";
            // TRANSLATORS: ends a line of the doctor that is not ok; %s is what to do.
            line += Fmt(Tr("To do: %s"), {c.remedy});
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
        return Usage(Fmt(Tr("%s takes no arguments but --json"), {"doctor"}));
    }
    if (!ctx.doctor) {
        return Usage(Tr("doctor is not available here"));
    }
    const DoctorReport report = Diagnose(ctx.doctor->Gather(&IsOurUsbId));
    const bool json = args.Last("--json").has_value();
    ctx.out << (json ? DoctorJson(report) + "\n" : DoctorText(report));
    if (report.ready) {
        if (!json) {
            // TRANSLATORS: the doctor's last line when a printer can be written.
            ctx.out << Tr("ready: a printer can be written") << "\n";
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
