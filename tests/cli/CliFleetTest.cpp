// The commands for scripts and fleets: testers, list --json, --all, the permission hint.
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
    for (const int stored : {0, 1007}) { // 0: nothing stored, the first type applies
        profile.values["Settings/TesterType"] = stored;
        ASSERT_EQ(Exec({"testers"}), cli::EXIT_DONE);
        std::string expected;
        for (int i = 0; i < kTesterCount; ++i) {
            expected += std::to_string(i) + "\t" + std::to_string(1000 + i) + "\t" +
                        TesterDisplayName(i) + (i == (stored ? 7 : 0) ? "\t*" : "") + "\n";
        }
        EXPECT_EQ(out.str(), expected);
    }
}

TEST_F(CliFleet, ListJsonEscapesWhatItPrints) {
    ASSERT_EQ(Exec({"list", "--json"}), cli::EXIT_DONE);
    EXPECT_EQ(out.str(), "[]\n");
    const std::string odd = "/dev/\"lp\"\\1\t\n\xC3\xA9";
    enumerator.devices = {FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126),
                          FakeEnumerator::Usb(odd, 0x067B, 0x2305)};
    ASSERT_EQ(Exec({"list", "--json"}), cli::EXIT_DONE);
    EXPECT_EQ(out.str().find_first_of("\t"), std::string::npos);
    const QJsonArray a = QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).array();
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a[0].toObject(), QJsonObject({{"index", 1},
                                            {"name", "Brimwell printer"},
                                            {"path", "/dev/usb/lp0"},
                                            {"kind", "printer"},
                                            {"vendor", "1203"},
                                            {"product", "0126"}}));
    EXPECT_EQ(a[1]["path"].toString().toStdString(), odd);
    EXPECT_EQ(a[1]["kind"].toString(), "adapter");
    EXPECT_EQ(a[1]["vendor"].toString(), "067b");
}

TEST_F(CliFleet, AllSendsToEveryPrinterAndFailsIfOneDidNotTakeIt) {
    for (const char* path : {"/dev/usb/lp0", "/dev/usb/lp1", "/dev/usb/lp2"}) {
        enumerator.devices.push_back(FakeEnumerator::Usb(path, 0x1203, 0x0126));
        printers.Add(path);
    }
    printers.devices["/dev/usb/lp1"].opens = false;
    printers.devices["/dev/usb/lp1"].reason = "Device or resource busy";
    EXPECT_EQ(Exec({"--all", "density", "5"}), cli::EXIT_PRINTER);
    EXPECT_EQ(err.str(),
              "brimwell-cli: /dev/usb/lp0: sent\n"
              "brimwell-cli: Error : can't open '/dev/usb/lp1': Device or resource busy\n"
              "brimwell-cli: /dev/usb/lp2: sent\n");
    EXPECT_EQ(AllWrites(), (std::vector<std::string>(2, "RKW7047\r\n5\r\n")));
    EXPECT_EQ(ticks.sleeps.size(), 2 * 10u); // each printer its own 500 ms hold

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--all", "-o", "x.bin", "density", "5"}, {"--all", "list"}}) {
        EXPECT_EQ(Exec(args), cli::EXIT_USAGE);
    }
    EXPECT_EQ(printers.openedPaths.size(), 3u);
}

TEST_F(CliFleet, PermissionHintFollowsOnlyADeniedPrinter) {
    struct Case {
        DeviceOpenError why;
        const char* destination;
        bool hint;
    };
    for (const Case& c : {Case{DeviceOpenError::AccessDenied, "-p", true},
                          Case{DeviceOpenError::Other, "-p", false},
                          Case{DeviceOpenError::AccessDenied, "-o", false}}) {
        for (fake::FakeDeviceOpener* opener : {&printers, &outputs}) {
            opener->Add("/dev/usb/lp0").opens = false;
            opener->Add("/dev/usb/lp0").openError = c.why;
        }
        EXPECT_EQ(Exec({c.destination, "/dev/usb/lp0", "density", "5"}), cli::EXIT_PRINTER);
        EXPECT_EQ(err.str(),
                  "brimwell-cli: Error : can't open '/dev/usb/lp0'\n" +
                      (c.hint ? "brimwell-cli: " + std::string(cli::kPermissionHint) + "\n" : ""));
    }
    EXPECT_TRUE(ticks.sleeps.empty());
}

} // namespace
} // namespace brimwell::test
