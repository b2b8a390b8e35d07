#pragma once
#include "platform/LocalClock.h"

#include <optional>
#include <string>
#include <string_view>

namespace brimwell {

// The print density scale of the printer: 1 is the lightest, 15 the darkest. The density page
// starts at the middle of it, and sends that value when its slider is missing.
inline constexpr int kDensityMin = 1;
inline constexpr int kDensityMax = 15;
inline constexpr int kDensityDefault = 8;

bool IsValidDensity(int density);

// The density job: the command word, then the value in decimal, each on its own line. No
// line break precedes the command word. 12 bytes for 1 to 9, 13 for 10 to 15; nullopt for a
// value outside the scale, which the printer must never be sent.
std::optional<std::string> DensityJob(int density);

// The clock job: a line break, the command word, then "DD/MM/YY hh:mm:ss" (day first, the year
// modulo 100), 30 bytes in all.
std::string ClockJob(const LocalDateTime& time);

// A density typed as text (the command-line companion): decimal digits with an optional sign.
struct DensityArgument {
    enum Status { Ok, NotANumber, OutOfRange };
    Status status = NotANumber;
    int value = 0; // set when Ok
};
DensityArgument ParseDensity(std::string_view text);

} // namespace brimwell
