// The test-label texts: every format byte for byte, and the properties the printer's label
// program relies on (fixed lengths, CR LF line ends, the list format's F line).
#include "tester/LabelFormatter.h"
#include "tester/TesterCatalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brimwell::test {
namespace {

constexpr LocalDateTime kMarch7 = {2025, 3, 7, 14, 5, 9};

const char* const kListFail = "DATE     07-MAR-25\r\n"
                              "APP NO       TEST LABEL\r\n"
                              "USER      Brimwell\r\n"
                              "                 F\r\n"
                              "END OF DATA\r\n";

const char* const kTlaPass = "Tested            PASS\r\n"
                             "S/N 0123456789\r\n"
                             "Dated 07/03/25\r\n";

const char* const kOrrinPass = "DATE  07/03/2025\r\n"
                               "      APPLIANCE          TEST LABEL\r\n"
                               "  APPLIED VOLTS                   ?\r\n"
                               "           SITE              SITE 1\r\n"
                               "       LOCATION          LOCATION 1\r\n"
                               "           USER            Brimwell\r\n"
                               "   TEST                         ???\r\n"
                               "        TEST                     PASS\r\n";

const char* const kQuintelPass = "Date  07/03/2025\r\n"
                                 "Time  14:05\r\n"
                                 "Serial No                    0123456789\r\n"
                                 "Result         PASS\r\n";

const char* const kBrandalPass = "Operator\r\n"
                                 "Brimwell\r\n"
                                 "Product PN\r\n"
                                 "TEST LABEL\r\n"
                                 "==== Test            07/03/2025\r\n"
                                 "Test #      PASS 14:05:09\r\n"
                                 "S/N             0123456789\r\n";

const char* const kBoxedPass = "+==============================+\r\n"
                               "|    VESPERINE TEST LABEL      |\r\n"
                               "|==============================|\r\n"
                               "| APPLIANCE:                   |\r\n"
                               "|                   TEST LABEL |\r\n"
                               "|------------------------------|\r\n"
                               "| DATE:                        |\r\n"
                               "|                   07/03/2025 |\r\n"
                               "|------------------------------|\r\n"
                               "| USER:                        |\r\n"
                               "|                     Brimwell |\r\n"
                               "|------------------------------|\r\n"
                               "| TEST STATUS:                 |\r\n"
                               "|                         PASS |\r\n"
                               "|------------------------------|\r\n"
                               "| NEXT TEST DUE:               |\r\n"
                               "|                              |\r\n"
                               "+==============================+\r\n"
                               "\r\n\r\n\r\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The list format without its F line: the pass label.
std::string ListPass() {
    return Replace(kListFail, "                 F\r\n", "");
}

struct FormatCase {
    int nameId;
    LabelFormat format;
    std::string pass; // for kMarch7
    std::size_t passBytes;
    std::size_t failBytes;
};

std::vector<FormatCase> AllFormats() {
    return {
        {310, LabelFormat::Boxed, kBoxedPass, 618, 618},
        {311, LabelFormat::Boxed, kBoxedPass, 618, 618},
        {312, LabelFormat::List, ListPass(), 78, 98},
        {313, LabelFormat::Boxed, kBoxedPass, 618, 618},
        {314, LabelFormat::Tla, kTlaPass, 56, 56},
        {315, LabelFormat::Orrin, kOrrinPass, 279, 279},
        {316, LabelFormat::Boxed, kBoxedPass, 618, 618},
        {317, LabelFormat::Boxed, kBoxedPass, 618, 618},
        {318, LabelFormat::Quintel, kQuintelPass, 93, 93},
        {319, LabelFormat::Brandal, kBrandalPass, 132, 132},
    };
}

TEST(LabelFormatter, EveryTesterTypeGetsItsFormat) {
    for (const FormatCase& c : AllFormats()) {
        EXPECT_EQ(LabelFormatForNameId(c.nameId), c.format) << c.nameId;
    }
    EXPECT_EQ(LabelFormatForNameId(0), LabelFormat::Boxed);
    EXPECT_EQ(LabelFormatForNameId(320), LabelFormat::Boxed);
}

TEST(LabelFormatter, ReproducesEveryFormatByteForByte) {
    for (const FormatCase& c : AllFormats()) {
        SCOPED_TRACE(c.nameId);
        EXPECT_EQ(BuildTestLabel(TestResult::Pass, c.nameId, kMarch7), c.pass);
        // Apart from the list format, a fail label is the pass label with the other word.
        const std::string fail = c.format == LabelFormat::List ? std::string(kListFail)
                                                               : Replace(c.pass, "PASS", "FAIL");
        EXPECT_EQ(BuildTestLabel(TestResult::Fail, c.nameId, kMarch7), fail);
    }
}

TEST(LabelFormatter, LengthIsFixedForEveryDateWithAFourDigitYear) {
    const std::vector<LocalDateTime> dates = {
        kMarch7,
        {2000, 1, 1, 0, 0, 0},
        {2009, 12, 31, 23, 59, 59},
        {1999, 6, 15, 9, 30, 0},
        {2024, 2, 29, 12, 0, 1},
        {2099, 11, 30, 7, 8, 9},
        {1000, 10, 10, 10, 10, 10},
        {9999, 12, 31, 23, 59, 59},
        {2038, 1, 19, 3, 14, 8},
    };
    for (const FormatCase& c : AllFormats()) {
        for (const LocalDateTime& t : dates) {
            SCOPED_TRACE(::testing::Message()
                         << c.nameId << " " << t.year << "-" << t.month << "-" << t.day);
            EXPECT_EQ(BuildTestLabel(TestResult::Pass, c.nameId, t).size(), c.passBytes);
            EXPECT_EQ(BuildTestLabel(TestResult::Fail, c.nameId, t).size(), c.failBytes);
        }
    }
}

TEST(LabelFormatter, EveryLineEndsWithCarriageReturnLineFeed) {
    for (const FormatCase& c : AllFormats()) {
        for (TestResult result : {TestResult::Pass, TestResult::Fail}) {
            const std::string text = BuildTestLabel(result, c.nameId, kMarch7);
            ASSERT_GE(text.size(), 2u);
            EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << c.nameId;
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '\n') {
                    EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << c.nameId << " at " << i;
                }
                if (text[i] == '\r') {
                    EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << c.nameId;
                }
                EXPECT_TRUE(static_cast<unsigned char>(text[i]) < 0x80) << c.nameId;
            }
        }
    }
}

