#include "cli/CliCommon.h"

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
                    m_error = "option '" + name + "' needs a value";
                    return;
                }
            } else if (has(flags, name)) {
                if (eq != std::string::npos) {
                    m_error = "option '" + name + "' takes no value";
                    return;
                }
                m_options.emplace_back(name, "");
            } else {
                m_error = "unknown option '" + name + "'";
                return;
            }
        } else if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
            // "-x"; "-3" stays a value, for the command to judge.
            m_error = "unknown option '" + a + "'";
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

// Why a time of the right form does not exist; "" when it does.
std::string NoSuchTime(const LocalDateTime& t) {
    static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    if (t.month < 1 || t.month > 12) {
        return "there is no month " + std::to_string(t.month);
    }
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const unsigned days = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
    if (t.day < 1 || t.day > days) {
        return std::string(kMonths[t.month - 1]) + " " + std::to_string(t.year) + " has " +
               std::to_string(days) + " days";
    }
    if (t.hour > 23) {
        return "hours go from 00 to 23";
    }
    if (t.minute > 59 || t.second > 59) {
        return "minutes and seconds go from 00 to 59";
    }
    return {};
}

} // namespace

std::optional<LocalDateTime> ParseLocalTime(const std::string& text) {
    LocalDateTime t{};
    if (!ParseTimeForm(text, &t) || !NoSuchTime(t).empty()) {
        return std::nullopt;
    }
    return t;
}

std::string LocalTimeRefusal(const std::string& text) {
    LocalDateTime t{};
    if (!ParseTimeForm(text, &t)) {
        return "Time '" + text + "' is not a valid local time; it must be YYYY-MM-DD HH:MM:SS.";
    }
    const std::string why = NoSuchTime(t);
    return why.empty() ? why : "Time '" + text + "' does not exist: " + why + ".";
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
