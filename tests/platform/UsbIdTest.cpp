// The vendor and product as each system reports them: SetupAPI's hardware identifier text and
// udev's idVendor and idProduct attributes. Pure rules, read on every system.
#include "platform/linux/UdevEvents.h"
#include "platform/windows/HardwareId.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace brimwell::test {
namespace {

// "1203:0126", or "none" for no id.
std::string Text(const std::optional<UsbId>& id) {
    if (!id) {
        return "none";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", static_cast<unsigned>(id->vendor),
                  static_cast<unsigned>(id->product));
    return text;
}

// The identifiers SetupAPI reports, and what the C library's own reading (compared on random
// text below) cannot say: numbers beyond 16 bits are no USB id and never wrap onto a listed
// pair.
TEST(UsbIdFromHardwareId, ReadsVendorAndProduct) {
    const std::pair<std::string, std::string> cases[] = {
        {"USB\\VID_1203&PID_0126&REV_0100", "1203:0126"},
        {"USB\\VID_067B&PID_2305&REV_0300", "067b:2305"},
        {"USB\\VID_067b&PID_2305", "067b:2305"},
        {"USB\\VID_1203&PID_0126&MI_00#junk", "1203:0126"},
        {"usb\\VID_1203&PID_0126", "0000:0000"},
        {"USB\\VID_1203&pid_0126", "1203:0000"},
        {"USBPRINT\\BrimwellPrinter", "0000:0000"},
        {"", "0000:0000"},
        {"USB\\VID_0x1203&PID_0X0126", "1203:0126"},
        {"USB\\VID_ 1203&PID_\t0126", "1203:0126"},
        {"USB\\VID_11203&PID_0126", "none"},
        {"USB\\VID_100001203&PID_0126", "none"},
        {"USB\\VID_1203&PID_FFFFFFFF0126", "none"},
        {"USB\\VID_1203&PID_-0126", "none"},
    };
    for (const auto& [hardwareId, id] : cases) {
        EXPECT_EQ(Text(UsbIdFromHardwareId(hardwareId)), id) << hardwareId;
    }
}

// Within 32-bit numbers the reading must agree with the C library's scanf on any text. The
// inputs are random splices of the pattern's pieces and characters that trip a scanner.
TEST(UsbIdFromHardwareIdScanf, AgreesWithTheCLibrary) {
    const std::vector<std::string> pieces = {
        "USB\\VID_", "&PID_", "USB", "\\", "VID_", "PID_", "&",    "_",    "0",
        "1",         "2",     "9",   "a",  "F",    "f",    "g",    "x",    "X",
        "0x",        "+",     "-",   " ",  "\t",   "#",    "1203", "0126", "067b"};
    std::mt19937 random(20240601u);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text = "USB\\VID_";
        const int count = static_cast<int>(random() % 6);
        for (int k = 0; k < count; ++k) {
            text += pieces[random() % pieces.size()];
        }
        if (random() % 4 == 0) {
            text = text.substr(random() % (text.size() + 1));
        }
        // Runs of more than eight hex digits overflow, where the C library is undefined.
        std::size_t run = 0;
        bool overflow = false;
        for (char c : text) {
            run = std::isxdigit(static_cast<unsigned char>(c)) ? run + 1 : 0;
            overflow = overflow || run > 8;
        }
        if (overflow) {
            continue;
        }
        unsigned vendor = 0;
        unsigned product = 0;
        std::sscanf(text.c_str(), "USB\\VID_%x&PID_%x", &vendor, &product);
        const std::optional<UsbId> expected =
            vendor > 0xFFFF || product > 0xFFFF
                ? std::nullopt
                : std::optional<UsbId>(UsbId{static_cast<std::uint16_t>(vendor),
                                             static_cast<std::uint16_t>(product)});
        ASSERT_EQ(Text(UsbIdFromHardwareId(text)), Text(expected)) << '"' << text << '"';
        ++compared;
    }
    EXPECT_GT(compared, 10000);
}

TEST(UsbIdFromAttributes, ReadsTheKernelsHexDigits) {
    struct Case {
        const char* vendor;
        const char* product;
        std::string id;
    };
    const Case cases[] = {
        {"1203", "0126", "1203:0126"},
        {"067b", "2305", "067b:2305"},
        {"067B", "2305", "067b:2305"},
        {"abcd", "ef01", "abcd:ef01"},
        {"12", "126", "0012:0126"},
        {"0000", "0000", "0000:0000"},
        {"ffff", "FFFF", "ffff:ffff"},
        {nullptr, "0126", "none"},
        {"1203", nullptr, "none"},
        {"", "0126", "none"},
        {"1203", "", "none"},
        {"11203", "0126", "none"}, // beyond 16 bits: never cut down to 1203
        {"1203", "00126", "none"},
        {"0x12", "0126", "none"},
        {"1203 ", "0126", "none"},
        {" 1203", "0126", "none"},
        {"-123", "0126", "none"},
        {"12g3", "0126", "none"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(UsbIdFromAttributes(c.vendor, c.product)), c.id)
            << (c.vendor ? c.vendor : "(null)") << " " << (c.product ? c.product : "(null)");
    }
}

} // namespace
} // namespace brimwell::test
