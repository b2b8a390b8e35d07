#include "cli/Commands.h"

#include "cli/CliText.h"
#include "printer/JobSequence.h"
#include "printer/PrinterIdentification.h"
#include "printer/PrinterJob.h"
#include "text/Translate.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace brimwell::cli {
namespace {

// The program's name starts every line on standard error, in every language.
constexpr const char* kProgram = "brimwell-cli";
// TRANSLATORS: ends a usage error; keep 'brimwell-cli --help' as it is typed.
constexpr const char* kTryHelp = N_("Try 'brimwell-cli --help'.");

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
    Say(err, what + "\n" + Tr(kTryHelp));
    return EXIT_USAGE;
}

// "logo pass|fail FILE ...": the command's name and what follows it.
std::string CommandLine(const Command& c) {
    return *c.arguments ? std::string(c.name) + " " + c.arguments : std::string(c.name);
}

std::string CommandUsage(const Command& c) {
    return std::string(kProgram) + " " + CommandLine(c);
}

// The usage lines of a help: the first after "Usage:", the others after "or:" (two spaces
// before and after it, as in English), all starting in one column whatever the length of the
// two words in the current language.
std::string UsageLines(const std::vector<std::string>& lines) {
    // TRANSLATORS: starts the first line of a help, before how the program is typed.
    const std::string usage = Tr("Usage:");
    // TRANSLATORS: starts the further lines of "Usage:", right-aligned under it.
    const std::string orWord = Tr("or:");
    const std::size_t column = std::max(Columns(usage) + 1, Columns(orWord) + 4);
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string lead =
            i == 0 ? usage + std::string(column - Columns(usage), ' ')
                   : std::string(column - 2 - Columns(orWord), ' ') + orWord + "  ";
        text += Wrap(lead, lines[i], column + 2);
    }
    return text;
}

// Summaries start in this column; a longer command line puts its summary on the next line.
constexpr std::size_t kSummaryColumn = 32;

void PrintHelp(std::ostream& out) {
    out << UsageLines({"brimwell-cli [-o FILE | -p PATH | --all] COMMAND [ARGS...]",
                       "brimwell-cli COMMAND --help", "brimwell-cli --help | --version"});
    out << Wrap("",
                Tr("Make the jobs of the Brimwell label printer and send them to a printer "
                   "or a file, without a window."),
                0);
    std::vector<std::pair<std::string, std::string>> commands;
    for (const Command& c : AllCommands()) {
        commands.emplace_back(CommandLine(c), Tr(c.summary));
    }
    // TRANSLATORS: a heading of --help; the command lines below it stay as they are typed.
    out << "\n" << Tr("Commands:") << "\n" << Rows(commands, kSummaryColumn);
    const std::vector<std::pair<std::string, std::string>> options = {
        // TRANSLATORS: the options' descriptions in --help. Keep the options (-o, --all, ...),
        // FILE, PATH, COMMAND, the command names ('list') and 'PATH: sent' as they are written;
        // translate 'sent' as the message "%s: sent" is translated.
        {"-o FILE, --output FILE", Tr("write the job's bytes to FILE ('-' is standard output); "
                                      "FILE is replaced only when the whole job was written")},
        {"-p PATH, --printer PATH", Tr("send the job to the printer device at PATH")},
        {"--all", Tr("send the job to every printer that 'list' shows, one line per printer "
                     "on standard error ('PATH: sent')")},
        {"-h, --help", Tr("show this help; after COMMAND, that command's help")},
        {"--version", Tr("show the version")},
    };
    // TRANSLATORS: a heading of --help.
    out << "\n" << Tr("Options:") << "\n" << Rows(options, kSummaryColumn) << "\n";
    const char* destinations =
        // TRANSLATORS: in --help. Keep -o, -p, --all, 'list', 'testers', T, TIME and
        // YYYY-MM-DD HH:MM:SS as they are written.
        Tr("Without -o, -p or --all, a job goes to the first printer that 'list' shows. "
           "T is a tester type: an index 0-9, a code 1000-1009 or a name as 'testers' "
           "shows it. TIME is YYYY-MM-DD HH:MM:SS, local time.");
    out << Wrap("", destinations, 0);
    const std::vector<std::pair<std::string, std::string>> statuses = {
        // TRANSLATORS: the meanings of the exit statuses 0 to 3 in --help.
        {"0", Tr("done (with --all: every printer took the job)")},
        {"1", Tr("the printer or the output file could not be used (doctor: no printer can be "
                 "written)")},
        {"2", Tr("usage error (unknown command or option, missing argument)")},
        {"3", Tr("the input was refused (a logo or firmware file, a density, a tester)")},
    };
    // TRANSLATORS: a heading of --help, above the exit statuses 0 to 3.
    out << "\n" << Tr("Exit status:") << "\n" << Rows(statuses, kSummaryColumn);
    // TRANSLATORS: a heading of --help, above command lines that stay as they are typed.
    const char* examples = Tr("Examples:");
    out << "\n"
        << examples << "\n"
        << "  brimwell-cli doctor\n"
           "  brimwell-cli list\n"
           "  brimwell-cli -o label.txt label pass --tester 3 --at \"2025-03-07 14:05:09\"\n"
           "  brimwell-cli --all tester-type --tester 4 --user-name \"LAB 3\"\n"
           "  brimwell-cli --all logo pass pass.bmp\n"
           "  brimwell-cli --all density 10 && brimwell-cli --all clock\n";
}

