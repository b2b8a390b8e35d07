#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "support/CliHarness.h"

#include <gtest/gtest.h>
#include <sstream>

namespace brimwell::test {
using namespace brimwell::cli;

namespace {

struct Cli : ::testing::Test, brimwell::test::CliHarness {};

} // namespace

// Every help fits a terminal of 80 columns and man pages made from it: no line is longer, and
// none ends in a space.
static void ExpectFitsEightyColumns(const std::string& help, const std::string& which) {
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << which << ": " << line;
        EXPECT_TRUE(line.empty() || (line.back() != ' ' && line.back() != '\t'))
            << which << ": '" << line << "'";
    }
}

TEST_F(Cli, HelpListsEveryCommandAndVersionPrintsTheVersion) {
    EXPECT_EQ(Exec({"--help"}), EXIT_DONE);
    const std::string help = out.str();
    ExpectFitsEightyColumns(help, "--help");
    for (const Command& c : AllCommands()) {
        EXPECT_NE(help.find(std::string("\n  ") + c.name + " "), std::string::npos) << c.name;
        // Each command's own help, wherever --help or -h stands after it.
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{c.name, "--help"}, {"-o", "x", c.name, "pass", "-h"}}) {
            EXPECT_EQ(Exec(args), EXIT_DONE) << c.name;
            const std::string usage = std::string("Usage: brimwell-cli ") + c.name;
            EXPECT_EQ(out.str().rfind(usage, 0), 0u) << out.str();
            EXPECT_NE(std::string(" \n").find(out.str()[usage.size()]), std::string::npos);
            ExpectFitsEightyColumns(out.str(), std::string(c.name) + " --help");
        }
    }
    EXPECT_TRUE(outputs.openedPaths.empty());
    EXPECT_EQ(Exec({"--version"}), EXIT_DONE);
    EXPECT_EQ(out.str(), std::string("brimwell-cli ") + BRIMWELL_VERSION + "\n");
}

TEST_F(Cli, UsageErrorsExitWithTwoAndSendNothing) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--bogus=1", "list"}, "unknown option '--bogus'"},
        {{"-x", "list"}, "unknown option '-x'"},
        {{"list", "--bogus"}, "unknown option '--bogus'"},
        {{"list", "--json=yes"}, "option '--json' takes no value"},
        {{"list", "-o"}, "option '-o' needs a FILE"},
        {{"-p"}, "option '-p' needs a PATH"},
        {{"-o", "out.bin", "-p", "/dev/usb/lp0", "list"}, "-o and -p cannot be used together"},
        {{"list", "extra"}, "list takes no arguments but --json"},
    };
    for (const auto& [args, what] : cases) {
        EXPECT_EQ(Exec(args), EXIT_USAGE) << what;
        // What was wrong first, where help is last, and every line the program's own.
        EXPECT_EQ(err.str().rfind("brimwell-cli: " + what + "\n", 0), 0u) << err.str();
        const std::string tail = "brimwell-cli: Try 'brimwell-cli --help'.\n";
        ASSERT_GE(err.str().size(), tail.size());
        EXPECT_EQ(err.str().substr(err.str().size() - tail.size()), tail);
        std::istringstream lines(err.str());
        for (std::string line; std::getline(lines, line);) {
            EXPECT_EQ(line.rfind("brimwell-cli: ", 0), 0u) << line;
        }
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_TRUE(printers.openedPaths.empty());
    EXPECT_TRUE(outputs.openedPaths.empty());
}

// A failure of the system ends with the system's reason; the transport's message stays as
// the window words it.
TEST_F(Cli, SystemFailuresEndWithTheSystemsReason) {
    struct Case {
        const char* destination;
        void (*breakIt)(fake::FakeDeviceOpener::Device&);
        const char* reason;
        std::string said;
    };
    const Case cases[] = {
        {"-p", [](auto& d) { d.opens = false; }, "Permission denied",
         "Error : can't open 'dev': Permission denied"},
        {"-p", [](auto& d) { d.writeFails = true; }, "No such device",
         "Error : write failure for 'dev': No such device"},
        {"-o", [](auto& d) { d.commitFails = true; }, "No space left on device",
         "Error : write failure for 'dev': No space left on device"},
        {"-o", [](auto& d) { d.shortWrite = 3; }, "", "Error : write failure for 'dev'"},
    };
    for (const Case& c : cases) {
        for (fake::FakeDeviceOpener* opener : {&printers, &outputs}) {
            opener->devices.clear();
            c.breakIt(opener->Add("dev"));
            opener->devices["dev"].reason = c.reason;
        }
        EXPECT_EQ(Exec({c.destination, "dev", "density", "5"}), EXIT_PRINTER);
        EXPECT_EQ(err.str(), "brimwell-cli: " + c.said + "\n");
    }
}

TEST(WithReason, JoinsTheReasonAfterAColonWithOneFullStopAtTheEnd) {
    const struct {
        const char* message;
        const char* reason;
        const char* said;
    } cases[] = {
        {"Can't open the specified file.", "File not found.",
         "Can't open the specified file: File not found."},
        {"Can't open the specified file.", "Is a directory",
         "Can't open the specified file: Is a directory."},
        {"Error : can't open 'dev'", "Permission denied",
         "Error : can't open 'dev': Permission denied"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithReason(c.message, c.reason), c.said);
    }
}

TEST_F(Cli, ListPrintsOneLinePerListedDeviceInEnumerationOrder) {
    EXPECT_EQ(Exec({"list"}), EXIT_DONE);
    EXPECT_EQ(out.str(), ""); // a pipe sees no false path
    EXPECT_EQ(err.str(), "brimwell-cli: No printer found\n");
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
