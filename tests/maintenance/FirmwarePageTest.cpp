#include "app/CBrimwellDlg.h"
#include "maintenance/CUpdateFirmwareDlg.h"
#include "platform/posix/PosixFileSource.h"
#include "platform/qt/EditBrowseCtrl.h"
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

class FirmwarePage : public ::testing::Test, protected brimwell::testing::FakePlatform {
protected:
    void Open(bool withPrinter = true) {
        if (withPrinter) {
            AddPrinter(kPrinter);
        }
        window = std::make_unique<CBrimwellDlg>(table.data());
        page = qobject_cast<CUpdateFirmwareDlg*>(window->m_apPages[0]);
        ASSERT_NE(page, nullptr);
    }
    void Type(const std::string& text) {
        page->GetItem<CEditBrowseCtrl>(IDC_FIRMWARE_FILE)->setText(QString::fromStdString(text));
    }
    bool StatusShown() { return !page->GetDlgItem(IDC_FIRMWARE_STATUS)->isHidden(); }
    QPushButton* Send() { return page->GetItem<QPushButton>(IDC_SEND_FIRMWARE); }
    std::vector<std::string>& Writes() { return opener.devices[kPrinter].writes; }

    std::array<FuncTableEntry, MAX_FUNC_PAGES> table =
        brimwell::testing::TableOf({IDD_UPDATE_FIRMWARE});
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
    const auto* edit = page->GetItem<CEditBrowseCtrl>(IDC_FIRMWARE_FILE);
    EXPECT_EQ(edit->Filter(), "Update files (*.tpl)|*.tpl|All Files|*.*||");
    EXPECT_EQ(edit->DefaultExt(), "");

    const struct {
        std::string text;
        bool usable;
    } cases[] = {
        {"", false},
        {dir, false},
        {dir + "/missing.tpl", false},
        {dir + "/fifo", false},
        {dir + "/update.tp", false},
        {dir + "/update.tpl", true},
        {"/dev/null", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Type(c.text);
        EXPECT_EQ(StatusShown(), !c.usable);
        EXPECT_EQ(Send()->isEnabled(), c.usable);
    }
    // Without a printer the usable file still hides the line, but Send stays off.
    Type(dir + "/update.tpl");
    page->OnPrinterAvailability(false);
    EXPECT_FALSE(StatusShown());
    EXPECT_FALSE(Send()->isEnabled());
    std::filesystem::remove_all(dir);
}

TEST_F(FirmwarePage, SendReadsTheFileThenSendsThePreambleAndItsLines) {
    fileSource.Add("/fw/small.tpl", std::vector<std::uint8_t>(kSmallest.begin(), kSmallest.end()));
    Open();
    Type("/fw/small.tpl");
    EXPECT_EQ(fileSource.opened, 0); // looked at, never opened, until Send
    Send()->click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPowerCycle);
    EXPECT_EQ(Writes(), std::vector<std::string>{"\r\nQVX5930\r\n\r\n\r\n"
                                                 "DOWNLOAD \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n"});
    EXPECT_EQ(fileSource.closed, 1);

    box.answers.push_back(MsgResult::Cancel);
    Send()->click();
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_EQ(cursor.depth, 0);
}

TEST_F(FirmwarePage, RefusedFilesAreReportedWithTheErrorIconAndNothingIsSent) {
    const std::string bad = "download \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n";
    fileSource.Add("/fw/gone.tpl", {});
    fileSource.Add("/fw/short.tpl", std::vector<std::uint8_t>(29, '\n'));
    fileSource.Add("/fw/unreadable.tpl", std::vector<std::uint8_t>(40, '\n')).readFails = true;
    fileSource.Add("/fw/bad.tpl", std::vector<std::uint8_t>(bad.begin(), bad.end()));
    Open();
    const struct {
        const char* path;
        std::string message;
    } cases[] = {
        {"/fw/gone.tpl", "Can't open '/fw/gone.tpl'!"},
        {"/fw/short.tpl", "Invalid firmware update file size!"},
        {"/fw/unreadable.tpl", "Error reading firmware update file!"},
        {"/fw/bad.tpl", "The file '/fw/bad.tpl' does not appear to be a valid Brimwell firmware "
                        "update file.\r\n\r\nSee 'Help : Firmware Update' for further "
                        "information."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Type(c.path);
        fileSource.files.erase("/fw/gone.tpl"); // deleted after it was chosen
        box.shown.clear();
        Send()->click();
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, c.message);
        EXPECT_EQ(box.shown[0].icon, MsgIcon::Error);
        EXPECT_EQ(box.shown[0].buttons, MsgButtons::Ok);
    }
    EXPECT_TRUE(opener.openedPaths.empty());
    EXPECT_EQ(fileSource.closed, fileSource.opened);
}

} // namespace
} // namespace brimwell::test
