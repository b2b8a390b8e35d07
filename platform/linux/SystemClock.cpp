#include "platform/linux/SystemClock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace brimwell {

std::uint32_t SystemTicks::GetTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SystemTicks::Sleep(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalDateTime SystemLocalClock::Now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    LocalDateTime now;
    now.year = static_cast<unsigned>(tm.tm_year + 1900);
    now.month = static_cast<unsigned>(tm.tm_mon + 1);
    now.day = static_cast<unsigned>(tm.tm_mday);
    now.hour = static_cast<unsigned>(tm.tm_hour);
    now.minute = static_cast<unsigned>(tm.tm_min);
    now.second = static_cast<unsigned>(tm.tm_sec > 59 ? 59 : tm.tm_sec);
    return now;
}

} // namespace brimwell
