#include "maintenance/MaintenanceJobs.h"

#include "printer/TextFormat.h"

namespace brimwell {

bool IsValidDensity(int density) {
    return density >= kDensityMin && density <= kDensityMax;
}

std::optional<std::string> DensityJob(int density) {
    if (!IsValidDensity(density)) {
        return std::nullopt;
    }
    std::string job;
    AppendPrintf(job, "RKW7047\r\n%d\r\n", density);
    return job;
}

std::string ClockJob(const LocalDateTime& time) {
    std::string job;
    AppendPrintf(job, "\r\nRKW7046\r\n%02u/%02u/%02u %02u:%02u:%02u\r\n", time.day, time.month,
                 time.year % 100, time.hour, time.minute, time.second);
    return job;
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
