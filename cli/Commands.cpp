#include "cli/Commands.h"

#include "printer/PrinterIdentification.h"
#include "printer/PrinterJob.h"

#include <algorithm>
#include <limits>

namespace brimwell::cli {
namespace {

const char* kUsage = "usage: brimwell-cli [-o FILE | -p PATH | --all] COMMAND [ARGS...]\n"
                     "       brimwell-cli --help | --version\n";

void PrintHelp(std::ostream& out) {
    out << kUsage << "\nCommands:\n";
    for (const Command& c : AllCommands()) {
        std::string line = std::string(c.name) + " " + c.arguments;
        line.resize(std::max<std::size_t>(line.size() + 2, 60), ' ');
        out << "  " << line << c.summary << "\n";
    }
    out << "\nWhere a job goes:\n"
           "  -o FILE, --output FILE   write the job's bytes to FILE ('-' is standard output);\n"
           "                           FILE is replaced only when the whole job was written\n"
           "  -p PATH, --printer PATH  send the job to the printer device at PATH\n"
           "  --all                    send the job to every printer that 'list' shows, one\n"
           "                           line per printer on standard error ('PATH: sent')\n"
           "  (none of them)           send the job to the first printer that 'list' shows\n"
           "\nTester T: an index 0-9, a code 1000-1009 or a display name as 'testers' lists.\n"
           "TIME: YYYY-MM-DD HH:MM:SS, local time.\n"
           "\nSet up every connected printer:\n"
           "  brimwell-cli --all tester-type --tester 4 --user-name \"LAB 3\"\n"
           "  brimwell-cli --all logo pass pass.bmp && brimwell-cli --all logo fail fail.bmp\n"
           "  brimwell-cli --all density 10 && brimwell-cli --all clock\n"
           "\nExit status: 0 done (with --all: every printer took the job), 1 a printer could\n"
           "not be used, 2 usage error, 3 input refused.\n";
}

// How one job went to one destination.
struct Delivery {
    bool ok = false;
    std::string message;       // the transport's message when not ok
    bool accessDenied = false; // the open was refused for lack of permission
};

// One job to one destination, as the window sends it: open, the whole job in one write,
// commit (a file replaces its target), then the hold a printer needs.
Delivery DeliverTo(const std::vector<std::uint8_t>& bytes, IDeviceOpener& opener,
                   const std::string& path, bool toPrinter, ITickSource& ticks) {
    CPrinterJob job(opener, ticks);
    if (!job.Open(path)) {
        return {false, FormatMessage(kMsgCantOpen, path),
                job.OpenError() == DeviceOpenError::AccessDenied};
    }
    const bool fits = bytes.size() <= std::numeric_limits<std::uint32_t>::max();
    if (!fits || !job.SpoolBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size())) ||
        !job.Write() || !job.Commit()) {
        const bool memory = !fits || job.LastFailure() == CPrinterJob::Failure::NoMemory;
        job.CloseNow();
        return {false,
                memory ? std::string(kMsgSpoolMemory) : FormatMessage(kMsgWriteFailure, path),
                false};
    }
    if (toPrinter) {
        job.Close(JOB_HOLD_MS); // the same hold as from the window
    } else {
        job.CloseNow();
    }
    return {true, "", false};
}

void ReportFailure(const Delivery& d, std::ostream& err) {
    err << d.message << "\n";
    if (d.accessDenied) {
        err << kPermissionHint << "\n";
    }
}

// The job to every listed printer in turn; one line per printer. Returns the exit status.
int DeliverToAll(const Outcome& outcome, CliServices& services, std::ostream& err) {
    const auto listed = ListPrinters(services.enumerator);
    if (listed.empty()) {
        err << kNoPrinterFound << "\n";
        return EXIT_PRINTER;
    }
    bool allSent = true;
    bool anySent = false;
    bool anyDenied = false;
    for (const ListedPrinter& printer : listed) {
        const Delivery d = DeliverTo(outcome.job, services.printerOpener, printer.devicePath, true,
                                     services.ticks);
        if (d.ok) {
            err << printer.devicePath << ": sent\n";
        } else {
            err << d.message << "\n";
        }
        allSent = allSent && d.ok;
        anySent = anySent || d.ok;
        anyDenied = anyDenied || d.accessDenied;
    }
    if (anyDenied) {
        err << kPermissionHint << "\n";
    }
    if (anySent && outcome.powerCycleAdvice) {
        err << kPowerCycleAdvice << "\n";
    }
    return allSent ? EXIT_DONE : EXIT_PRINTER;
}

