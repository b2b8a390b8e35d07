// `brimwell-cli list` and the default destination of a job: both come from the same
// discovery and filtering as the window's printer list.
#include "cli/Commands.h"
#include "support/CliHarness.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brimwell::test {

using namespace brimwell::cli;
namespace {

using fake::FakeEnumerator;

struct DiscoveryCase {
    const char* name;
    std::vector<RawDeviceInterface> devices;
    bool refuse;
    std::string listed;      // what `list` prints on standard output
    std::string json;        // what `list --json` prints, byte for byte
    std::string destination; // where `density 5` goes, "" when it finds none
};

void PrintTo(const DiscoveryCase& c, std::ostream* os) {
    *os << c.name;
}

class CliDiscovery : public ::testing::TestWithParam<DiscoveryCase>, public test::CliHarness {
protected:
    CliDiscovery() {
        enumerator.devices = GetParam().devices;
        enumerator.refuse = GetParam().refuse;
        printers.Add("/dev/usb/lp0");
        printers.Add("/dev/usb/lp1");
        printers.Add("/dev/usb/lp3");
    }
};

TEST_P(CliDiscovery, ListAndTheDefaultDestinationAgree) {
    const DiscoveryCase& c = GetParam();
    EXPECT_EQ(Exec({"list"}), EXIT_DONE);
    EXPECT_EQ(out.str(), c.listed);
    EXPECT_EQ(err.str(), c.listed.empty() ? "brimwell-cli: No printer found\n" : "");
    EXPECT_TRUE(printers.openedPaths.empty()); // listing opens nothing
    EXPECT_EQ(Exec({"list", "--json"}), EXIT_DONE);
    EXPECT_EQ(out.str(), c.json);

    const int status = Exec({"density", "5"});
    if (c.destination.empty()) {
        EXPECT_EQ(status, EXIT_PRINTER);
        EXPECT_EQ(err.str(), "brimwell-cli: No printer found\n");
        EXPECT_TRUE(printers.openedPaths.empty());
    } else {
        EXPECT_EQ(status, EXIT_DONE);
        EXPECT_EQ(printers.openedPaths, std::vector<std::string>{c.destination});
        EXPECT_EQ(printers.devices[c.destination].writes.size(), 1u);
    }
    EXPECT_TRUE(outputs.openedPaths.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliDiscovery,
    ::testing::Values(
        DiscoveryCase{"Nothing", {}, false, "", "[]\n", ""},
        DiscoveryCase{"RefusedQuery",
                      {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)},
                      true,
                      "",
                      "[]\n",
                      ""},
        DiscoveryCase{"OnlyOtherDevices",
                      {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x9999),
                       FakeEnumerator::Usb("/dev/usb/lp1", 0x04B8, 0x0005)},
                      false,
                      "",
                      "[]\n",
                      ""},
        DiscoveryCase{"FirstListedIsTheDestination",
                      {FakeEnumerator::Usb("/dev/usb/lp0", 0x0424, 0x0001),
                       FakeEnumerator::Usb("/dev/usb/lp3", 0x067B, 0x2305),
                       FakeEnumerator::Usb("/dev/usb/lp1", 0x1203, 0x0126)},
                      false,
                      "1\tUSB-to-Parallel adapter\t/dev/usb/lp3\n"
                      "2\tBrimwell printer\t/dev/usb/lp1\n",
                      "[{\"index\":1,\"kind\":\"adapter\",\"name\":\"USB-to-Parallel adapter\","
                      "\"path\":\"/dev/usb/lp3\",\"product\":\"2305\",\"vendor\":\"067b\"},"
                      "{\"index\":2,\"kind\":\"printer\",\"name\":\"Brimwell printer\","
                      "\"path\":\"/dev/usb/lp1\",\"product\":\"0126\",\"vendor\":\"1203\"}]\n",
                      "/dev/usb/lp3"},
        DiscoveryCase{"TwoIdenticalPrinters",
                      {FakeEnumerator::Usb("/dev/usb/lp1", 0x1203, 0x0126),
                       FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)},
                      false,
                      "1\tBrimwell printer\t/dev/usb/lp1\n2\tBrimwell printer\t/dev/usb/lp0\n",
                      "[{\"index\":1,\"kind\":\"printer\",\"name\":\"Brimwell printer\","
                      "\"path\":\"/dev/usb/lp1\",\"product\":\"0126\",\"vendor\":\"1203\"},"
                      "{\"index\":2,\"kind\":\"printer\",\"name\":\"Brimwell printer\","
                      "\"path\":\"/dev/usb/lp0\",\"product\":\"0126\",\"vendor\":\"1203\"}]\n",
                      "/dev/usb/lp1"}),
    [](const ::testing::TestParamInfo<DiscoveryCase>& info) {
        return std::string(info.param.name);
    });

TEST(CliDestination, AnExplicitPrinterNeedsNoDiscovery) {
    fake::MemoryProfile profile;
    fake::FixedClock clock;
    FakeEnumerator enumerator;
    enumerator.devices = {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)};
    fake::FakeDeviceOpener printers;
    printers.Add("/dev/usb/lp7");
    fake::FakeDeviceOpener outputs;
    fake::FakeTicks ticks;
    CliServices services{profile, clock, enumerator, printers, outputs, ticks};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"-p", "/dev/usb/lp7", "density", "5"}, services, out, err), EXIT_DONE);
    EXPECT_EQ(printers.openedPaths, std::vector<std::string>{"/dev/usb/lp7"});
    EXPECT_EQ(enumerator.calls, 0);
}

} // namespace
} // namespace brimwell::test
