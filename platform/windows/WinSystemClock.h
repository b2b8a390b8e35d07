#pragma once
#include "platform/LocalClock.h"
#include "platform/Ticks.h"

namespace brimwell {

// GetTickCount (milliseconds since start-up, wrapping after about 49.7 days) and Sleep.
class WinTicks : public ITickSource {
public:
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t ms) override;
};

// The local date and time of GetLocalTime.
class WinLocalClock : public ILocalClock {
public:
    LocalDateTime Now() override;
};

} // namespace brimwell
