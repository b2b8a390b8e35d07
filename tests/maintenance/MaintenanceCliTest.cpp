#include "cli/Commands.h"
#include "support/CliHarness.h"

#include <gtest/gtest.h>
#include <sstream>

namespace brimwell::test {

using namespace brimwell::cli;
namespace {

using fake::FakeDeviceOpener;
using fake::FakeEnumerator;

class MaintenanceCli : public ::testing::Test, public test::CliHarness {
protected:
    MaintenanceCli() {
        clock.time = LocalDateTime{2024, 3, 5, 9, 7, 3};
        outputs.Add("job.bin");
        printers.Add("/dev/usb/lp0");
        printers.Add("/dev/usb/lp3");
        enumerator.devices.push_back(FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126));
    }

    std::vector<std::string> Writes(FakeDeviceOpener& opener, const std::string& path) {
        return opener.devices[path].writes;
    }
};

TEST_F(MaintenanceCli, DensitySendsOneJobToWhereItIsTold) {
    struct Case {
        std::vector<std::string> args;
        bool toFile;
        std::string path;
        std::string bytes;
    };
    const Case cases[] = {
        {{"-o", "job.bin", "density", "1"}, true, "job.bin", "RKW7047\r\n1\r\n"},
        {{"density", "15", "--output=job.bin"}, true, "job.bin", "RKW7047\r\n15\r\n"},
        {{"-p", "/dev/usb/lp3", "density", "10"}, false, "/dev/usb/lp3", "RKW7047\r\n10\r\n"},
        {{"density", "9"}, false, "/dev/usb/lp0", "RKW7047\r\n9\r\n"}, // first listed printer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        ClearWrites();
        EXPECT_EQ(Exec(c.args), EXIT_DONE) << err.str();
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(Writes(c.toFile ? outputs : printers, c.path), std::vector<std::string>{c.bytes});
        EXPECT_EQ(AllWrites().size(), 1u);
    }
}

TEST_F(MaintenanceCli, DensityOffTheScaleOrNotANumberIsRefusedAndNothingIsOpened) {
    const struct {
        const char* value;
        const char* message;
    } cases[] = {
        {"0", "brimwell-cli: Density 0 is out of range; it must be from 1 to 15.\n"},
        {"16", "brimwell-cli: Density 16 is out of range; it must be from 1 to 15.\n"},
        {"-3", "brimwell-cli: Density -3 is out of range; it must be from 1 to 15.\n"},
        {"abc", "brimwell-cli: Density 'abc' is not a number; it must be from 1 to 15.\n"},
        {"8x", "brimwell-cli: Density '8x' is not a number; it must be from 1 to 15.\n"},
        {"", "brimwell-cli: Density '' is not a number; it must be from 1 to 15.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Exec({"-o", "job.bin", "density", c.value}), EXIT_REFUSED);
        EXPECT_EQ(err.str(), c.message);
        EXPECT_EQ(Exec({"density", c.value}), EXIT_REFUSED);
    }
    EXPECT_TRUE(outputs.openedPaths.empty());
    EXPECT_TRUE(printers.openedPaths.empty());
}

TEST_F(MaintenanceCli, MalformedCommandLinesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"density"},      {"density", "5", "6"}, {"density", "--level", "5"},
        {"clock", "now"}, {"clock", "--at"},     {"clock", "--zone", "UTC"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size() > 1 ? args[1] : args[0]);
        EXPECT_EQ(Exec(args), EXIT_USAGE);
        EXPECT_NE(err.str().find("brimwell-cli: usage: brimwell-cli " + args[0]), std::string::npos)
            << err.str();
    }
    EXPECT_TRUE(outputs.openedPaths.empty());
    EXPECT_TRUE(printers.openedPaths.empty());
}

TEST_F(MaintenanceCli, ClockSendsTheTimeGivenOrTheTimeNow) {
    struct Case {
        std::vector<std::string> args;
        std::string line;
        int reads;
    };
    const Case cases[] = {
        {{"-o", "job.bin", "clock"}, "05/03/24 09:07:03", 1},
        {{"-o", "job.bin", "clock", "--at", "2000-01-01 00:00:00"}, "01/01/00 00:00:00", 0},
        {{"-o", "job.bin", "clock", "--at=2105-12-31 23:59:59"}, "31/12/05 23:59:59", 0},
        {{"-o", "job.bin", "clock", "--at", "2024-02-29 12:30:45"}, "29/02/24 12:30:45", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        outputs.devices["job.bin"].writes.clear();
        clock.reads = 0;
        EXPECT_EQ(Exec(c.args), EXIT_DONE) << err.str();
        EXPECT_EQ(Writes(outputs, "job.bin"),
                  std::vector<std::string>{"\r\nRKW7046\r\n" + c.line + "\r\n"});
        EXPECT_EQ(clock.reads, c.reads);
    }
}

TEST_F(MaintenanceCli, ClockWithAnInvalidTimeIsRefused) {
    // A time of the wrong form is told its form; one that does not exist, why not.
    const std::pair<const char*, const char*> cases[] = {
        {"2025-02-30 10:00:00", "does not exist: February 2025 has 28 days."},
        {"2023-02-29 10:00:00", "does not exist: February 2023 has 28 days."},
        {"2100-02-29 10:00:00", "does not exist: February 2100 has 28 days."},
        {"2024-04-31 10:00:00", "does not exist: April 2024 has 30 days."},
        {"2024-03-00 10:00:00", "does not exist: March 2024 has 31 days."},
        {"2024-13-01 10:00:00", "does not exist: there is no month 13."},
        {"2024-03-05 24:00:00", "does not exist: hours go from 00 to 23."},
        {"2024-03-05 23:60:00", "does not exist: minutes and seconds go from 00 to 59."},
        {"2024-03-05", "is not a valid local time; it must be YYYY-MM-DD HH:MM:SS."},
        {"05/03/2024 09:07:03", "is not a valid local time; it must be YYYY-MM-DD HH:MM:SS."},
        {"", "is not a valid local time; it must be YYYY-MM-DD HH:MM:SS."},
    };
    for (const auto& [at, why] : cases) {
        SCOPED_TRACE(at);
        EXPECT_EQ(Exec({"-o", "job.bin", "clock", "--at", at}), EXIT_REFUSED);
        EXPECT_EQ(err.str(), "brimwell-cli: Time '" + std::string(at) + "' " + why + "\n");
    }
    EXPECT_TRUE(outputs.openedPaths.empty());
}

} // namespace
} // namespace brimwell::test
