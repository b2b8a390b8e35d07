#include "maintenance/MaintenanceJobs.h"

#include <cstdio>

namespace brimwell {

bool IsValidDensity(int density) {
    return density >= kDensityMin && density <= kDensityMax;
}

std::optional<std::string> DensityJob(int density) {
    if (!IsValidDensity(density)) {
        return std::nullopt;
    }
    char job[32];
    const int length = std::snprintf(job, sizeof job, "RKW7047\r\n%d\r\n", density);
    return std::string(job, static_cast<std::size_t>(length));
}

std::string ClockJob(const LocalDateTime& time) {
    // Every field is printed with at least two digits; a field out of its range (which a
    // clock never reports) only makes the line longer, so the buffer is sized for the
    // widest unsigned values rather than for the 30 bytes of a real job.
    char job[128];
    const int length =
        std::snprintf(job, sizeof job, "\r\nRKW7046\r\n%02u/%02u/%02u %02u:%02u:%02u\r\n", time.day,
                      time.month, time.year % 100, time.hour, time.minute, time.second);
    return std::string(job, static_cast<std::size_t>(length));
}

DensityArgument ParseDensity(std::string_view text) {
    DensityArgument result;
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return result; // empty, or a sign alone
    }
    // Digits are accumulated only while they can still matter, so that a very long number
    // is reported as out of range instead of overflowing.
    long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return result;
        }
        if (value <= kDensityMax) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (negative || value < kDensityMin || value > kDensityMax) {
        result.status = DensityArgument::OutOfRange;
        return result;
    }
    result.status = DensityArgument::Ok;
    result.value = static_cast<int>(value);
    return result;
}

} // namespace brimwell
