#include "cli/Commands.h"
#include "support/CliHarness.h"

#include <gtest/gtest.h>
#include <sstream>

namespace brimwell::test {
using namespace brimwell::cli;

namespace {

struct Cli : ::testing::Test, brimwell::test::CliHarness {};

} // namespace

TEST_F(Cli, HelpListsEveryCommandAndVersionPrintsTheVersion) {
    EXPECT_EQ(Exec({"--help"}), EXIT_DONE);
    for (const char* name : {"list", "testers", "tester-type", "density", "clock", "label", "logo",
                             "firmware", "preview"}) {
        EXPECT_NE(out.str().find(std::string("  ") + name + " "), std::string::npos) << name;
    }
    EXPECT_NE(out.str().find("-o FILE"), std::string::npos);
    EXPECT_NE(out.str().find("--all"), std::string::npos);
    EXPECT_EQ(Exec({"--version"}), EXIT_DONE);
    EXPECT_EQ(out.str(), std::string("brimwell-cli ") + BRIMWELL_VERSION + "\n");
}

TEST_F(Cli, UsageErrorsExitWithTwoAndSendNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"list", "-o"},
        {"-p"},
        {"-o", "out.bin", "-p", "/dev/usb/lp0", "list"},
        {"list", "extra"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Exec(args), EXIT_USAGE) << (args.empty() ? "" : args[0]);
        EXPECT_NE(err.str().find("usage: brimwell-cli"), std::string::npos);
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_TRUE(printers.openedPaths.empty());
    EXPECT_TRUE(outputs.openedPaths.empty());
}

TEST_F(Cli, ListPrintsOneLinePerListedDeviceInEnumerationOrder) {
    EXPECT_EQ(Exec({"list"}), EXIT_DONE);
    EXPECT_EQ(out.str(), "No printer found\n");
    enumerator.devices = {fake::FakeEnumerator::Usb("/dev/usb/lp1", 0x067B, 0x2305),
                          fake::FakeEnumerator::Usb("/dev/usb/lp2", 0x1203, 0x9999),
                          fake::FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)};
    EXPECT_EQ(Exec({"list"}), EXIT_DONE);
    EXPECT_EQ(out.str(), "1\tUSB-to-Parallel adapter\t/dev/usb/lp1\n"
                         "2\tBrimwell printer\t/dev/usb/lp0\n");
    EXPECT_TRUE(err.str().empty());
}

TEST(ParseLocalTime, AcceptsOnlyRealDatesInTheDocumentedForm) {
    const auto t = ParseLocalTime("2024-03-05 09:07:03");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year, 2024u);
    EXPECT_EQ(t->month, 3u);
    EXPECT_EQ(t->day, 5u);
    EXPECT_EQ(t->hour, 9u);
    EXPECT_EQ(t->minute, 7u);
    EXPECT_EQ(t->second, 3u);
    EXPECT_TRUE(ParseLocalTime("2024-02-29 23:59:59"));
    for (const char* bad : {"2023-02-29 00:00:00", "2024-13-01 00:00:00", "2024-04-31 00:00:00",
                            "2024-01-01 24:00:00", "2024-01-01 00:60:00", "2024-01-01 00:00:60",
                            "2024-1-01 00:00:00", "2024-01-01T00:00:00", "2024-01-01 00:00:00x", "",
                            "+024-01-01 00:00:00", "2024-01-01  0:00:00"}) {
        EXPECT_FALSE(ParseLocalTime(bad)) << bad;
    }
}

} // namespace brimwell::test
