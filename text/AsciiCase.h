#pragma once
#include <string>

namespace brimwell {

// `text` with the ASCII capitals made small and every other byte as it is: for names the
// system spells in either case (driver services, device identifiers, udev rules), whatever
// the locale.
inline std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

} // namespace brimwell
