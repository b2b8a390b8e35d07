#pragma once
#include <cstdint>

namespace brimwell {

// The 32-bit millisecond tick count (it wraps after about 49.7 days) and a blocking sleep.
// The job hold is timed with these, so tests hand in a clock that advances on Sleep.
class ITickSource {
public:
    virtual ~ITickSource() = default;
    virtual std::uint32_t GetTickCount() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
};

} // namespace brimwell
