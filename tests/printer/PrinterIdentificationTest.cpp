#include "printer/PrinterIdentification.h"
#include "platform/linux/UdevEvents.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace brimwell::test {
namespace {

struct ParseCase {
    const char* name;
    std::string id;
    unsigned vendor;
    unsigned product;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.id;
}

class ParseHardwareIdTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseHardwareIdTest, ReadsVendorAndProduct) {
    const ParseCase& c = GetParam();
    const UsbIds ids = ParseHardwareId(c.id);
    EXPECT_EQ(ids.vendor, c.vendor) << c.id;
    EXPECT_EQ(ids.product, c.product) << c.id;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ParseHardwareIdTest,
    ::testing::Values(
        ParseCase{"WithRevision", "USB\\VID_1203&PID_0126&REV_0100", 0x1203, 0x0126},
        ParseCase{"Adapter", "USB\\VID_067B&PID_2305&REV_0300", 0x067B, 0x2305},
        ParseCase{"LowerCaseDigits", "USB\\VID_067b&PID_2305", 0x067B, 0x2305},
        ParseCase{"NoRevision", "USB\\VID_1203&PID_0126", 0x1203, 0x0126},
        ParseCase{"TailIgnored", "USB\\VID_1203&PID_0126&MI_00#junk", 0x1203, 0x0126},
        ParseCase{"LowerCaseUsb", "usb\\VID_1203&PID_0126", 0, 0},
        ParseCase{"LowerCaseVid", "USB\\vid_1203&PID_0126", 0, 0},
        ParseCase{"LowerCasePidKeepsVendor", "USB\\VID_1203&pid_0126", 0x1203, 0},
        ParseCase{"OtherBus", "USBPRINT\\BrimwellPrinter", 0, 0}, ParseCase{"Empty", "", 0, 0},
        ParseCase{"Garbage", "#$%!", 0, 0}, ParseCase{"PrefixOnly", "USB\\VID_", 0, 0},
        ParseCase{"NoDigits", "USB\\VID_zz&PID_0126", 0, 0},
        ParseCase{"VendorOnly", "USB\\VID_1203", 0x1203, 0},
        ParseCase{"EmptyProduct", "USB\\VID_1203&PID_", 0x1203, 0},
        ParseCase{"ForwardSlash", "USB/VID_1203&PID_0126", 0, 0},
        ParseCase{"HexPrefixes", "USB\\VID_0x1203&PID_0X0126", 0x1203, 0x0126},
        ParseCase{"BareHexPrefixIsZero", "USB\\VID_0x&PID_0126", 0, 0x0126},
        ParseCase{"LeadingBlanks", "USB\\VID_ 1203&PID_\t0126", 0x1203, 0x0126},
        // Beyond 32 bits the number saturates instead of wrapping onto a listed pair.
        ParseCase{"OverlongVendorDoesNotAlias", "USB\\VID_100001203&PID_0126", 0xFFFFFFFFu, 0x0126},
        ParseCase{"OverlongProduct", "USB\\VID_1203&PID_FFFFFFFF0126", 0x1203, 0xFFFFFFFFu}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

// Within 32-bit numbers the parser must agree with the C library's scanf on any text. The
// inputs are random splices of the pattern's pieces and characters that trip a scanner.
TEST(ParseHardwareIdScanf, AgreesWithTheCLibrary) {
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
        const UsbIds ids = ParseHardwareId(text);
        ASSERT_EQ(ids.vendor, vendor) << '"' << text << '"';
        ASSERT_EQ(ids.product, product) << '"' << text << '"';
        ++compared;
    }
    EXPECT_GT(compared, 10000);
}

TEST(IdentifyPrinterKind, OnlyTheTwoPairs) {
    struct Case {
        unsigned vendor, product;
        int kind;
    };
    const Case cases[] = {
        {0x1203, 0x0126, PRINTER_KIND_PRINTER},
        {0x067B, 0x2305, PRINTER_KIND_ADAPTER},
        {0x1203, 0x9999, 0},
        {0x1203, 0x2305, 0},
        {0x067B, 0x0126, 0},
        {0x04B8, 0x0005, 0},
        {0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IdentifyPrinterKind({c.vendor, c.product}), c.kind)
            << std::hex << c.vendor << ":" << c.product;
    }
    EXPECT_STREQ(PrinterKindName(PRINTER_KIND_PRINTER), "Brimwell printer");
    EXPECT_STREQ(PrinterKindName(PRINTER_KIND_ADAPTER), "USB-to-Parallel adapter");
}

RawDeviceInterface Device(const std::string& path, const char* hardwareId,
                          const char* location = "1-1") {
    RawDeviceInterface d;
    d.devicePath = path;
    if (location) {
        d.location = location;
    }
    if (hardwareId) {
        d.hardwareId = hardwareId;
    }
    return d;
}

constexpr const char* kPrinterId = "USB\\VID_1203&PID_0126&REV_0100";
constexpr const char* kAdapterId = "USB\\VID_067B&PID_2305&REV_0300";

struct FilterCase {
    const char* name;
    std::vector<RawDeviceInterface> devices;
    std::vector<std::string> expected; // "name|path" per listed device
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class FilterPrintersTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterPrintersTest, ListsInEnumerationOrder) {
    std::vector<std::string> got;
    for (const ListedPrinter& p : FilterPrinters(GetParam().devices)) {
        EXPECT_EQ(p.name, PrinterKindName(p.kind));
        got.push_back(p.name + "|" + p.devicePath);
    }
    EXPECT_EQ(got, GetParam().expected);
}

// 143 characters plus the terminating zero fill the 144-character detail exactly.
const std::string kPath143 = "/dev/usb/" + std::string(134, 'p');
const std::string kPath144 = kPath143 + "q";

INSTANTIATE_TEST_SUITE_P(
    Rules, FilterPrintersTest,
    ::testing::Values(
        FilterCase{"Nothing", {}, {}},
        FilterCase{
            "OnePrinter", {Device("/dev/usb/lp0", kPrinterId)}, {"Brimwell printer|/dev/usb/lp0"}},
        FilterCase{"AdapterThenPrinterKeepsOrder",
                   {Device("/dev/usb/lp3", kAdapterId), Device("/dev/usb/lp1", kPrinterId)},
                   {"USB-to-Parallel adapter|/dev/usb/lp3", "Brimwell printer|/dev/usb/lp1"}},
        FilterCase{"OtherProductAndVendorSkipped",
                   {Device("/dev/usb/lp0", "USB\\VID_1203&PID_9999&REV_0100"),
                    Device("/dev/usb/lp1", "USB\\VID_04B8&PID_0126&REV_0100"),
                    Device("/dev/usb/lp2", kPrinterId)},
                   {"Brimwell printer|/dev/usb/lp2"}},
        FilterCase{"PathAtTheLimitListed",
                   {Device(kPath143, kPrinterId)},
                   {"Brimwell printer|" + kPath143}},
        FilterCase{"PathOverTheLimitSkipped",
                   {Device(kPath144, kPrinterId), Device("/dev/usb/lp1", kPrinterId)},
                   {"Brimwell printer|/dev/usb/lp1"}},
        FilterCase{
            "MissingLocationSkipped",
            {Device("/dev/usb/lp0", kPrinterId, nullptr), Device("/dev/usb/lp1", kAdapterId)},
            {"USB-to-Parallel adapter|/dev/usb/lp1"}},
        FilterCase{"EmptyLocationIsReadable",
                   {Device("/dev/usb/lp0", kPrinterId, "")},
                   {"Brimwell printer|/dev/usb/lp0"}},
        FilterCase{"MissingHardwareIdSkipped",
                   {Device("/dev/usb/lp0", nullptr), Device("/dev/usb/lp1", kPrinterId)},
                   {"Brimwell printer|/dev/usb/lp1"}},
        FilterCase{"GarbageHardwareIdSkipped", {Device("/dev/usb/lp0", "PCI\\VEN_1203")}, {}},
        FilterCase{"TwoIdenticalPrintersListedTwice",
                   {Device("/dev/usb/lp0", kPrinterId), Device("/dev/usb/lp1", kPrinterId)},
                   {"Brimwell printer|/dev/usb/lp0", "Brimwell printer|/dev/usb/lp1"}}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

TEST(SameDevicePath, IgnoresTheCaseOfAsciiLettersOnly) {
    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {"/dev/usb/lp0", "/dev/usb/lp0", true},
        {"/dev/usb/lp0", "/DEV/USB/LP0", true},
        {"/dev/usb/lp0", "/dev/usb/lp1", false},
        {"/dev/usb/lp0", "/dev/usb/lp0 ", false},
        {"/dev/usb/lp1", "/dev/usb/lp10", false},
        {"", "", true},
        {"x_invalid_x", "/dev/usb/lp0", false},
        {"/dev/\xC3\xA9", "/dev/\xC3\x89", false}, // e-acute and E-acute in UTF-8
        {"[", "{", false},                         // same bits as A-Z vs a-z, not letters
        {"@", "`", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameDevicePath(c.a, c.b), c.same) << c.a << " vs " << c.b;
        EXPECT_EQ(SameDevicePath(c.b, c.a), c.same) << c.b << " vs " << c.a;
    }
}

TEST(IsPrinterInterfaceEvent, ArrivalAndRemovalOfLpNodesOnly) {
    struct Case {
        const char* action;
        const char* subsystem;
        const char* sysname;
        bool rebuild;
    };
    const Case cases[] = {
        {"add", "usbmisc", "lp0", true},
        {"remove", "usbmisc", "lp0", true},
        {"add", "usbmisc", "lp15", true},
        {"change", "usbmisc", "lp0", false},
        {"bind", "usbmisc", "lp0", false},
        {"unbind", "usbmisc", "lp0", false},
        {"move", "usbmisc", "lp0", false},
        {"", "usbmisc", "lp0", false},
        {"add", "usbmisc", "hiddev0", false}, // same subsystem, not a printer
        {"add", "usbmisc", "lp", false},
        {"add", "usb", "1-1", false},
        {"remove", "usb", "1-1:1.0", false},
        {"add", "block", "sdb", false}, // a memory stick
        {"add", "input", "mouse0", false},
        {"add", "printer", "lp0", false}, // the parallel-port driver's class
        {"add", "", "lp0", false},
        {"ADD", "usbmisc", "lp0", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPrinterInterfaceEvent(c.action, c.subsystem, c.sysname), c.rebuild)
            << c.action << " " << c.subsystem << "/" << c.sysname;
    }
}

// A burst is read to the end and rebuilds once; an overrun rebuilds even when no event of
// ours was read, since a lost one may have been.
TEST(DrainNeedsRebuild, RebuildsForOurEventsAndForLostOnes) {
    const MonitorRead other{true, false, 0}, ours{true, true, 0};
    auto end = [](int error) { return MonitorRead{false, false, error}; };
    struct Case {
        const char* name;
        std::vector<MonitorRead> reads;
        bool rebuild;
    };
    const Case cases[] = {
        {"nothing queued", {end(EAGAIN)}, false},
        {"a foreign event", {other, end(EAGAIN)}, false},
        {"ours among others", {other, ours, other, end(EAGAIN)}, true},
        {"interrupted", {other, end(EINTR)}, false},
        {"would block", {end(EWOULDBLOCK)}, false},
        {"no error number", {other, end(0)}, false},
        {"overrun", {end(ENOBUFS)}, true},
        {"overrun after foreign events", {other, other, end(ENOBUFS)}, true},
        {"other read failure", {end(EIO)}, true},
    };
    for (const Case& c : cases) {
        std::size_t n = 0;
        EXPECT_EQ(DrainNeedsRebuild([&] { return c.reads.at(n++); }), c.rebuild) << c.name;
        EXPECT_EQ(n, c.reads.size()) << c.name << ": every queued event is read";
    }
}

TEST(MakeHardwareId, FormsAnIdentifierTheParserReads) {
    struct Case {
        const char *vendor, *product, *revision, *id;
        unsigned parsedVendor, parsedProduct;
    };
    const Case cases[] = {
        {"1203", "0126", "0100", "USB\\VID_1203&PID_0126&REV_0100", 0x1203, 0x0126},
        {"067b", "2305", "0300", "USB\\VID_067B&PID_2305&REV_0300", 0x067B, 0x2305},
        {"1203", "0126", "", "USB\\VID_1203&PID_0126", 0x1203, 0x0126},
        {"abcd", "ef01", "a1b2", "USB\\VID_ABCD&PID_EF01&REV_A1B2", 0xABCD, 0xEF01},
    };
    for (const Case& c : cases) {
        const std::string id = MakeHardwareId(c.vendor, c.product, c.revision);
        EXPECT_EQ(id, c.id);
        const UsbIds ids = ParseHardwareId(id);
        EXPECT_EQ(ids.vendor, c.parsedVendor) << id;
        EXPECT_EQ(ids.product, c.parsedProduct) << id;
    }
}

} // namespace
} // namespace brimwell::test
