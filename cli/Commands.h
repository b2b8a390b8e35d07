#pragma once
#include "cli/CliCommon.h"
#include "logo/LogoFmtHandler.h"
#include "platform/DeviceOpener.h"
#include "platform/Ticks.h"
#include "printer/PrinterIdentification.h"

namespace brimwell::cli {

using CommandFn = Outcome (*)(Context&);

// One row of a command's help: an option or argument as it is typed, never translated, and
// what it does, marked for the catalogue and translated where it is shown; a "%s" in it is
// `argument`, text a translator must not touch (a JSON shape).
struct HelpRow {
    const char* term;
    const char* text;
    const char* argument = "";
};

struct Command {
    const char* name;          // as typed; never translated
    const char* arguments;     // what follows the name in a usage line; never translated
    const char* summary;       // the line of --help; marked for the catalogue
    const char* details;       // the paragraph `COMMAND --help` adds below the usage line; marked
    std::vector<HelpRow> rows; // its options and arguments, below the paragraph
    CommandFn run;
    bool sendsJob = true; // false: the command prints or draws, and takes no destination
};

// Every command, in the order --help lists them.
const std::vector<Command>& AllCommands();
const Command* FindCommand(const std::string& name);

// The message refusing a logo that did not load; a failed open or read ends with the
// system's reason.
std::string LogoRefusal(LogoStatus status);

// The printers `list` shows, in enumeration order; the first is the default destination
// of every job.
std::vector<ListedPrinter> ListPrinters(IDeviceEnumerator& enumerator);

// Each command lives in the file of its subsystem.
Outcome RunList(Context& ctx);
Outcome RunTesters(Context& ctx);
Outcome RunTesterType(Context& ctx);
Outcome RunLabel(Context& ctx);
Outcome RunDensity(Context& ctx);
Outcome RunClock(Context& ctx);
Outcome RunLogo(Context& ctx);
Outcome RunPreview(Context& ctx);
Outcome RunFirmware(Context& ctx);
Outcome RunDoctor(Context& ctx);

// The services the companion runs on: real ones in main, doubles in tests.
struct CliServices {
    IProfile& profile;
    ILocalClock& clock;
    IDeviceEnumerator& enumerator;
    IDeviceOpener& printerOpener; // --printer and the first listed printer
    IDeviceOpener& outputOpener;  // --output
    ITickSource& ticks;
    IDoctorProbe* doctor = nullptr; // `doctor` reads the system through it
};

// The line printed after "can't open" when the printer refused the user for lack of
// permission: what to do about it on this system (CliPlatform.cpp). English, marked for the
// catalogue: translated where it is printed.
extern const char* const kPermissionHint;

// Runs the program on its arguments (without the program name): parses the destination
// options, runs the command and delivers its job. Returns the exit status. The human texts are
// in the current catalogue's language; a command given --json runs wholly in English, so that
// what it prints is the same in every language.
int RunCli(const std::vector<std::string>& args, CliServices& services, std::ostream& out,
           std::ostream& err);

} // namespace brimwell::cli