void PrintCommandHelp(const Command& c, std::ostream& out) {
    out << UsageLines({CommandUsage(c)}) << Wrap("", Tr(c.details), 0);
    if (!c.rows.empty()) {
        std::vector<std::pair<std::string, std::string>> rows;
        for (const HelpRow& row : c.rows) {
            rows.emplace_back(row.term, Fmt(Tr(row.text), {row.argument}));
        }
        out << "\n" << Rows(rows, kSummaryColumn);
    }
    if (c.sendsJob) {
        const char* destination =
            // TRANSLATORS: ends the help of a command that sends a job. Keep -o FILE, -p PATH,
            // --all, 'list' and 'brimwell-cli --help' as they are written.
            Tr("The job goes to -o FILE, -p PATH or --all, or else to the first printer that "
               "'list' shows: see 'brimwell-cli --help'.");
        out << "\n" << Wrap("", destination, 0);
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
        Say(err, Tr(kPermissionHint));
    }
}

// The job to every listed printer in turn; one line per printer. Returns the exit status.
int DeliverToAll(const Outcome& outcome, CliServices& services, std::ostream& err) {
    const auto listed = ListPrinters(services.enumerator);
    if (listed.empty()) {
        Say(err, Tr(kNoPrinterFound));
        return EXIT_PRINTER;
    }
    bool allSent = true;
    bool anySent = false;
    bool anyDenied = false;
    for (const ListedPrinter& printer : listed) {
        const Delivery d = DeliverTo(outcome.job, services.printerOpener, printer.devicePath, true,
                                     services.ticks);
        // TRANSLATORS: one line per printer after --all; %s is the printer's device path.
        Say(err, d.ok ? Fmt(Tr("%s: sent"), {printer.devicePath}) : d.message);
        allSent = allSent && d.ok;
        anySent = anySent || d.ok;
        anyDenied = anyDenied || d.accessDenied;
    }
    if (anyDenied) {
        Say(err, Tr(kPermissionHint));
    }
    if (anySent && outcome.powerCycleAdvice) {
        Say(err, Tr(kPowerCycleAdvice));
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
            Say(err, Tr(kNoPrinterFound));
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
        Say(err, Tr(kPowerCycleAdvice));
    }
    return EXIT_DONE;
}

} // namespace

