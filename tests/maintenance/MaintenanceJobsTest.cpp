#include "maintenance/MaintenanceJobs.h"

#include <climits>
#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

struct DensityCase {
    int density;
    const char* bytes;
    std::size_t length;
};

TEST(DensityJob, ValuesAtTheEdgesOfOneAndTwoDigits) {
    const DensityCase cases[] = {
        {1, "RKW7047\r\n1\r\n", 12},   {8, "RKW7047\r\n8\r\n", 12},   {9, "RKW7047\r\n9\r\n", 12},
        {10, "RKW7047\r\n10\r\n", 13}, {15, "RKW7047\r\n15\r\n", 13},
    };
    for (const DensityCase& c : cases) {
        SCOPED_TRACE(c.density);
        const auto job = DensityJob(c.density);
        ASSERT_TRUE(job.has_value());
        EXPECT_EQ(*job, std::string(c.bytes));
        EXPECT_EQ(job->size(), c.length);
    }
}

TEST(DensityJob, RefusesValuesOffTheScale) {
    for (int density : {0, 16, -1, 100, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(density);
        EXPECT_FALSE(DensityJob(density).has_value());
        EXPECT_FALSE(IsValidDensity(density));
    }
}

struct ClockCase {
    LocalDateTime time;
    const char* line; // the date and time line, without its CR LF
};

TEST(ClockJob, DayMonthTwoDigitYearAndTime) {
    const ClockCase cases[] = {
        {{2024, 3, 5, 9, 7, 3}, "05/03/24 09:07:03"},
        {{2000, 1, 1, 0, 0, 0}, "01/01/00 00:00:00"},
        {{2105, 6, 7, 8, 9, 10}, "07/06/05 08:09:10"},
        {{1999, 12, 31, 23, 59, 59}, "31/12/99 23:59:59"},
    };
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string job = ClockJob(c.time);
        EXPECT_EQ(job, std::string("\r\nRKW7046\r\n") + c.line + "\r\n");
        EXPECT_EQ(job.size(), 30u);
    }
}

TEST(ParseDensity, AcceptsOnlyWholeNumbersOnTheScale) {
    struct Case {
        const char* text;
        DensityArgument::Status status;
        int value;
    };
    const Case cases[] = {
        {"1", DensityArgument::Ok, 1},
        {"15", DensityArgument::Ok, 15},
        {"08", DensityArgument::Ok, 8},
        {"+9", DensityArgument::Ok, 9},
        {"0", DensityArgument::OutOfRange, 0},
        {"16", DensityArgument::OutOfRange, 0},
        {"-1", DensityArgument::OutOfRange, 0},
        {"-0", DensityArgument::OutOfRange, 0},
        {"99999999999999999999999", DensityArgument::OutOfRange, 0},
        {"", DensityArgument::NotANumber, 0},
        {"-", DensityArgument::NotANumber, 0},
        {"abc", DensityArgument::NotANumber, 0},
        {"8x", DensityArgument::NotANumber, 0},
        {" 8", DensityArgument::NotANumber, 0},
        {"8.0", DensityArgument::NotANumber, 0},
        {"0x8", DensityArgument::NotANumber, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const DensityArgument parsed = ParseDensity(c.text);
        EXPECT_EQ(parsed.status, c.status);
        if (c.status == DensityArgument::Ok) {
            EXPECT_EQ(parsed.value, c.value);
        }
    }
}

} // namespace
} // namespace brimwell::test
