#include "cli/CliCommon.h"

#include "cli/CliText.h"
#include "text/Translate.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace brimwell::cli {

Outcome Usage(const std::string& message) {
    Outcome o;
    o.status = EXIT_USAGE;
    o.message = message;
    return o;
}

Outcome Refused(const std::string& message) {
    Outcome o;
    o.status = EXIT_REFUSED;
    o.message = message;
    return o;
}

Outcome Job(const std::string& bytes, bool powerCycleAdvice) {
    return Job(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), powerCycleAdvice);
}

Outcome Job(std::vector<std::uint8_t> bytes, bool powerCycleAdvice) {
    Outcome o;
    o.job = std::move(bytes);
    o.deliver = true;
    o.powerCycleAdvice = powerCycleAdvice;
    return o;
}

Outcome Done() {
    return Outcome{};
}

Outcome FileContent(const std::string& path, std::vector<std::uint8_t> bytes) {
    Outcome o = Job(std::move(bytes));
    o.file = path;
    return o;
}

ArgList::ArgList(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                 const std::vector<std::string>& flags) {
    auto has = [](const std::vector<std::string>& names, const std::string& n) {
        return std::find(names.begin(), names.end(), n) != names.end();
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded) {
            m_positionals.push_back(a);
        } else if (a == "--") {
            optionsEnded = true; // what follows is positional, even "-x" or "--name"
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            const auto eq = a.find('=');
            const std::string name = a.substr(0, eq);
            if (has(valued, name)) {
                if (eq != std::string::npos) {
                    m_options.emplace_back(name, a.substr(eq + 1));
                } else if (i + 1 < args.size()) {
                    m_options.emplace_back(name, args[++i]);
                } else {
                    // TRANSLATORS: %s is an option as typed (--tester).
                    m_error = Fmt(Tr("option '%s' needs a value"), {name});
                    return;
                }
            } else if (has(flags, name)) {
                if (eq != std::string::npos) {
                    // TRANSLATORS: %s is an option as typed (--json).
                    m_error = Fmt(Tr("option '%s' takes no value"), {name});
                    return;
                }
                m_options.emplace_back(name, "");
            } else {
                m_error = Fmt(Tr("unknown option '%s'"), {name});
                return;
            }
        } else if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
            // "-x"; "-3" stays a value, for the command to judge.
            m_error = Fmt(Tr("unknown option '%s'"), {a});
            return;
        } else {
            m_positionals.push_back(a);
        }
    }
}

std::optional<std::string> ArgList::Last(const std::string& name) const {
    std::optional<std::string> value;
    for (const auto& [n, v] : m_options) {
        if (n == name) {
            value = v;
        }
    }
    return value;
}

namespace {

// The six numbers of "YYYY-MM-DD HH:MM:SS", digits exactly where the form has them; false for
// any other text.
bool ParseTimeForm(const std::string& text, LocalDateTime* t) {
    char tail;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4u-%2u-%2u %2u:%2u:%2u%c", &t->year, &t->month, &t->day,
                    &t->hour, &t->minute, &t->second, &tail) != 6) {
        return false;
    }
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18}) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

// The days of each month of a year that is not a leap year.
constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Why the time TEXT, of the right form, does not exist: the whole refusal, one message for
// each month, so that a translation can decline the month's name; "" when it does exist.
std::string NoSuchTime(const std::string& text, const LocalDateTime& t) {
    // TRANSLATORS: the refusals of a time that does not exist: %1$s is the time as typed,
    // %2$s a year, %3$s the days of the month.
    static const char* const kMonthDays[] = {
        N_("Time '%1$s' does not exist: January %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: February %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: March %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: April %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: May %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: June %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: July %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: August %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: September %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: October %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: November %2$s has %3$s days."),
        N_("Time '%1$s' does not exist: December %2$s has %3$s days."),
    };
    if (t.month < 1 || t.month > 12) {
        // TRANSLATORS: %1$s is the time as typed, %2$s the number of its month.
        return Fmt(Tr("Time '%1$s' does not exist: there is no month %2$s."),
                   {text, std::to_string(t.month)});
    }
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    const unsigned days = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
    if (t.day < 1 || t.day > days) {
        return Fmt(Tr(kMonthDays[t.month - 1]),
                   {text, std::to_string(t.year), std::to_string(days)});
    }
    if (t.hour > 23) {
        // TRANSLATORS: %s is the time as typed.
        return Fmt(Tr("Time '%s' does not exist: hours go from 00 to 23."), {text});
    }
    if (t.minute > 59 || t.second > 59) {
        return Fmt(Tr("Time '%s' does not exist: minutes and seconds go from 00 to 59."), {text});
    }
    return {};
}

} // namespace

std::optional<LocalDateTime> ParseLocalTime(const std::string& text) {
    LocalDateTime t{};
    if (!ParseTimeForm(text, &t) || !NoSuchTime(text, t).empty()) {
        return std::nullopt;
    }
    return t;
}

std::string LocalTimeRefusal(const std::string& text) {
    LocalDateTime t{};
    if (!ParseTimeForm(text, &t)) {
        // TRANSLATORS: %s is the time as typed; keep YYYY-MM-DD HH:MM:SS as it is written.
        return Fmt(Tr("Time '%s' is not a valid local time; it must be YYYY-MM-DD HH:MM:SS."),
                   {text});
    }
    return NoSuchTime(text, t);
}

LocalDateTime TimeOption(const ArgList& args, ILocalClock& clock, std::string* refusal) {
    refusal->clear();
    if (const auto at = args.Last("--at")) {
        if (const auto t = ParseLocalTime(*at)) {
            return *t;
        }
        *refusal = LocalTimeRefusal(*at);
        return LocalDateTime{};
    }
    return clock.Now();
}

// A JSON string: quotes, backslashes and control characters escaped, everything else (UTF-8
// included) as it is. Names and paths may hold any character.
std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\b':
            json += "\\b";
            break;
        case '\f':
            json += "\\f";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                json += escaped;
            } else {
                json += c;
            }
        }
    }
    return json + "\"";
}

} // namespace brimwell::cli