// The texts of the table are English, marked for the catalogue; --help translates them where
// it prints them. Command names, option spellings and what follows a name in a usage line
// stay as typed.
const std::vector<Command>& AllCommands() {
    // TRANSLATORS: in the help of logo and preview, after the option --rotate.
    static const char* const kRotate = N_("turn the logo 90 degrees clockwise");
    static const char* const kInvert = N_("swap black and white");
    static const char* const kRepeat = N_("(both may be repeated; they apply in the order given)");
    static const std::vector<Command> commands = {
        {"list",
         "[--json]",
         N_("list the printers found"),
         // TRANSLATORS: keep 'No printer found' as that message is translated.
         N_("List the printers found, one line each: number, name and device path, separated "
            "by tabs, in the order the system found them. With none, nothing on standard "
            "output and 'No printer found' on standard error; the status is 0."),
         // TRANSLATORS: after the option --json; %s are the keys of the JSON objects.
         {{"--json", N_("a JSON array instead: %s"), "index, kind, name, path, product, vendor"}},
         &RunList,
         false},
        {"doctor",
         "[--json]",
         N_("say why a printer is not found or usable"),
         // TRANSLATORS: the verdicts (ok, warning, failed) as the doctor's lines show them in
         // your language; usblp, /dev/usb/lp, uaccess, lp, usbprint, WinUSB, libusbK and
         // libusb0 stay as they are written.
         N_("Check, one line per check, why a printer is or is not usable: on Linux the "
            "printers and adapters on the USB bus, the usblp driver and the /dev/usb/lp node, "
            "whether this user may write to it (udev rule, uaccess, group lp) and whether "
            "another process holds it; on Windows the devices, their problem codes, their "
            "driver (usbprint, not WinUSB, libusbK or libusb0) and the printer interface. Each "
            "line gives the verdict (ok, warning, failed), what was found and, where not ok, "
            "what to do. Nothing is written to a printer. The status is 0 when a printer can "
            "be written, else 1, with the first failed check's remedy as the last line (on "
            "standard error)."),
         {{"--json",
           // TRANSLATORS: %s is the shape of the JSON output, kept in English.
           N_("%s instead, with the same status"),
           "{\"ready\": true|false, \"checks\": [{\"check\", \"verdict\", \"found\", "
           "\"remedy\"}...]}"}},
         &RunDoctor,
         false},
        {"testers",
         "",
         N_("list the tester types; * marks the stored one"),
         N_("List the tester types: index, code and name, separated by tabs. A * marks the "
            "stored type, which the jobs use when no --tester is given."),
         {},
         &RunTesters,
         false},
        {"tester-type",
         "[--tester T] [--user-name TEXT]",
         N_("store the tester type (MODE.MOD)"),
         N_("Store the tester type on the printer (MODE.MOD), with the user name for the one "
            "type that prints it. Then turn the printer off and on again."),
         {{"--tester T", N_("the tester type: an index 0-9, a code 1000-1009 or a name as "
                            "'testers' shows it; without it, the stored type")},
          {"--user-name TEXT", N_("at most 24 characters; sent only for the type that prints a "
                                  "user name")}},
         &RunTesterType},
        {"density",
         "N",
         N_("set the print density, 1 (light) to 15 (dark)"),
         N_("Set the print density of the printer."),
         {{"N", N_("1 (light) to 15 (dark)")}},
         &RunDensity},
        {"clock",
         "[--at TIME]",
         N_("set the printer's clock"),
         N_("Set the printer's clock to the local time now."),
         {{"--at TIME", N_("this time instead: YYYY-MM-DD HH:MM:SS, local time")}},
         &RunClock},
        {"label",
         "pass|fail [--tester T] [--at TIME]",
         N_("print a test label"),
         // TRANSLATORS: pass and fail are typed as they are written.
         N_("Print the test label of a tester type, with the result pass or fail."),
         {{"--tester T", N_("the tester type: an index 0-9, a code 1000-1009 or a name as "
                            "'testers' shows it; without it, the stored type")},
          {"--at TIME", N_("the date and time on the label instead of now: YYYY-MM-DD HH:MM:SS, "
                           "local time")}},
         &RunLabel},
        {"logo",
         "pass|fail FILE [--rotate] [--invert] ... [--pcx OUT]",
         N_("store the pass or fail logo"),
         // TRANSLATORS: LOGO1.PCX and FAIL.PCX are the printer's file names.
         N_("Store the pass logo (LOGO1.PCX) or the fail logo (FAIL.PCX) on the printer, from "
            "a BMP or PCX picture of at most 360 x 360 pixels. Then turn the printer off and "
            "on again."),
         {{"--rotate", kRotate},
          {"--invert", kInvert},
          {"", kRepeat},
          {"--pcx OUT", N_("write only the printer's PCX file to OUT and send nothing")}},
         &RunLogo},
        {"firmware",
         "FILE",
         N_("replace the printer's label program"),
         // TRANSLATORS: AUTO.BAS is the printer's file name.
         N_("Replace the printer's label program (AUTO.BAS) from the firmware update FILE, "
            "checked and filtered as the window does. Then turn the printer off and on again."),
         {},
         &RunFirmware},
        {"preview",
         "FILE [--rotate] [--invert] ... --png OUT",
         N_("draw the label preview into a PNG file"),
         N_("Draw the label preview of the logo in FILE (610 x 380 pixels, as the logo page "
            "shows it) into the PNG file OUT; needs no display. A file that does not load is "
            "drawn as its message, which is also reported, with status 3."),
         {{"--rotate", kRotate},
          {"--invert", kInvert},
          {"", kRepeat},
          {"--png OUT", N_("the PNG file to write")}},
         &RunPreview,
         false},
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
                // TRANSLATORS: %s is an option as typed (-o, --output).
                return UsageError(err, Fmt(Tr("option '%s' needs a FILE"), {a}));
            }
        } else if (a.rfind("--output=", 0) == 0) {
            output = a.substr(9);
        } else if (a == "-p" || a == "--printer") {
            if (!value(printer)) {
                // TRANSLATORS: %s is an option as typed (-p, --printer).
                return UsageError(err, Fmt(Tr("option '%s' needs a PATH"), {a}));
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
            return UsageError(err, Fmt(Tr("unknown option '%s'"), {a.substr(0, a.find('='))}));
        } else if (!(command = FindCommand(a))) {
            return UsageError(err, Fmt(Tr("unknown command '%s'"), {a}));
        }
    }
    if (commandHelp) {
        PrintCommandHelp(*command, out);
        return EXIT_DONE;
    }
    if (output && printer) {
        return UsageError(err, Tr("-o and -p cannot be used together"));
    }
    if (all && (output || printer)) {
        return UsageError(err, Tr("--all cannot be used with -o or -p"));
    }
    if (!command) {
        return UsageError(err, Tr("no command given"));
    }
    if (all && !command->sendsJob) {
        // TRANSLATORS: %s is a command's name, as typed.
        return UsageError(
            err, Fmt(Tr("--all needs a command that sends a job, not %s"), {command->name}));
    }
    // What a command prints with --json is read by programs: it is the same in every language,
    // so the whole command runs in English, its messages on standard error included.
    std::optional<ScopedCatalogue> english;
    const auto optionsEnd = std::find(commandArgs.begin(), commandArgs.end(), "--");
    if (std::find(commandArgs.begin(), optionsEnd, "--json") != optionsEnd) {
        english.emplace();
    }
    Context ctx{commandArgs, services.profile, services.clock, services.enumerator,
                out,         services.doctor};
    const Outcome outcome = command->run(ctx);
    if (outcome.status != EXIT_DONE) {
        if (outcome.status == EXIT_USAGE) {
            // TRANSLATORS: after a command's usage error; %s is how the command is typed.
            Say(err, outcome.message + "\n" + Fmt(Tr("usage: %s"), {CommandUsage(*command)}) +
                         "\n" + Tr(kTryHelp));
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
            return UsageError(err, Tr("--all sends to printers; a job written to a file (--pcx) "
                                      "cannot go with it"));
        }
        return DeliverToAll(outcome, services, err);
    }
    return Deliver(outcome, output, printer, services, err);
}

} // namespace brimwell::cli
