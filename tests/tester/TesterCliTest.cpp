// brimwell-cli tester-type and label, run through RunCli with doubles for every service.
#include "cli/Commands.h"
#include "printer/PrinterJob.h"
#include "support/CliHarness.h"
#include "tester/LabelFormatter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brimwell::test {

using namespace brimwell::cli;
namespace {

constexpr const char* kOut = "job.bin";
constexpr const char* kProfileKey = "Settings/TesterType";
const std::string kPrefix = "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",";

class TesterCli : public ::testing::Test, public test::CliHarness {
protected:
    TesterCli() {
        outputs.Add(kOut);
        clock.time = LocalDateTime{2025, 3, 7, 14, 5, 9};
    }

    // Runs the command with its job going to the output file.
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"-o", kOut});
        return Exec(args);
    }
    const std::vector<std::string>& Written() { return outputs.devices[kOut].writes; }
};

TEST_F(TesterCli, TesterTypeWritesTheConfigurationJob) {
    struct Case {
        std::optional<int> stored;
        std::vector<std::string> args;
        std::string job;
    };
    const Case cases[] = {
        {std::nullopt,
         {"tester-type", "--tester", "Pellix Luminaire (TLA)", "--user-name", "LAB 3"},
         kPrefix + "10,8\r\nLAB 3\r\nMOVE\r\n"},
        {std::nullopt, {"tester-type", "--tester", "9"}, kPrefix + "5,A\r\n\r\nMOVE\r\n"},
        {std::nullopt, {"tester-type", "--tester=1009"}, kPrefix + "5,A\r\n\r\nMOVE\r\n"},
        {std::nullopt, {"tester-type", "--tester", "Brandal"}, kPrefix + "5,A\r\n\r\nMOVE\r\n"},
        // The user name only goes with the one type that prints it.
        {std::nullopt,
         {"tester-type", "--tester", "Orrin", "--user-name", "LAB 3"},
         kPrefix + "5,2\r\n\r\nMOVE\r\n"},
        {std::nullopt, {"tester-type", "--tester", "4"}, kPrefix + "5,8\r\n\r\nMOVE\r\n"},
        // Without --tester the stored type applies; an unknown stored value means index 0.
        {1004, {"tester-type", "--user-name", "Zo\xC3\xAB"}, kPrefix + "8,8\r\nZo\xEB\r\nMOVE\r\n"},
        {1004,
         {"tester-type", "--user-name", "\xCE\xA9mega"},
         kPrefix + "10,8\r\n?mega\r\nMOVE\r\n"},
        {1003, {"tester-type"}, kPrefix + "5,6\r\n\r\nMOVE\r\n"},
        {1003, {"tester-type", "--tester", "1007"}, kPrefix + "5,1\r\n\r\nMOVE\r\n"},
        {4242, {"tester-type"}, kPrefix + "5,1\r\n\r\nMOVE\r\n"},
        {std::nullopt, {"tester-type"}, kPrefix + "5,1\r\n\r\nMOVE\r\n"},
        {std::nullopt,
         {"tester-type", "--tester", "4", "--user-name", std::string(24, 'N')},
         kPrefix + "29,8\r\n" + std::string(24, 'N') + "\r\nMOVE\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.job);
        profile.values.clear();
        if (c.stored) {
            profile.values[kProfileKey] = *c.stored;
        }
        outputs.devices[kOut].writes.clear();
        ASSERT_EQ(Run(c.args), EXIT_DONE) << err.str();
        ASSERT_EQ(Written().size(), 1u);
        EXPECT_EQ(Written()[0], c.job);
        EXPECT_EQ(err.str(), "") << "no power-cycle advice after writing a file";
    }
    EXPECT_TRUE(profile.writes.empty());
}

TEST_F(TesterCli, LabelWritesTheTextOfTheTesterType) {
    struct Case {
        std::optional<int> stored;
        std::vector<std::string> args;
        std::string text;
    };
    const LocalDateTime y2k{2000, 1, 1, 0, 0, 0};
    const LocalDateTime now = clock.time;
    const Case cases[] = {
        {std::nullopt,
         {"label", "pass", "--tester", "4", "--at", "2000-01-01 00:00:00"},
         BuildTestLabel(TestResult::Pass, 314, y2k)},
        {std::nullopt,
         {"label", "fail", "--tester", "Corvane (LIST)"},
         "DATE     07-MAR-25\r\nAPP NO       TEST LABEL\r\nUSER      Brimwell\r\n"
         "                 F\r\nEND OF DATA\r\n"},
        {1008, {"label", "pass"}, BuildTestLabel(TestResult::Pass, 318, now)},
        {1008, {"label", "--tester", "1005", "fail"}, BuildTestLabel(TestResult::Fail, 315, now)},
        {std::nullopt, {"label", "fail"}, BuildTestLabel(TestResult::Fail, 310, now)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        profile.values.clear();
        if (c.stored) {
            profile.values[kProfileKey] = *c.stored;
        }
        outputs.devices[kOut].writes.clear();
        ASSERT_EQ(Run(c.args), EXIT_DONE) << err.str();
        ASSERT_EQ(Written().size(), 1u);
        EXPECT_EQ(Written()[0], c.text);
        EXPECT_EQ(err.str(), ""); // a label needs no power cycle
    }
    EXPECT_TRUE(profile.writes.empty());
}

TEST_F(TesterCli, RefusesAndWritesNothing) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"tester-type", "--tester", "10"}, EXIT_REFUSED, "Unknown tester type '10'"},
        {{"tester-type", "--tester", "1010"}, EXIT_REFUSED, "Unknown tester type '1010'"},
        {{"tester-type", "--tester", "vesperine"}, EXIT_REFUSED, "Unknown tester type"},
        {{"tester-type", "--tester", ""}, EXIT_REFUSED, "Unknown tester type ''"},
        {{"label", "pass", "--tester", "Corvane"}, EXIT_REFUSED, "Unknown tester type"},
        // A name the window's box could not hold.
        {{"tester-type", "--tester", "4", "--user-name", std::string(25, 'N')},
         EXIT_REFUSED,
         "longer than 24"},
        {{"tester-type", "--tester", "4", "--user-name", "LAB\r\n3"},
         EXIT_REFUSED,
         "control character"},
        {{"tester-type", "--tester"}, EXIT_USAGE, "option '--tester' needs a value"},
        {{"tester-type", "extra"}, EXIT_USAGE, "unexpected argument"},
        {{"tester-type", "--name", "x"}, EXIT_USAGE, "brimwell-cli: unknown option '--name'"},
        {{"label"}, EXIT_USAGE, "pass or fail"},
        {{"label", "maybe"}, EXIT_USAGE, "pass or fail"},
        {{"label", "pass", "fail"}, EXIT_USAGE, "pass or fail"},
        {{"label", "PASS"}, EXIT_USAGE, "pass or fail"},
        {{"label", "pass", "--at", "2025-02-29 10:00:00"}, EXIT_REFUSED, "does not exist"},
        {{"label", "pass", "--at", "yesterday"}, EXIT_REFUSED, "not a valid local time"},
        {{"label", "pass", "--at"}, EXIT_USAGE, "option '--at' needs a value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Run(c.args), c.status);
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
        EXPECT_TRUE(outputs.openedPaths.empty());
    }
    EXPECT_TRUE(profile.writes.empty());
}

TEST_F(TesterCli, UnknownTesterMessageListsTheChoices) {
    EXPECT_EQ(Run({"tester-type", "--tester", "Tovick"}), EXIT_REFUSED);
    for (const char* part :
         {"0-9", "1000-1009", "\"Corvane (UK)\"", "\"Pellix Luminaire (TLA)\"", "\"Brandal\"."}) {
        EXPECT_NE(err.str().find(part), std::string::npos) << part << " in " << err.str();
    }
}

} // namespace
} // namespace brimwell::test
