#include "cli/Commands.h"

#include "printer/PrinterIdentification.h"
#include "printer/PrinterJob.h"

#include <algorithm>

namespace brimwell::cli {
namespace {

const char* kUsage = "usage: brimwell-cli [-o FILE | -p PATH] COMMAND [ARGS...]\n"
                     "       brimwell-cli --help | --version\n";

void PrintHelp(std::ostream& out) {
    out << kUsage << "\nCommands:\n";
    for (const Command& c : AllCommands()) {
        std::string line = std::string(c.name) + " " + c.arguments;
        line.resize(std::max<std::size_t>(line.size() + 2, 60), ' ');
        out << "  " << line << c.summary << "\n";
    }
    out << "\nWhere a job goes:\n"
           "  -o FILE, --output FILE   write the job's bytes to FILE ('-' is standard output)\n"
           "  -p PATH, --printer PATH  send the job to the printer device at PATH\n"
           "  (neither)                send the job to the first printer that 'list' shows\n"
           "\nTester T: an index 0-9, a code 1000-1009 or a display name as listed.\n"
           "TIME: YYYY-MM-DD HH:MM:SS, local time.\n"
           "\nExit status: 0 done, 1 printer could not be used, 2 usage error, 3 input refused.\n";
}

// Sends the job, in one write, to the destination. Returns the exit status.
int Deliver(const Outcome& outcome, const std::optional<std::string>& output,
            const std::optional<std::string>& printer, CliServices& services, std::ostream& err) {
    std::string path;
    IDeviceOpener* opener = &services.printerOpener;
    if (output) {
        path = *output;
        opener = &services.outputOpener;
    } else if (printer) {
        path = *printer;
    } else {
        std::vector<RawDeviceInterface> raw;
        services.enumerator.Enumerate(raw);
        const auto listed = FilterPrinters(raw);
        if (listed.empty()) {
            err << kNoPrinterFound << "\n";
            return EXIT_PRINTER;
        }
        path = listed.front().devicePath;
    }
    CPrinterJob job(*opener, services.ticks);
    if (!job.Open(path)) {
        err << FormatMessage(kMsgCantOpen, path) << "\n";
        return EXIT_PRINTER;
    }
    const auto length = static_cast<std::uint32_t>(outcome.job.size());
    if (!job.SpoolBytes(outcome.job.data(), length) || !job.Write()) {
        const bool memory = job.LastFailure() == CPrinterJob::Failure::NoMemory;
        job.Close(0);
        err << (memory ? std::string(kMsgSpoolMemory) : FormatMessage(kMsgWriteFailure, path))
            << "\n";
        return EXIT_PRINTER;
    }
    // A file needs no hold; a printer gets the same settling time as from the window.
    job.Close(output ? 0 : 500);
    if (outcome.powerCycleAdvice) {
        err << kPowerCycleAdvice << "\n";
    }
    return EXIT_DONE;
}

} // namespace

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"list", "", "list the printers found", &RunList},
        {"tester-type", "[--tester T] [--user-name TEXT]", "store the tester type (MODE.MOD)",
         &RunTesterType},
        {"density", "N", "set the print density, 1 (light) to 15 (dark)", &RunDensity},
        {"clock", "[--at TIME]", "set the printer's clock", &RunClock},
        {"label", "pass|fail [--tester T] [--at TIME]", "print a test label", &RunLabel},
        {"logo", "pass|fail FILE [--rotate] [--invert] ... [--pcx OUT]",
         "store the pass or fail logo", &RunLogo},
        {"firmware", "FILE", "replace the printer's label program", &RunFirmware},
        {"preview", "FILE [--rotate] [--invert] ... --png OUT", "draw the label preview",
         &RunPreview},
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
        } else {
            rest.push_back(a);
        }
    }
    if (output && printer) {
        err << "brimwell-cli: -o and -p cannot be used together\n" << kUsage;
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
    return Deliver(outcome, output, printer, services, err);
}

} // namespace brimwell::cli
