#include "platform/windows/HardwareId.h"

#include "text/Hex.h"

#include <algorithm>
#include <cstdint>

namespace brimwell {
namespace {

// One scanf "%x" conversion as the C library performs it: optional white space, optional
// sign, optional "0x" prefix (which alone reads as 0), then hex digits. Advances pos past
// what was read; false when nothing convertible was found. A number too large for 32 bits
// reads as 0xFFFFFFFF rather than wrapping, so that no over-long identifier can alias a
// listed pair (the C library leaves that case undefined).
bool ScanHex(const std::string& s, std::size_t& pos, std::uint32_t& value) {
    std::size_t p = pos;
    while (p < s.size() && (s[p] == ' ' || (s[p] >= '\t' && s[p] <= '\r'))) {
        ++p;
    }
    bool negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
        negative = s[p] == '-';
        ++p;
    }
    bool digits = false;
    if (p + 1 < s.size() && s[p] == '0' && (s[p + 1] == 'x' || s[p + 1] == 'X')) {
        p += 2;
        digits = true; // the "0" of the prefix counts as a number
    }
    constexpr std::uint64_t kMax = 0xFFFFFFFFu;
    std::uint64_t v = 0;
    while (p < s.size() && HexDigitValue(s[p]) >= 0) {
        v = std::min<std::uint64_t>(v * 16u + static_cast<unsigned>(HexDigitValue(s[p])), kMax + 1);
        digits = true;
        ++p;
    }
    if (!digits) {
        return false;
    }
    const auto magnitude = static_cast<std::uint32_t>(std::min(v, kMax));
    value = v > kMax ? 0xFFFFFFFFu : (negative ? 0u - magnitude : magnitude);
    pos = p;
    return true;
}

bool ScanLiteral(const std::string& s, std::size_t& pos, const char* literal) {
    for (const char* l = literal; *l; ++l, ++pos) {
        if (pos >= s.size() || s[pos] != *l) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<UsbId> UsbIdFromHardwareId(const std::string& hardwareId) {
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
    std::size_t pos = 0;
    if (ScanLiteral(hardwareId, pos, "USB\\VID_") && ScanHex(hardwareId, pos, vendor) &&
        ScanLiteral(hardwareId, pos, "&PID_")) {
        ScanHex(hardwareId, pos, product);
    }
    constexpr std::uint32_t kMaxId = 0xFFFF;
    if (vendor > kMaxId || product > kMaxId) {
        return std::nullopt;
    }
    return UsbId{static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product)};
}

} // namespace brimwell
