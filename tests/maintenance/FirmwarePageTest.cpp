// The firmware page: the status line and Send follow the file named, the file is read only
// when Send is pressed, refusals carry the error icon, and the job is the filtered file.
#include "maintenance/CUpdateFirmwareDlg.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>
#include <memory>

namespace brimwell::test {
namespace {

constexpr const char* kPrinter = "/dev/usb/lp0";
const std::string kSmallest = "DOWNLOAD \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n";

std::vector<std::uint8_t> Bytes(const std::string& s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

class FirmwarePage : public ::testing::Test, protected FakePlatform {
protected:
    void Open() {
        AddPrinter(kPrinter);
        window = std::make_unique<FakeWindow>(table);
    }
    fake::FakeDialog& Page() { return window->Page(0); }
    bool Type(const std::string& text) { return Page().Retype(IDC_FIRMWARE_FILE, text); }
    bool StatusShown() { return Page().IsItemShown(IDC_FIRMWARE_STATUS); }
    bool SendEnabled() { return Page().IsItemEnabled(IDC_SEND_FIRMWARE); }
    bool Send() { return Page().Click(IDC_SEND_FIRMWARE); }

    PageTable table = TableOf({IDD_UPDATE_FIRMWARE});
    std::unique_ptr<FakeWindow> window;
};

TEST_F(FirmwarePage, StatusLineAndSendFollowTheFileTypedAndThePrinter) {
    fileSource.Add("/fw/update.tpl", Bytes(kSmallest));
    Open();
    const auto* page = dynamic_cast<CUpdateFirmwareDlg*>(window->dlg.MakePage(0));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->BrowseEdit().Filter(), "Update files (*.tpl)|*.tpl|All Files|*.*||");
    EXPECT_TRUE(StatusShown());
    EXPECT_FALSE(SendEnabled());
    for (const std::string text : {"/fw", "/fw/missing.tpl", "/fw/update.tp", "/fw/update.tpl"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(Type(text));
        const bool usable = text == "/fw/update.tpl";
        EXPECT_EQ(StatusShown(), !usable);
        EXPECT_EQ(SendEnabled(), usable);
    }
    // Without a printer the usable file still hides the line, but Send stays off.
    enumerator.devices.clear();
    monitor.Unplug();
    EXPECT_FALSE(StatusShown());
    EXPECT_FALSE(SendEnabled());
    EXPECT_EQ(fileSource.opened, 0); // looked at, never opened
}

TEST_F(FirmwarePage, BrowsingPutsTheChosenFileInTheEditAndFocusesIt) {
    fileSource.Add("/fw/update.tpl", Bytes(kSmallest));
    Open();
    files.answer = "/fw/update.tpl";
    ASSERT_TRUE(Page().Browse(IDC_FIRMWARE_FILE));
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].initialName, "");
    EXPECT_EQ(files.asked[0].filter, CUpdateFirmwareDlg::kFileFilter);
    EXPECT_EQ(Page().ItemText(IDC_FIRMWARE_FILE), "/fw/update.tpl");
    EXPECT_EQ(Page().focus, IDC_FIRMWARE_FILE);
    EXPECT_TRUE(SendEnabled());
    // The same answer or a cancel leaves the text alone, with no change notification.
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>("/fw/update.tpl"), std::optional<std::string>()}) {
        files.answer = answer;
        Page().focus = IDC_SEND_FIRMWARE;
        fileSource.files.erase("/fw/update.tpl"); // a change would now show the status line
        ASSERT_TRUE(Page().Browse(IDC_FIRMWARE_FILE));
        EXPECT_EQ(files.asked.back().initialName, "/fw/update.tpl");
        EXPECT_EQ(Page().ItemText(IDC_FIRMWARE_FILE), "/fw/update.tpl");
        EXPECT_FALSE(StatusShown());
        EXPECT_EQ(Page().focus, IDC_FIRMWARE_FILE);
    }
}

TEST_F(FirmwarePage, SendReadsTheFileThenSendsThePreambleAndItsLinesOrReportsARefusal) {
    const std::string bad = "download \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n";
    fileSource.Add("/fw/small.tpl", Bytes(kSmallest));
    fileSource.Add("/fw/bad.tpl", Bytes(bad));
    Open();
    ASSERT_TRUE(Type("/fw/small.tpl"));
    EXPECT_EQ(fileSource.opened, 0); // looked at, never opened, until Send
    ASSERT_TRUE(Send());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPowerCycle);
    EXPECT_EQ(opener.devices[kPrinter].writes,
              std::vector<std::string>{"\r\nQVX5930\r\n\r\n\r\n"
                                       "DOWNLOAD \"AUTO.BAS\"\r\nEOP\r\nMOVE\r\n"});

    fileSource.files.erase("/fw/small.tpl"); // deleted after it was chosen: Send stays on
    ASSERT_TRUE(Send());
    ASSERT_TRUE(Type("/fw/bad.tpl"));
    ASSERT_TRUE(Send());
    ASSERT_EQ(box.shown.size(), 3u);
    EXPECT_EQ(box.shown[1].text, "Can't open '/fw/small.tpl'!");
    EXPECT_EQ(box.shown[2].text, "The file '/fw/bad.tpl' does not appear to be a valid Brimwell "
                                 "firmware update file.\r\n\r\nSee 'Help : Updating Firmware' for "
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
