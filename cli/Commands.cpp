#include "cli/Commands.h"

#include "printer/JobSequence.h"
#include "printer/PrinterIdentification.h"
#include "printer/PrinterJob.h"

#include <algorithm>
#include <limits>

namespace brimwell::cli {
namespace {

constexpr const char* kProgram = "brimwell-cli";
constexpr const char* kTryHelp = "Try 'brimwell-cli --help'.";

// Writes a message to standard error, every line after the program's name; blank lines of a
// message (the window's paragraphs) are left out, so no line is only the name.
void Say(std::ostream& err, const std::string& message) {
    std::size_t start = 0;
    while (start <= message.size()) {
        auto end = message.find('\n', start);
        if (end == std::string::npos) {
            end = message.size();
        }
        std::string line = message.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            err << kProgram << ": " << line << "\n";
        }
        start = end + 1;
    }
}

// A usage error of the whole command line: what was wrong and where help is.
int UsageError(std::ostream& err, const std::string& what) {
    Say(err, what + "\n" + kTryHelp);
    return EXIT_USAGE;
}

// "logo pass|fail FILE ...": the command's name and what follows it.
std::string CommandLine(const Command& c) {
    return *c.arguments ? std::string(c.name) + " " + c.arguments : std::string(c.name);
}

std::string CommandUsage(const Command& c) {
    return std::string(kProgram) + " " + CommandLine(c);
}

// Summaries start in this column; a longer command line puts its summary on the next line.
constexpr std::size_t kSummaryColumn = 32;

void PrintHelp(std::ostream& out) {
    out << "Usage: brimwell-cli [-o FILE | -p PATH | --all] COMMAND [ARGS...]\n"
           "  or:  brimwell-cli COMMAND --help\n"
           "  or:  brimwell-cli --help | --version\n"
           "Make the jobs of the Brimwell label printer and send them to a printer or a\n"
           "file, without a window.\n"
           "\nCommands:\n";
    for (const Command& c : AllCommands()) {
        std::string line = "  " + CommandLine(c);
        if (line.size() + 2 > kSummaryColumn) {
            line += "\n";
            line.append(kSummaryColumn, ' ');
        } else {
            line.resize(kSummaryColumn, ' ');
        }
        out << line << c.summary << "\n";
    }
    out << "\nOptions:\n"
           "  -o FILE, --output FILE   write the job's bytes to FILE ('-' is standard\n"
           "                           output); FILE is replaced only when the whole job\n"
           "                           was written\n"
           "  -p PATH, --printer PATH  send the job to the printer device at PATH\n"
           "  --all                    send the job to every printer that 'list' shows, one\n"
           "                           line per printer on standard error ('PATH: sent')\n"
           "  -h, --help               show this help; after COMMAND, that command's help\n"
           "  --version                show the version\n"
           "\nWithout -o, -p or --all, a job goes to the first printer that 'list' shows.\n"
           "T is a tester type: an index 0-9, a code 1000-1009 or a name as 'testers'\n"
           "shows it. TIME is YYYY-MM-DD HH:MM:SS, local time.\n"
           "\nExit status:\n"
           "  0  done (with --all: every printer took the job)\n"
           "  1  the printer or the output file could not be used (doctor: no printer\n"
           "     can be written)\n"
           "  2  usage error (unknown command or option, missing argument)\n"
           "  3  the input was refused (a logo or firmware file, a density, a tester)\n"
           "\nExamples:\n"
           "  brimwell-cli doctor\n"
           "  brimwell-cli list\n"
           "  brimwell-cli -o label.txt label pass --tester 3 --at \"2025-03-07 14:05:09\"\n"
           "  brimwell-cli --all tester-type --tester 4 --user-name \"LAB 3\"\n"
           "  brimwell-cli --all logo pass pass.bmp\n"
           "  brimwell-cli --all density 10 && brimwell-cli --all clock\n";
}

void PrintCommandHelp(const Command& c, std::ostream& out) {
    out << "Usage: " << CommandUsage(c) << "\n" << c.details;
    if (c.sendsJob) {
        out << "\nThe job goes to -o FILE, -p PATH or --all, or else to the first printer\n"
               "that 'list' shows: see 'brimwell-cli --help'.\n";
    }
}

// How one job went to one destination.
struct Delivery {
    bool ok = false;
    std::string message;       // the transport's message when not ok
    bool accessDenied = false; // the open was refused for lack of permission
};

// One job to one destination, through the window's own sequence: open, the whole job in one
// write, drain, commit (a file replaces its target), then the hold a printer needs.
Delivery DeliverTo(const std::vector<std::uint8_t>& bytes, IDeviceOpener& opener,
                   const std::string& path, bool toPrinter, ITickSource& ticks) {
    JobRequest request;
    request.devicePath = path;
    request.toPrinter = toPrinter;
    request.holdMs = JOB_HOLD_MS;
    request.build = [&bytes]() -> std::optional<std::string> {
        return std::string(bytes.begin(), bytes.end());
    };
    const JobOutcome outcome = RunJobSequence(opener, ticks, request);
    if (outcome.Sent()) {
        return {true, "", false};
    }
    return {false, JobFailureMessage(outcome, path, /*openReason=*/true),
            outcome.openError == DeviceOpenError::AccessDenied};
}

void ReportFailure(const Delivery& d, std::ostream& err) {
    Say(err, d.message);
    if (d.accessDenied) {
        Say(err, kPermissionHint);
    }
}

// The job to every listed printer in turn; one line per printer. Returns the exit status.
int DeliverToAll(const Outcome& outcome, CliServices& services, std::ostream& err) {
    const auto listed = ListPrinters(services.enumerator);
    if (listed.empty()) {
        Say(err, kNoPrinterFound);
        return EXIT_PRINTER;
    }
    bool allSent = true;
    bool anySent = false;
    bool anyDenied = false;
    for (const ListedPrinter& printer : listed) {
        const Delivery d = DeliverTo(outcome.job, services.printerOpener, printer.devicePath, true,
                                     services.ticks);
        Say(err, d.ok ? printer.devicePath + ": sent" : d.message);
        allSent = allSent && d.ok;
        anySent = anySent || d.ok;
        anyDenied = anyDenied || d.accessDenied;
    }
    if (anyDenied) {
        Say(err, kPermissionHint);
    }
    if (anySent && outcome.powerCycleAdvice) {
        Say(err, kPowerCycleAdvice);
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
            Say(err, kNoPrinterFound);
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
        Say(err, kPowerCycleAdvice);
    }
    return EXIT_DONE;
}

} // namespace

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"list", "[--json]", "list the printers found",
         "List the printers found, one line each: number, name and device path,\n"
         "separated by tabs, in the order the system found them. With none, nothing on\n"
         "standard output and 'No printer found' on standard error; the status is 0.\n"
         "\n"
         "  --json  a JSON array instead: index, kind, name, path, product, vendor\n",
         &RunList, false},
        {"doctor", "[--json]", "say why a printer is not found or usable",
         "Check, one line per check, why a printer is or is not usable: on Linux the\n"
         "printers and adapters on the USB bus, the usblp driver and the /dev/usb/lp\n"
         "node, whether this user may write to it (udev rule, uaccess, group lp) and\n"
         "whether another process holds it; on Windows the devices, their problem\n"
         "codes, their driver (usbprint, not WinUSB, libusbK or libusb0) and the\n"
         "printer interface. Each line gives the verdict (ok, warning, failed), what\n"
         "was found and, where not ok, what to do. Nothing is written to a printer.\n"
         "The status is 0 when a printer can be written, else 1, with the first\n"
         "failed check's remedy as the last line (on standard error).\n"
         "\n"
         "  --json  {\"ready\": true|false, \"checks\": [{\"check\", \"verdict\",\n"
         "          \"found\", \"remedy\"}...]} instead, with the same status\n",
         &RunDoctor, false},
        {"testers", "", "list the tester types; * marks the stored one",
         "List the tester types: index, code and name, separated by tabs. A * marks\n"
         "the stored type, which the jobs use when no --tester is given.\n",
         &RunTesters, false},
        {"tester-type", "[--tester T] [--user-name TEXT]", "store the tester type (MODE.MOD)",
         "Store the tester type on the printer (MODE.MOD), with the user name for the\n"
         "one type that prints it. Then turn the printer off and on again.\n"
         "\n"
         "  --tester T        the tester type: an index 0-9, a code 1000-1009 or a\n"
         "                    name as 'testers' shows it; without it, the stored type\n"
         "  --user-name TEXT  at most 24 characters; sent only for the type that\n"
         "                    prints a user name\n",
         &RunTesterType},
        {"density", "N", "set the print density, 1 (light) to 15 (dark)",
         "Set the print density of the printer.\n"
         "\n"
         "  N  1 (light) to 15 (dark)\n",
         &RunDensity},
        {"clock", "[--at TIME]", "set the printer's clock",
         "Set the printer's clock to the local time now.\n"
         "\n"
         "  --at TIME  this time instead: YYYY-MM-DD HH:MM:SS, local time\n",
         &RunClock},
        {"label", "pass|fail [--tester T] [--at TIME]", "print a test label",
         "Print the test label of a tester type, with the result pass or fail.\n"
         "\n"
         "  --tester T  the tester type: an index 0-9, a code 1000-1009 or a name as\n"
         "              'testers' shows it; without it, the stored type\n"
         "  --at TIME   the date and time on the label instead of now:\n"
         "              YYYY-MM-DD HH:MM:SS, local time\n",
         &RunLabel},
        {"logo", "pass|fail FILE [--rotate] [--invert] ... [--pcx OUT]",
         "store the pass or fail logo",
         "Store the pass logo (LOGO1.PCX) or the fail logo (FAIL.PCX) on the printer,\n"
         "from a BMP or PCX picture of at most 360 x 360 pixels. Then turn the printer\n"
         "off and on again.\n"
         "\n"
         "  --rotate   turn the logo 90 degrees clockwise\n"
         "  --invert   swap black and white\n"
         "             (both may be repeated; they apply in the order given)\n"
         "  --pcx OUT  write only the printer's PCX file to OUT and send nothing\n",
         &RunLogo},
        {"firmware", "FILE", "replace the printer's label program",
         "Replace the printer's label program (AUTO.BAS) from the firmware update\n"
         "FILE, checked and filtered as the window does. Then turn the printer off and\n"
         "on again.\n",
         &RunFirmware},
        {"preview", "FILE [--rotate] [--invert] ... --png OUT",
         "draw the label preview into a PNG file",
         "Draw the label preview of the logo in FILE (610 x 380 pixels, as the logo\n"
         "page shows it) into the PNG file OUT; needs no display. A file that does not\n"
         "load is drawn as its message, which is also reported, with status 3.\n"
         "\n"
         "  --rotate   turn the logo 90 degrees clockwise\n"
         "  --invert   swap black and white\n"
         "             (both may be repeated; they apply in the order given)\n"
         "  --png OUT  the PNG file to write\n",
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
    bool commandHelp = false;
    const Command* command = nullptr;
    std::vector<std::string> commandArgs;
    bool optionsEnded = false; // after the command's "--", every word is the command's
    // The destination options may stand anywhere; before the command every other option is
    // the program's own, after it the command's.
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded) {
            commandArgs.push_back(a);
            continue;
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
                return UsageError(err, "option '" + a + "' needs a FILE");
            }
        } else if (a.rfind("--output=", 0) == 0) {
            output = a.substr(9);
        } else if (a == "-p" || a == "--printer") {
            if (!value(printer)) {
                return UsageError(err, "option '" + a + "' needs a PATH");
            }
        } else if (a.rfind("--printer=", 0) == 0) {
            printer = a.substr(10);
        } else if (a == "--all") {
            all = true;
        } else if (command) {
            commandHelp = commandHelp || a == "--help" || a == "-h";
            optionsEnded = a == "--";
            commandArgs.push_back(a);
        } else if (a == "--help" || a == "-h") {
            PrintHelp(out);
            return EXIT_DONE;
        } else if (a == "--version") {
            out << "brimwell-cli " << BRIMWELL_VERSION << "\n";
            return EXIT_DONE;
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError(err, "unknown option '" + a.substr(0, a.find('=')) + "'");
        } else if (!(command = FindCommand(a))) {
            return UsageError(err, "unknown command '" + a + "'");
        }
    }
    if (commandHelp) {
        PrintCommandHelp(*command, out);
        return EXIT_DONE;
    }
    if (output && printer) {
        return UsageError(err, "-o and -p cannot be used together");
    }
    if (all && (output || printer)) {
        return UsageError(err, "--all cannot be used with -o or -p");
    }
    if (!command) {
        return UsageError(err, "no command given");
    }
    if (all && !command->sendsJob) {
        return UsageError(err, std::string("--all needs a command that sends a job, not ") +
                                   command->name);
    }
    Context ctx{commandArgs, services.profile, services.clock, services.enumerator,
                out,         services.doctor};
    const Outcome outcome = command->run(ctx);
    if (outcome.status != EXIT_DONE) {
        if (outcome.status == EXIT_USAGE) {
            Say(err, outcome.message + "\nusage: " + CommandUsage(*command) + "\n" + kTryHelp);
        } else {
            Say(err, outcome.message);
        }
        return outcome.status;
    }
    Say(err, outcome.note);
    if (!outcome.deliver) {
        return EXIT_DONE;
    }
    if (all) {
        if (outcome.file) {
            return UsageError(err, "--all sends to printers; a job written to a file (--pcx) "
                                   "cannot go with it");
        }
        return DeliverToAll(outcome, services, err);
    }
    return Deliver(outcome, output, printer, services, err);
}

} // namespace brimwell::cli