// Sends the job, in one write, to its destination. Returns the exit status.
int Deliver(const Outcome& outcome, const std::optional<std::string>& output,
            const std::optional<std::string>& printer, CliServices& services, std::ostream& err) {
    std::string path;
    bool toPrinter = true;
    if (outcome.file || output) {
        path = outcome.file ? *outcome.file : *output;
        toPrinter = false;
    } else if (printer) {
        path = *printer;
    } else {
        const auto listed = ListPrinters(services.enumerator);
        if (listed.empty()) {
            err << kNoPrinterFound << "\n";
            return EXIT_PRINTER;
        }
        path = listed.front().devicePath;
    }
    IDeviceOpener& opener = toPrinter ? services.printerOpener : services.outputOpener;
    const Delivery d = DeliverTo(outcome.job, opener, path, toPrinter, services.ticks);
    if (!d.ok) {
        // The permission hint is about printers; a file the user cannot write needs none.
        ReportFailure(Delivery{false, d.message, d.accessDenied && toPrinter}, err);
        return EXIT_PRINTER;
    }
    // The advice is about the printer: after writing a file there is nothing to turn off.
    if (toPrinter && outcome.powerCycleAdvice) {
        err << kPowerCycleAdvice << "\n";
    }
    return EXIT_DONE;
}

} // namespace

const char* const kPermissionHint =
    "This user may not write to the printer: install the udev rule that comes with "
    "brimwell-cli (70-brimwell.rules, see the README) or join group lp, then log in again.";

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"list", "[--json]", "list the printers found", &RunList, false},
        {"testers", "", "list the tester types; * marks the stored one", &RunTesters, false},
        {"tester-type", "[--tester T] [--user-name TEXT]", "store the tester type (MODE.MOD)",
         &RunTesterType},
        {"density", "N", "set the print density, 1 (light) to 15 (dark)", &RunDensity},
        {"clock", "[--at TIME]", "set the printer's clock", &RunClock},
        {"label", "pass|fail [--tester T] [--at TIME]", "print a test label", &RunLabel},
        {"logo", "pass|fail FILE [--rotate] [--invert] ... [--pcx OUT]",
         "store the pass or fail logo", &RunLogo},
        {"firmware", "FILE", "replace the printer's label program", &RunFirmware},
        {"preview", "FILE [--rotate] [--invert] ... --png OUT", "draw the label preview",
         &RunPreview, false},
    };
    return commands;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& c : AllCommands()) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
}

int RunCli(const std::vector<std::string>& args, CliServices& services, std::ostream& out,
           std::ostream& err) {
    std::optional<std::string> output;
    std::optional<std::string> printer;
    bool all = false;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            PrintHelp(out);
            return EXIT_DONE;
        }
        if (a == "--version") {
            out << "brimwell-cli " << BRIMWELL_VERSION << "\n";
            return EXIT_DONE;
        }
        auto value = [&](std::optional<std::string>& target) {
            if (i + 1 >= args.size()) {
                return false;
            }
            target = args[++i];
            return true;
        };
        if (a == "-o" || a == "--output") {
            if (!value(output)) {
                err << "brimwell-cli: " << a << " needs a FILE\n" << kUsage;
                return EXIT_USAGE;
            }
        } else if (a.rfind("--output=", 0) == 0) {
            output = a.substr(9);
        } else if (a == "-p" || a == "--printer") {
            if (!value(printer)) {
                err << "brimwell-cli: " << a << " needs a PATH\n" << kUsage;
                return EXIT_USAGE;
            }
        } else if (a.rfind("--printer=", 0) == 0) {
            printer = a.substr(10);
        } else if (a == "--all") {
            all = true;
        } else {
            rest.push_back(a);
        }
    }
    if (output && printer) {
        err << "brimwell-cli: -o and -p cannot be used together\n" << kUsage;
        return EXIT_USAGE;
    }
    if (all && (output || printer)) {
        err << "brimwell-cli: --all cannot be used with -o or -p\n" << kUsage;
        return EXIT_USAGE;
    }
    if (rest.empty()) {
        err << "brimwell-cli: no command given\n" << kUsage;
        return EXIT_USAGE;
    }
    const Command* command = FindCommand(rest.front());
    if (!command) {
        err << "brimwell-cli: unknown command '" << rest.front() << "'\n" << kUsage;
        return EXIT_USAGE;
    }
    if (all && !command->sendsJob) {
        err << "brimwell-cli: --all needs a command that sends a job\n" << kUsage;
        return EXIT_USAGE;
    }
    Context ctx{std::vector<std::string>(rest.begin() + 1, rest.end()), services.profile,
                services.clock, services.enumerator, out};
    const Outcome outcome = command->run(ctx);
    if (outcome.status != EXIT_DONE) {
        if (outcome.status == EXIT_USAGE) {
            err << "brimwell-cli: " << outcome.message << "\nusage: brimwell-cli " << command->name
                << " " << command->arguments << "\n";
        } else {
            err << outcome.message << "\n";
        }
        return outcome.status;
    }
    if (!outcome.deliver) {
        return EXIT_DONE;
    }
    if (all) {
        if (outcome.file) {
            err << "brimwell-cli: --all sends to printers; a job written to a file (--pcx) "
                   "cannot go with it\n"
                << kUsage;
            return EXIT_USAGE;
        }
        return DeliverToAll(outcome, services, err);
    }
    return Deliver(outcome, output, printer, services, err);
}

} // namespace brimwell::cli
