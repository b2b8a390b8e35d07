#pragma once
#include "platform/DeviceEnumerator.h"
#include "platform/LocalClock.h"
#include "platform/PrinterDoctor.h"
#include "platform/Profile.h"
#include "printer/PrinterJob.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brimwell::cli {

enum ExitStatus { EXIT_DONE = 0, EXIT_PRINTER = 1, EXIT_USAGE = 2, EXIT_REFUSED = 3 };

// What a command produced. A job is delivered by the caller to --output, --printer, the
// first listed printer or, with --all, every listed printer; bytes meant for a file of the
// command's own (--pcx) go to that file alone. A command that printed its own output (list,
// testers) delivers nothing.
struct Outcome {
    int status = EXIT_DONE;
    std::string message; // for standard error when status is not 0
    std::string note;    // for standard error when status is 0
    std::vector<std::uint8_t> job;
    bool deliver = false;
    bool powerCycleAdvice = false;
    std::optional<std::string> file; // the job is this file's content, never a printer's
};

Outcome Usage(const std::string& message);
Outcome Refused(const std::string& message);
Outcome Job(const std::string& bytes, bool powerCycleAdvice = false);
Outcome Job(std::vector<std::uint8_t> bytes, bool powerCycleAdvice = false);
Outcome Done();
// Bytes for a file the command writes itself, replaced only when written whole.
Outcome FileContent(const std::string& path, std::vector<std::uint8_t> bytes);

// A JSON string: quotes, backslashes and control characters escaped, everything else (UTF-8
// included) as it is.
std::string JsonString(const std::string& text);

struct Context {
    std::vector<std::string> args; // the command's own arguments, destination options removed
    IProfile& profile;
    ILocalClock& clock;
    IDeviceEnumerator& enumerator;
    std::ostream& out;
    IDoctorProbe* doctor = nullptr; // what `doctor` reads the system with
};

// Splits the command's arguments into options and positionals. `valued` names the options
// that take a value (as "--opt VALUE" or "--opt=VALUE").
class ArgList {
public:
    ArgList(const std::vector<std::string>& args, const std::vector<std::string>& valued,
            const std::vector<std::string>& flags);
    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }
    // Options in the order given: name and value ("" for flags).
    const std::vector<std::pair<std::string, std::string>>& options() const { return m_options; }
    std::optional<std::string> Last(const std::string& name) const;
    const std::vector<std::string>& positionals() const { return m_positionals; }

private:
    std::vector<std::pair<std::string, std::string>> m_options;
    std::vector<std::string> m_positionals;
    std::string m_error;
};

// "YYYY-MM-DD HH:MM:SS", a real local date and time; nullopt otherwise.
std::optional<LocalDateTime> ParseLocalTime(const std::string& text);

// Why TEXT is not a local time as ParseLocalTime takes it: the message that refuses it, which
// tells a wrong form from a date or time that does not exist; "" when it is one.
std::string LocalTimeRefusal(const std::string& text);

// The time given with --at, or the clock's now. Sets *refusal when TIME is not a local time.
LocalDateTime TimeOption(const ArgList& args, ILocalClock& clock, std::string* refusal);

} // namespace brimwell::cli
