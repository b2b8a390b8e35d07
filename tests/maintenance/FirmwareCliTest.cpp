#include "support/CliHarness.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

using namespace brimwell::cli;

class FirmwareCli : public ::testing::Test, protected CliHarness {
protected:
    FirmwareCli() {
        char pattern[] = "/tmp/brimwell-fw-XXXXXX";
        dir = ::mkdtemp(pattern);
        outputs.Add("job.bin");
        printers.Add("/dev/usb/lp0");
        enumerator.devices.push_back(fake::FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126));
    }
    ~FirmwareCli() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string dir;
};

TEST_F(FirmwareCli, SendsTheFilteredFileWithAdviceOrRefusesWithThePagesMessage) {
    const std::string file = Write("u.TPL", "* v2\nDOWNLOAD \"AUTO.BAS\"  \n10 END\nEOP\nMOVE\n");
    EXPECT_EQ(Exec({"-o", "job.bin", "firmware", file}), EXIT_DONE) << err.str();
    EXPECT_EQ(err.str(), ""); // a file gets no power-cycle advice
    EXPECT_EQ(Exec({"firmware", file}), EXIT_DONE);
    EXPECT_EQ(err.str(), "brimwell-cli: When all printer lights stop flashing, turn the printer "
                         "off then on again.\n");
    const std::string job =
        "\r\nQVX5930\r\n\r\n\r\nDOWNLOAD \"AUTO.BAS\"\r\n10 END\r\nEOP\r\nMOVE\r\n";
    EXPECT_EQ(AllWrites(), std::vector<std::string>(2, job));

    ClearWrites();
    const std::string bad = Write("bad.tpl", "download \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n");
    const std::pair<std::string, std::string> cases[] = {
        {dir + "/missing.tpl",
         "brimwell-cli: Can't open '" + dir + "/missing.tpl'!: No such file or directory\n"},
        {Write("short.tpl", std::string(29, '\n')),
         "brimwell-cli: Invalid firmware update file size!\n"},
        // The page's two paragraphs, each line after the program's name.
        {bad, "brimwell-cli: The file '" + bad +
                  "' does not appear to be a valid Brimwell firmware update file.\n"
                  "brimwell-cli: See 'Help : Updating Firmware' for further information.\n"}};
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(Exec({"firmware", path}), EXIT_REFUSED);
        EXPECT_EQ(err.str(), message);
    }
    EXPECT_EQ(Exec({"firmware"}), EXIT_USAGE);
    EXPECT_EQ(Exec({"firmware", bad, bad}), EXIT_USAGE);
    EXPECT_TRUE(AllWrites().empty());
}

} // namespace
} // namespace brimwell::test