TEST(LabelFormatter, OnlyTheBoxedFormatEndsWithEmptyLinesAndOnlyTheListWithEndOfData) {
    for (const FormatCase& c : AllFormats()) {
        const std::string text = BuildTestLabel(TestResult::Pass, c.nameId, kMarch7);
        const bool boxed = c.format == LabelFormat::Boxed;
        const bool list = c.format == LabelFormat::List;
        EXPECT_EQ(text.size() >= 4 && text.compare(text.size() - 4, 4, "\r\n\r\n") == 0, boxed)
            << c.nameId;
        if (boxed) {
            EXPECT_EQ(text.substr(text.size() - 40), "+==============================+\r\n"
                                                     "\r\n\r\n\r\n");
        }
        const std::string end = "END OF DATA\r\n";
        EXPECT_EQ(text.size() >= end.size() &&
                      text.compare(text.size() - end.size(), end.size(), end) == 0,
                  list)
            << c.nameId;
    }
}

TEST(LabelFormatter, ListFormatMarksAFailWithAnFAndNeverPrintsTheResultWord) {
    const std::string pass = BuildTestLabel(TestResult::Pass, IDS_TESTER_LIST, kMarch7);
    const std::string fail = BuildTestLabel(TestResult::Fail, IDS_TESTER_LIST, kMarch7);
    const std::string fLine = std::string(17, ' ') + "F\r\n";
    EXPECT_EQ(fail, Replace(pass, "END OF DATA\r\n", fLine + "END OF DATA\r\n"));
    EXPECT_EQ(pass.find(fLine), std::string::npos);
    for (const std::string& text : {pass, fail}) {
        EXPECT_EQ(text.find("PASS"), std::string::npos);
        EXPECT_EQ(text.find("FAIL"), std::string::npos);
    }
}

