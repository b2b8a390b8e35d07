#include "printer/PrinterIdentification.h"
#include "platform/linux/UdevEvents.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brimwell::test {
namespace {

TEST(IdentifyPrinterKind, OnlyTheTwoPairs) {
    struct Case {
        std::uint16_t vendor, product;
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

RawDeviceInterface Device(const std::string& path, std::optional<UsbId> id,
                          const char* location = "1-1") {
    RawDeviceInterface d;
    d.devicePath = path;
    if (location) {
        d.location = location;
    }
    d.usbId = id;
    return d;
}

constexpr UsbId kPrinterId{0x1203, 0x0126};
constexpr UsbId kAdapterId{0x067B, 0x2305};

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
                   {Device("/dev/usb/lp0", UsbId{0x1203, 0x9999}),
                    Device("/dev/usb/lp1", UsbId{0x04B8, 0x0126}),
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
        FilterCase{"MissingUsbIdSkipped",
                   {Device("/dev/usb/lp0", std::nullopt), Device("/dev/usb/lp1", kPrinterId)},
                   {"Brimwell printer|/dev/usb/lp1"}},
        // What an identifier of another bus reads as on Windows.
        FilterCase{"ZeroPairSkipped", {Device("/dev/usb/lp0", UsbId{0, 0})}, {}},
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

} // namespace
} // namespace brimwell::test
