#pragma once
#include "platform/LocalClock.h"
#include "platform/Ticks.h"

namespace brimwell {

// Milliseconds of the monotonic clock, truncated to 32 bits, and a real sleep.
class SystemTicks : public ITickSource {
public:
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t ms) override;
};

// The local date and time of the system clock and time zone.
class SystemLocalClock : public ILocalClock {
public:
    LocalDateTime Now() override;
};

} // namespace brimwell
