#pragma once

namespace brimwell {

// A local date and time as the label and clock jobs print it (month 1-12, hour 0-23).
struct LocalDateTime {
    unsigned year = 2000;
    unsigned month = 1;
    unsigned day = 1;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
};

class ILocalClock {
public:
    virtual ~ILocalClock() = default;
    virtual LocalDateTime Now() = 0;
};

} // namespace brimwell
