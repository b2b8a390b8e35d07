// The "MODE.MOD" store job and the tester catalogue it reads the mode character from.
#include "tester/ConfigJob.h"
#include "tester/TesterCatalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace brimwell::test {
namespace {

const std::string kPrefix = "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",";

// The payload a job carries, after checking that its stated length covers exactly the bytes
// between the comma and the closing "MOVE".
std::string PayloadOf(const std::string& job) {
    EXPECT_EQ(job.compare(0, kPrefix.size(), kPrefix), 0) << job;
    const std::size_t comma = job.find(',', kPrefix.size());
    const std::size_t stated = std::stoul(job.substr(kPrefix.size(), comma - kPrefix.size()));
    const std::string payload = job.substr(comma + 1, stated);
    EXPECT_EQ(job.substr(comma + 1 + stated), "MOVE\r\n") << job;
    return payload;
}

TEST(ConfigJob, MatchesTheTwoReferenceJobs) {
    EXPECT_EQ(BuildConfigJob('8', "LAB 3"),
              "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",10,8\r\nLAB 3\r\nMOVE\r\n");
    EXPECT_EQ(BuildConfigJob('A', ""),
              "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",5,A\r\n\r\nMOVE\r\n");
}

TEST(ConfigJob, EveryTesterTypeWithoutANameSendsFiveBytes) {
    for (int i = 0; i < kTesterCount; ++i) {
        const char mode = TesterMode(i);
        const std::string job = BuildConfigJob(mode, "");
        EXPECT_EQ(job, kPrefix + "5," + mode + "\r\n\r\nMOVE\r\n") << i;
        EXPECT_EQ(FormatModePayload(mode, ""), std::string(1, mode) + "\r\n\r\n");
    }
}

TEST(ConfigJob, LengthCountsBytesOfTheName) {
    struct Case {
        std::string name;
        std::string payload;
    };
    const Case cases[] = {
        {"Zo\xEB", "8\r\nZo\xEB\r\n"},                                   // one byte per letter
        {std::string(24, 'W'), "8\r\n" + std::string(24, 'W') + "\r\n"}, // the longest name
        {"100%s %d %%", "8\r\n100%s %d %%\r\n"},                         // no second formatting
        {"\x81\x40\x82\xA0", "8\r\n\x81\x40\x82\xA0\r\n"},               // double-byte code pages
        {std::string("AB\0CD", 5), "8\r\nAB\r\n"}, // ends at a zero: the length still fits
    };
    for (const Case& c : cases) {
        const std::string job = BuildConfigJob('8', c.name);
        EXPECT_EQ(PayloadOf(job), c.payload) << job;
        EXPECT_EQ(FormatModePayload('8', c.name), c.payload);
    }
    EXPECT_NE(BuildConfigJob('8', std::string(24, 'W')).find(",29,8\r\n"), std::string::npos);
}

TEST(TesterCatalogue, RowsInOrder) {
    struct Row {
        int nameId;
        int code;
        char mode;
        const char* name;
    };
    const Row rows[] = {
        {310, 1000, '1', "Corvane (UK)"},
        {311, 1001, '4', "Corvane (USA)"},
        {312, 1002, '5', "Corvane (LIST)"},
        {313, 1003, '6', "Pellix Luminaire"},
        {314, 1004, '8', "Pellix Luminaire (TLA)"},
        {315, 1005, '2', "Orrin"},
        {316, 1006, '1', "Tovik"},
        {317, 1007, '1', "Vesperine"},
        {318, 1008, '9', "Quintel"},
        {319, 1009, 'A', "Brandal"},
    };
    for (int i = 0; i < kTesterCount; ++i) {
        EXPECT_EQ(TesterNameId(i), rows[i].nameId);
        EXPECT_EQ(TesterCode(i), rows[i].code);
        EXPECT_EQ(TesterMode(i), rows[i].mode);
        EXPECT_STREQ(TesterDisplayName(i), rows[i].name);
        EXPECT_EQ(TesterIndexForCode(rows[i].code), i);
        EXPECT_EQ(TesterUsesUserName(i), i == 4) << i;
    }
    EXPECT_EQ(kTesterCatalogue[kTesterCount].nNameId, 0);
}

TEST(TesterCatalogue, ThreeTypesShareModeOne) {
    int count = 0;
    for (int i = 0; i < kTesterCount; ++i) {
        if (TesterMode(i) == '1') {
            EXPECT_TRUE(i == 0 || i == 6 || i == 7) << i;
            ++count;
        }
    }
    EXPECT_EQ(count, 3);
}

TEST(TesterCatalogue, UnknownStoredCodeSelectsTheFirstRow) {
    for (int stored : {0, -1, 999, 1010, 1, 7, 2147483647}) {
        EXPECT_EQ(TesterIndexForCode(stored), 0) << stored;
    }
}

TEST(TesterCatalogue, IndexFromCommandLineText) {
    struct Case {
        const char* text;
        int index;
    };
    const Case cases[] = {
        {"0", 0},
        {"9", 9},
        {"4", 4},
        {"1000", 0},
        {"1009", 9},
        {"1007", 7},
        {"Vesperine", 7},
        {"Pellix Luminaire (TLA)", 4},
        {"Pellix Luminaire", 3},
        {"Corvane (UK)", 0},
        // Unknown: out of range, padded, signed, other case, partial names, empty.
        {"10", -1},
        {"1010", -1},
        {"999", -1},
        {"01", -1},
        {"0007", -1},
        {"-1", -1},
        {"+1", -1},
        {" 1", -1},
        {"vesperine", -1},
        {"Pellix", -1},
        {"", -1},
        {"99999999999999999999", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TesterIndexFromText(c.text), c.index) << "'" << c.text << "'";
    }
}

} // namespace
} // namespace brimwell::test
