// The commands for scripts and fleets (testers, list --json, --all), the permission hint,
// and where a job's hold and advice apply.
#include "printer/PrinterJob.h"
#include "support/CliHarness.h"
#include "tester/TesterCatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

using fake::FakeEnumerator;

struct CliFleet : ::testing::Test, CliHarness {};

TEST_F(CliFleet, TestersListsTheCatalogueAndMarksTheStoredType) {
    for (const int stored : {0, 1007, 4711}) {
        if (stored != 0) {
            profile.values["Settings/TesterType"] = stored;
        }
        ASSERT_EQ(Exec({"testers"}), cli::EXIT_DONE);
        std::string expected;
        const int marked = stored == 1007 ? 7 : 0; // nothing or no code stored: the first
        for (int i = 0; i < kTesterCount; ++i) {
            expected += std::to_string(i) + "\t" + std::to_string(1000 + i) + "\t" +
                        TesterDisplayName(i) + (i == marked ? "\t*" : "") + "\n";
        }
        EXPECT_EQ(out.str(), expected) << stored;
    }
    EXPECT_TRUE(profile.writes.empty());
    EXPECT_EQ(Exec({"testers", "x"}), cli::EXIT_USAGE);
}

TEST_F(CliFleet, ListJsonEscapesWhatItPrints) {
    ASSERT_EQ(Exec({"list", "--json"}), cli::EXIT_DONE);
    EXPECT_EQ(out.str(), "[]\n");

    const std::string odd = "/dev/usb/\"lp\"\\1\t\n\xC3\xA9";
    enumerator.devices = {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126),
                          FakeEnumerator::Usb("/dev/usb/lp9", 0x1203, 0x9999),
                          FakeEnumerator::Usb(odd, 0x067B, 0x2305)};
    ASSERT_EQ(Exec({"list", "--json"}), cli::EXIT_DONE);
    EXPECT_EQ(out.str().find('\t'), std::string::npos);
    EXPECT_EQ(out.str().find('\n'), out.str().size() - 1); // one line
    const QJsonArray array = QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).array();
    ASSERT_EQ(array.size(), 2);
    const QJsonObject first = array[0].toObject(), second = array[1].toObject();
    EXPECT_EQ(first["index"].toInt(), 1);
    EXPECT_EQ(first["name"].toString(), "Brimwell printer");
    EXPECT_EQ(first["path"].toString(), "/dev/usb/lp0");
    EXPECT_EQ(first["kind"].toString(), "printer");
    EXPECT_EQ(first["vendor"].toString(), "1203");
    EXPECT_EQ(first["product"].toString(), "0126");
    EXPECT_EQ(second["index"].toInt(), 2);
    EXPECT_EQ(second["path"].toString().toStdString(), odd);
    EXPECT_EQ(second["kind"].toString(), "adapter");
    EXPECT_EQ(second["vendor"].toString(), "067b");
    EXPECT_EQ(second["product"].toString(), "2305");
}

TEST_F(CliFleet, AllSendsToEveryPrinterAndFailsIfOneDidNotTakeIt) {
    for (const char* path : {"/dev/usb/lp0", "/dev/usb/lp1", "/dev/usb/lp2"}) {
        enumerator.devices.push_back(FakeEnumerator::Usb(path, 0x1203, 0x0126));
        printers.Add(path);
    }
    printers.devices["/dev/usb/lp1"].opens = false;
    EXPECT_EQ(Exec({"--all", "density", "5"}), cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(), "/dev/usb/lp0: sent\n"
                         "Error : can't open '/dev/usb/lp1'\n"
                         "/dev/usb/lp2: sent\n");
    for (const char* path : {"/dev/usb/lp0", "/dev/usb/lp2"}) {
        EXPECT_EQ(printers.devices[path].writes, std::vector<std::string>{"RKW7047\r\n5\r\n"});
        EXPECT_EQ(printers.devices[path].closeCount, 1);
    }
    EXPECT_EQ(ticks.sleeps.size(), 2 * 10u); // each printer its own 500 ms hold

    printers.devices["/dev/usb/lp1"].opens = true;
    EXPECT_EQ(Exec({"--all", "tester-type", "--tester", "2"}), cli::EXIT_DONE);
    EXPECT_EQ(err.str(), "/dev/usb/lp0: sent\n/dev/usb/lp1: sent\n/dev/usb/lp2: sent\n" +
                             std::string(kPowerCycleAdvice) + "\n");
}

TEST_F(CliFleet, AllIsAUsageErrorWithADestinationOrWithoutAJob) {
    enumerator.devices = {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)};
    printers.Add("/dev/usb/lp0");
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--all", "-o", "x.bin", "density", "5"},
                                               {"-p", "/dev/usb/lp0", "--all", "density", "5"},
                                               {"--all", "list"},
                                               {"--all", "testers"}}) {
        EXPECT_EQ(Exec(args), cli::EXIT_USAGE) << args[1];
        EXPECT_NE(err.str().find("usage: brimwell-cli"), std::string::npos);
    }
    EXPECT_TRUE(printers.openedPaths.empty());
    EXPECT_TRUE(outputs.openedPaths.empty());
}

TEST_F(CliFleet, PermissionHintFollowsOnlyADeniedPrinter) {
    struct Case {
        DeviceOpenError why;
        std::vector<std::string> args;
        bool hint;
    };
    const Case cases[] = {
        {DeviceOpenError::AccessDenied, {"-p", "/dev/usb/lp0", "density", "5"}, true},
        {DeviceOpenError::AccessDenied, {"--all", "density", "5"}, true},
        {DeviceOpenError::Other, {"-p", "/dev/usb/lp0", "density", "5"}, false},
        {DeviceOpenError::AccessDenied, {"-o", "/dev/usb/lp0", "density", "5"}, false},
    };
    enumerator.devices = {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)};
    for (const Case& c : cases) {
        for (fake::FakeDeviceOpener* opener : {&printers, &outputs}) {
            opener->Add("/dev/usb/lp0").opens = false;
            opener->Add("/dev/usb/lp0").openError = c.why;
        }
        EXPECT_EQ(Exec(c.args), cli::EXIT_PRINTER);
        EXPECT_EQ(err.str(), "Error : can't open '/dev/usb/lp0'\n" +
                                 (c.hint ? std::string(cli::kPermissionHint) + "\n" : ""));
    }
}

TEST_F(CliFleet, AFileGetsNoHoldNoAdviceAndIsCommittedOnlyWhenWhole) {
    outputs.Add("job.bin");
    EXPECT_EQ(Exec({"-o", "job.bin", "tester-type", "--tester", "2"}), cli::EXIT_DONE);
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(ticks.sleeps.empty());
    EXPECT_EQ(outputs.devices["job.bin"].commits, 1);

    outputs.devices["job.bin"].shortWrite = 3;
    EXPECT_EQ(Exec({"-o", "job.bin", "density", "5"}), cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(), "Error : write failure for 'job.bin'\n");
    EXPECT_EQ(outputs.devices["job.bin"].commits, 1);

    outputs.devices["job.bin"].shortWrite.reset();
    outputs.devices["job.bin"].commitFails = true;
    EXPECT_EQ(Exec({"-o", "job.bin", "density", "5"}), cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(), "Error : write failure for 'job.bin'\n");
    EXPECT_TRUE(ticks.sleeps.empty());
}

} // namespace
} // namespace brimwell::test
