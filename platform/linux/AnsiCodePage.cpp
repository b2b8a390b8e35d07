#include "platform/AnsiCodePage.h"

namespace brimwell {
namespace {

// Windows code page 1252, bytes 0x80 to 0x9F. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as Windows does.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr char kDefaultChar = '?';

} // namespace

std::optional<std::string> CharToAnsiCodePage(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return std::string(1, static_cast<char>(cp));
    }
    for (int k = 0; k < 32; ++k) {
        if (kCp1252High[k] == cp) {
            return std::string(1, static_cast<char>(0x80 + k));
        }
    }
    return std::string(1, kDefaultChar);
}

} // namespace brimwell
