#include "app/CBrimwellDlg.h"
#include "maintenance/CUpdateFirmwareDlg.h"
#include "platform/posix/PosixFileSource.h"
#include "platform/qt/QtEditBrowse.h"
#include "support/FakePlatform.h"

#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

constexpr const char* kPrinter = "/dev/usb/lp0";
const std::string kSmallest = "DOWNLOAD \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n";

class FirmwarePage : public ::testing::Test, protected FakePlatform {
protected:
    void Open() {
        AddPrinter(kPrinter);
        window = std::make_unique<CBrimwellDlg>(table.data());
        page = qobject_cast<CUpdateFirmwareDlg*>(window->m_apPages[0]);
        ASSERT_NE(page, nullptr);
    }
    void Type(const std::string& text) {
        page->GetItem<CEditBrowseCtrl>(IDC_FIRMWARE_FILE)->setText(QString::fromStdString(text));
    }
    bool StatusShown() { return !page->GetDlgItem(IDC_FIRMWARE_STATUS)->isHidden(); }
    QPushButton* Send() { return page->GetItem<QPushButton>(IDC_SEND_FIRMWARE); }

    std::array<FuncTableEntry, MAX_FUNC_PAGES> table = TableOf({IDD_UPDATE_FIRMWARE});
    std::unique_ptr<CBrimwellDlg> window;
    CUpdateFirmwareDlg* page = nullptr;
};

TEST_F(FirmwarePage, StatusLineAndSendFollowTheKindOfFileTyped) {
    const std::string dir =
        std::filesystem::temp_directory_path() / ("brimwell-fw-page-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/update.tpl") << kSmallest;
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    PosixFileSource disk;
    ScopedServices onDisk(&Services::fileSource, &disk);
    Open();
    EXPECT_EQ(page->GetItem<CEditBrowseCtrl>(IDC_FIRMWARE_FILE)->Filter(),
              "Update files (*.tpl)|*.tpl|All Files|*.*||");
    const std::string usableFile = dir + "/update.tpl";
    for (const std::string& text : {std::string(), dir, dir + "/missing.tpl", dir + "/fifo",
                                    std::string("/dev/null"), dir + "/update.tp", usableFile}) {
        SCOPED_TRACE(text);
        Type(text);
        EXPECT_EQ(StatusShown(), text != usableFile);
        EXPECT_EQ(Send()->isEnabled(), text == usableFile);
    }
    // Without a printer the usable file still hides the line, but Send stays off.
    page->OnPrinterAvailability(false);
    EXPECT_FALSE(StatusShown());
    EXPECT_FALSE(Send()->isEnabled());
    std::filesystem::remove_all(dir);
}

TEST_F(FirmwarePage, SendReadsTheFileThenSendsThePreambleAndItsLinesOrReportsARefusal) {
    const std::string bad = "download \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n";
    fileSource.Add("/fw/small.tpl", std::vector<std::uint8_t>(kSmallest.begin(), kSmallest.end()));
    fileSource.Add("/fw/bad.tpl", std::vector<std::uint8_t>(bad.begin(), bad.end()));
    Open();
    Type("/fw/small.tpl");
    EXPECT_EQ(fileSource.opened, 0); // looked at, never opened, until Send
    Send()->click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPowerCycle);
    EXPECT_EQ(opener.devices[kPrinter].writes,
              std::vector<std::string>{"\r\nQVX5930\r\n\r\n\r\n"
                                       "DOWNLOAD \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n"});

    fileSource.files.erase("/fw/small.tpl"); // deleted after it was chosen: Send stays on
    Send()->click();
    Type("/fw/bad.tpl");
    Send()->click();
    ASSERT_EQ(box.shown.size(), 3u);
    EXPECT_EQ(box.shown[1].text, "Can't open '/fw/small.tpl'!");
    EXPECT_EQ(box.shown[2].text, "The file '/fw/bad.tpl' does not appear to be a valid Brimwell "
                                 "firmware update file.\r\n\r\nSee 'Help : Firmware Update' for "
                                 "further information.");
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(box.shown[i].icon, MsgIcon::Error);
        EXPECT_EQ(box.shown[i].buttons, MsgButtons::Ok);
    }
    EXPECT_EQ(opener.openedPaths.size(), 1u);
    EXPECT_EQ(fileSource.closed, fileSource.opened);
    EXPECT_EQ(cursor.depth, 0);
}

} // namespace
} // namespace brimwell::test
