#include "printer/TextFormat.h"

#include <cstdio>

namespace brimwell {

bool AppendVPrintf(std::string& out, const char* format, std::va_list args) {
    std::va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        return false;
    }
    if (length > 0) {
        const std::size_t start = out.size();
        // vsnprintf writes the terminating zero too: room for it, then cut it off.
        out.resize(start + static_cast<std::size_t>(length) + 1);
        std::vsnprintf(&out[start], static_cast<std::size_t>(length) + 1, format, args);
        out.resize(start + static_cast<std::size_t>(length));
    }
    return true;
}

bool AppendPrintf(std::string& out, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const bool ok = AppendVPrintf(out, format, args);
    va_end(args);
    return ok;
}

} // namespace brimwell
