#include "printer/PrinterIdentification.h"

#include "text/Hex.h"

#include <algorithm>

namespace brimwell {
namespace {

// One scanf "%x" conversion as the C library performs it: optional white space, optional
// sign, optional "0x" prefix (which alone reads as 0), then hex digits. Advances pos past
// what was read; false when nothing convertible was found. A number too large for 32 bits
// reads as 0xFFFFFFFF rather than wrapping, so that no over-long identifier can alias a
// listed pair (the C library leaves that case undefined).
bool ScanHex(const std::string& s, std::size_t& pos, unsigned& value) {
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
    const auto magnitude = static_cast<unsigned>(std::min(v, kMax));
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

UsbIds ParseHardwareId(const std::string& hardwareId) {
    UsbIds ids;
    std::size_t pos = 0;
    if (!ScanLiteral(hardwareId, pos, "USB\\VID_") || !ScanHex(hardwareId, pos, ids.vendor)) {
        return ids;
    }
    if (!ScanLiteral(hardwareId, pos, "&PID_")) {
        return ids;
    }
    ScanHex(hardwareId, pos, ids.product);
    return ids;
}

const std::vector<IdentificationRow>& IdentificationTable() {
    static const std::vector<IdentificationRow> table = {
        {0x1203, 0x0126, PRINTER_KIND_PRINTER},
        {0x067B, 0x2305, PRINTER_KIND_ADAPTER},
    };
    return table;
}

int IdentifyPrinterKind(UsbIds ids) {
    for (const auto& row : IdentificationTable()) {
        if (row.vendor == ids.vendor && row.product == ids.product) {
            return row.kind;
        }
    }
    return 0;
}

const char* PrinterKindName(int kind) {
    return kind == PRINTER_KIND_ADAPTER ? "USB-to-Parallel adapter" : "Brimwell printer";
}

std::vector<ListedPrinter> FilterPrinters(const std::vector<RawDeviceInterface>& devices) {
    std::vector<ListedPrinter> listed;
    for (const auto& device : devices) {
        if (device.devicePath.size() + 1 > kMaxDevicePathChars) {
            continue;
        }
        if (!device.location || !device.hardwareId) {
            continue;
        }
        const UsbIds ids = ParseHardwareId(*device.hardwareId);
        const int kind = IdentifyPrinterKind(ids);
        if (kind == 0) {
            continue;
        }
        listed.push_back({kind, PrinterKindName(kind), device.devicePath, ids});
    }
    return listed;
}

bool SameDevicePath(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace brimwell
