#include "platform/windows/WinSystemClock.h"

#include <windows.h>

namespace brimwell {

std::uint32_t WinTicks::GetTickCount() {
    return ::GetTickCount();
}

void WinTicks::Sleep(std::uint32_t ms) {
    ::Sleep(ms);
}

LocalDateTime WinLocalClock::Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    LocalDateTime now;
    now.year = st.wYear;
    now.month = st.wMonth;
    now.day = st.wDay;
    now.hour = st.wHour;
    now.minute = st.wMinute;
    now.second = st.wSecond;
    return now;
}

} // namespace brimwell
