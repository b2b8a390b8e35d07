#include "cli/CliCommon.h"

#include <algorithm>
#include <cstdio>

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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            const auto eq = a.find('=');
            const std::string name = a.substr(0, eq);
            if (has(valued, name)) {
                if (eq != std::string::npos) {
                    m_options.emplace_back(name, a.substr(eq + 1));
                } else if (i + 1 < args.size()) {
                    m_options.emplace_back(name, args[++i]);
                } else {
                    m_error = "option " + name + " needs a value";
                    return;
                }
            } else if (has(flags, name) && eq == std::string::npos) {
                m_options.emplace_back(name, "");
            } else {
                m_error = "unknown option " + a;
                return;
            }
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

std::optional<LocalDateTime> ParseLocalTime(const std::string& text) {
    unsigned y, mo, d, h, mi, s;
    char tail;
    if (text.size() != 19 || std::sscanf(text.c_str(), "%4u-%2u-%2u %2u:%2u:%2u%c", &y, &mo, &d, &h,
                                         &mi, &s, &tail) != 6) {
        return std::nullopt;
    }
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18}) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    static const unsigned kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mo < 1 || mo > 12 || d < 1 || d > kDays[mo - 1] || h > 23 || mi > 59 || s > 59) {
        return std::nullopt;
    }
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (mo == 2 && d == 29 && !leap) {
        return std::nullopt;
    }
    return LocalDateTime{y, mo, d, h, mi, s};
}

LocalDateTime TimeOption(const ArgList& args, ILocalClock& clock, bool* bad) {
    *bad = false;
    if (const auto at = args.Last("--at")) {
        if (const auto t = ParseLocalTime(*at)) {
            return *t;
        }
        *bad = true;
        return LocalDateTime{};
    }
    return clock.Now();
}

} // namespace brimwell::cli
