// `brimwell-cli list`: the same discovery and filtering as the window's printer list.
#include "cli/Commands.h"
#include "platform/fake/Fakes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brimwell::cli {
namespace {

using fake::FakeEnumerator;

struct ListCase {
    const char* name;
    std::vector<RawDeviceInterface> devices;
    bool refuse;
    std::vector<std::string> args;
    int status;
    std::string out;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class ListCommand : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListCommand, PrintsTheListedDevices) {
    const ListCase& c = GetParam();
    fake::MemoryProfile profile;
    fake::FixedClock clock;
    FakeEnumerator enumerator;
    enumerator.devices = c.devices;
    enumerator.refuse = c.refuse;
    fake::FakeDeviceOpener printers;
    fake::FakeDeviceOpener outputs;
    fake::FakeTicks ticks;
    CliServices services{profile, clock, enumerator, printers, outputs, ticks};
    std::ostringstream out;
    std::ostringstream err;
    std::vector<std::string> args = {"list"};
    args.insert(args.end(), c.args.begin(), c.args.end());

    EXPECT_EQ(RunCli(args, services, out, err), c.status);
    EXPECT_EQ(out.str(), c.out);
    if (c.status == EXIT_DONE) {
        EXPECT_EQ(err.str(), "");
    }
    // Listing never opens a device.
    EXPECT_TRUE(printers.openedPaths.empty());
    EXPECT_TRUE(outputs.openedPaths.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListCommand,
    ::testing::Values(ListCase{"Nothing", {}, false, {}, EXIT_DONE, "No printer found\n"},
                      ListCase{"RefusedQuery",
                               {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)},
                               true,
                               {},
                               EXIT_DONE,
                               "No printer found\n"},
                      ListCase{"PrinterAndAdapterInEnumerationOrder",
                               {FakeEnumerator::Usb("/dev/usb/lp1", 0x067B, 0x2305),
                                FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)},
                               false,
                               {},
                               EXIT_DONE,
                               "1\tUSB-to-Parallel adapter\t/dev/usb/lp1\n"
                               "2\tBrimwell printer\t/dev/usb/lp0\n"},
                      ListCase{
                          "OthersFilteredOut",
                          {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x9999),
                           FakeEnumerator::Usb("/dev/usb/lp1", 0x1203, 0x0126),
                           FakeEnumerator::Usb("/dev/usb/lp2", 0x1203, 0x0126)},
                          false,
                          {},
                          EXIT_DONE,
                          "1\tBrimwell printer\t/dev/usb/lp1\n2\tBrimwell printer\t/dev/usb/lp2\n"},
                      ListCase{"NoArgumentsTaken", {}, false, {"--all"}, EXIT_USAGE, ""}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

TEST(ListPrinters, TheFirstListedIsTheDefaultDestination) {
    FakeEnumerator enumerator;
    enumerator.devices = {FakeEnumerator::Usb("/dev/usb/lp0", 0x0424, 0x0001),
                          FakeEnumerator::Usb("/dev/usb/lp3", 0x067B, 0x2305),
                          FakeEnumerator::Usb("/dev/usb/lp1", 0x1203, 0x0126)};
    const auto listed = ListPrinters(enumerator);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed.front().devicePath, "/dev/usb/lp3");
    enumerator.refuse = true;
    EXPECT_TRUE(ListPrinters(enumerator).empty());
}

} // namespace
} // namespace brimwell::cli