TEST(LabelFormatter, FiveTesterTypesShareTheBoxedTitle) {
    const std::string reference = BuildTestLabel(TestResult::Fail, 317, kMarch7);
    for (int nameId : {310, 311, 313, 316, 317}) {
        const std::string text = BuildTestLabel(TestResult::Fail, nameId, kMarch7);
        EXPECT_EQ(text.substr(34, 34), "|    VESPERINE TEST LABEL      |\r\n") << nameId;
        EXPECT_EQ(text, reference) << nameId;
    }
}

// Lines of the date and time that each format prints, for dates at the edges of the fields.
TEST(LabelFormatter, DateAndTimeFields) {
    struct Case {
        LocalDateTime when;
        int nameId;
        TestResult result;
        const char* line;
    };
    const LocalDateTime y2k = {2000, 1, 1, 0, 0, 0};
    const LocalDateTime dec2009 = {2009, 12, 24, 18, 7, 3};
    const Case cases[] = {
        {y2k, IDS_TESTER_LIST, TestResult::Pass, "DATE     01-JAN-00\r\n"},
        {y2k, IDS_TESTER_TLA, TestResult::Pass, "Dated 01/01/00\r\n"},
        {y2k, IDS_TESTER_QUINTEL, TestResult::Pass, "Date  01/01/2000\r\nTime  00:00\r\n"},
        {y2k, IDS_TESTER_BRANDAL, TestResult::Fail, "Test #      FAIL 00:00:00\r\n"},
        {y2k, IDS_TESTER_BRANDAL, TestResult::Pass, "==== Test            01/01/2000\r\n"},
        {y2k, IDS_TESTER_ORRIN, TestResult::Pass, "DATE  01/01/2000\r\n"},
        {y2k, 310, TestResult::Pass, "|                   01/01/2000 |\r\n"},
        {dec2009, IDS_TESTER_LIST, TestResult::Fail, "DATE     24-DEC-09\r\n"},
        {dec2009, IDS_TESTER_TLA, TestResult::Fail, "Dated 24/12/09\r\n"},
        {dec2009, IDS_TESTER_ORRIN, TestResult::Fail, "DATE  24/12/2009\r\n"},
        {dec2009, IDS_TESTER_QUINTEL, TestResult::Fail, "Date  24/12/2009\r\nTime  18:07\r\n"},
        {dec2009, IDS_TESTER_BRANDAL, TestResult::Pass, "Test #      PASS 18:07:03\r\n"},
        {dec2009, 313, TestResult::Fail, "|                   24/12/2009 |\r\n"},
    };
    for (const Case& c : cases) {
        const std::string text = BuildTestLabel(c.result, c.nameId, c.when);
        EXPECT_NE(text.find(c.line), std::string::npos) << c.nameId << ": " << c.line << "\n"
                                                        << text;
    }
}

TEST(LabelFormatter, ListFormatNamesEveryMonth) {
    const char* const names[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (unsigned month = 1; month <= 12; ++month) {
        const std::string text =
            BuildTestLabel(TestResult::Pass, IDS_TESTER_LIST, {2031, month, 5, 1, 2, 3});
        EXPECT_EQ(text.substr(0, 20), std::string("DATE     05-") + names[month - 1] + "-31\r\n");
    }
}

// A month outside 1-12 never comes from the clock; should one arrive, the label keeps its
// shape instead of reading past the month names.
TEST(LabelFormatter, MonthOutOfRangeKeepsTheListLabelsShape) {
    for (unsigned month : {0u, 13u, 4000000000u}) {
        const std::string text =
            BuildTestLabel(TestResult::Pass, IDS_TESTER_LIST, {2025, month, 7, 0, 0, 0});
        EXPECT_EQ(text.substr(0, 20), "DATE     07-\?\?\?-25\r\n") << month;
        EXPECT_EQ(text.size(), 78u);
    }
}

} // namespace
} // namespace brimwell::test
