// The pass and fail logo pages in the main window: start state, loading on every change of
// the file name, the buttons, the browse action, the preview and the job they send.
#include "logo/CCfgLogoDlg.h"
#include "logo/LogoTestSupport.h"
#include "support/FakePlatform.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

using namespace std::string_literals;

constexpr const char* kPrinter = "/dev/usb/lp0";
const PageTable kTable = {{"Configure Pass Logo", IDD_CFG_LOGO, 0, &NewPage<CCfgLogoDlg>},
                          {"Configure Fail Logo", IDD_CFG_LOGO, 1, &NewPage<CCfgLogoDlg>}};

class LogoPages : public ::testing::Test, protected FakePlatform {
protected:
    LogoPages() {
        fileSource.Add("/logos/white.bmp", Loadable(MonoDesc({"."})));
        fileSource.Add("/logos/wide.bmp", Loadable(MonoDesc({"#..", "..."})));
    }
    void Open() { window = std::make_unique<FakeWindow>(kTable); }
    CCfgLogoDlg* Page(int row) { return dynamic_cast<CCfgLogoDlg*>(window->dlg.MakePage(row)); }
    fake::FakeDialog& Host(int row) { return window->Page(row); }
    const fake::FakeDialog::Preview& Preview(int row) {
        return *Host(row).At(IDC_LOGO_PREVIEW).preview;
    }
    // Enabled state of Rotate, Invert and Send, as "RIS" with '-' for a disabled one.
    std::string Buttons(int row) {
        std::string s;
        for (const auto& [id, c] :
             {std::pair{IDC_LOGO_ROTATE, 'R'}, {IDC_LOGO_INVERT, 'I'}, {IDC_LOGO_SEND, 'S'}}) {
            s += Host(row).IsItemEnabled(id) ? c : '-';
        }
        return s;
    }
    void Load(int row, const std::string& path) { Host(row).SetItemText(IDC_LOGO_FILE, path); }
    bool Click(int row, int id) { return Host(row).Click(id); }
    std::vector<std::string>& Writes() { return opener.devices[kPrinter].writes; }

    std::unique_ptr<FakeWindow> window;
};

TEST_F(LogoPages, StartWithTheMessageCaptionsAndAllButtonsDisabled) {
    Open();
    const char* words[] = {"Pass", "Fail"};
    for (int row : {0, 1}) {
        CCfgLogoDlg* page = Page(row);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->PageArg(), row);
        const std::string w = words[row];
        EXPECT_EQ(Host(row).ItemText(IDC_LOGO_FILE_CAPTION), w + " logo graphics file:");
        EXPECT_EQ(Host(row).ItemText(IDC_LOGO_PREVIEW_CAPTION), w + " label preview:");
        EXPECT_EQ(Host(row).ItemText(IDC_LOGO_SEND), "Send " + w + " Logo To The Printer...");
        const DlgRect preview = Host(row).ItemRect(IDC_LOGO_PREVIEW);
        EXPECT_EQ(std::make_pair(preview.cx, preview.cy), std::make_pair(610, 380));
        EXPECT_EQ(page->BrowseEdit().Filter(), LOGO_FILE_FILTER);
        // The buttons stay clear of the preview, inside the page, in their row.
        for (const int id : {IDC_LOGO_SEND, IDC_LOGO_ROTATE, IDC_LOGO_INVERT}) {
            EXPECT_GT(Host(row).ItemRect(id).y, preview.Bottom());
            EXPECT_LE(Host(row).ItemRect(id).Bottom(), Host(row).ClientSize().cy);
            EXPECT_EQ(Host(row).ItemRect(id).y, Host(row).ItemRect(IDC_LOGO_SEND).y);
        }
        // The message at the preview's size, drawn by the preview control.
        ASSERT_FALSE(Preview(row).steps.empty());
        EXPECT_STREQ(Preview(row).steps.back().text, "Please select a logo graphics file.");
        EXPECT_EQ(Preview(row).steps, page->Preview().Steps());
        EXPECT_EQ(Buttons(row), "---");
    }
}

TEST_F(LogoPages, TypedPathLoadsOnEveryKeystrokeOnceItNamesAFileAndAPrinterEnablesSend) {
    Open();
    const std::string path = "/logos/wide.bmp";
    std::vector<LogoStatus> seen;
    for (char c : path) {
        ASSERT_TRUE(Host(0).Type(IDC_LOGO_FILE, std::string(1, c)));
        seen.push_back(Page(0)->Logo().GetStatus());
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), LOGO_OPEN_FAILED), 14);
    EXPECT_EQ(seen.back(), LOGO_LOADED_OK);
    EXPECT_EQ(fileSource.opened, 1);
    EXPECT_EQ(Buttons(0), "RI-");
    EXPECT_EQ(Preview(0).logo, &Page(0)->Logo());
    EXPECT_EQ(Preview(0).steps, Page(0)->Preview().Steps());

    AddPrinter(kPrinter);
    monitor.Plug();
    EXPECT_EQ(Buttons(0), "RIS");
    EXPECT_EQ(Buttons(1), "---");
    ASSERT_TRUE(Host(0).Retype(IDC_LOGO_FILE, ""));
    EXPECT_EQ(Page(0)->Logo().GetStatus(), LOGO_NO_FILE);
    EXPECT_EQ(Buttons(0), "---");
}

TEST_F(LogoPages, BrowsingTheSameFileAgainLoadsItAfreshWithoutMovingTheFocus) {
    Open();
    Load(0, "/logos/wide.bmp");
    ASSERT_TRUE(Click(0, IDC_LOGO_ROTATE));
    EXPECT_EQ(Page(0)->Logo().GetWidth(), 2);
    const int draws = Preview(0).draws;
    ASSERT_TRUE(Click(0, IDC_LOGO_INVERT));
    EXPECT_TRUE(Page(0)->Logo().GetPixel(1, 0));
    EXPECT_EQ(Preview(0).draws, draws + 1); // every change is drawn

    Host(0).focus = IDC_LOGO_ROTATE;
    files.answer = "/logos/wide.bmp";
    ASSERT_TRUE(Host(0).Browse(IDC_LOGO_FILE));
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].initialName, "/logos/wide.bmp");
    EXPECT_EQ(files.asked[0].filter, LOGO_FILE_FILTER);
    EXPECT_EQ(Page(0)->Logo().GetWidth(), 3); // unrotated, uninverted
    EXPECT_FALSE(Page(0)->Logo().GetPixel(0, 0));
    EXPECT_EQ(Host(0).focus, IDC_LOGO_ROTATE);

    files.answer = "/logos/white.bmp"; // another file
    ASSERT_TRUE(Host(0).Browse(IDC_LOGO_FILE));
    EXPECT_EQ(Host(0).ItemText(IDC_LOGO_FILE), "/logos/white.bmp");
    EXPECT_EQ(Page(0)->Logo().GetWidth(), 1);
    files.answer.reset(); // cancelled: nothing changes
    const int opened = fileSource.opened;
    ASSERT_TRUE(Host(0).Browse(IDC_LOGO_FILE));
    EXPECT_EQ(Host(0).ItemText(IDC_LOGO_FILE), "/logos/white.bmp");
    EXPECT_EQ(fileSource.opened, opened);
    EXPECT_EQ(Host(0).focus, IDC_LOGO_ROTATE);
}

TEST_F(LogoPages, SendWritesTheStoreJobOfEachPageAndCancelSendsNothing) {
    AddPrinter(kPrinter);
    Open();
    Load(0, "/logos/white.bmp");
    Load(1, "/logos/wide.bmp");
    EXPECT_EQ(Page(1)->Logo().GetWidth(), 3); // each page holds its own logo
    EXPECT_EQ(Page(0)->Logo().GetWidth(), 1);

    // A 1 x 1 white logo: header (version 5, RLE, 1 bit, 0..0 by 0..0, 200 dpi, black and
    // white, one plane, 2 bytes per line, palette information 1), then the line 0x80 0x00.
    const std::string header = "\x0A\x05\x01\x01"s + std::string(8, '\0') + "\xC8\0\xC8\0"s +
                               std::string(3, '\0') + "\xFF\xFF\xFF"s + std::string(43, '\0') +
                               "\x01\x02\0\x01\0"s + std::string(58, '\0');
    ASSERT_EQ(header.size(), 128u);
    const std::string pass = "\r\nQVX5930\r\n\r\n\r\nDOWNLOAD \"LOGO1.PCX\",130,"s + header +
                             "\x80\x00"s + "\r\nMOVE\r\n";
    const std::uint32_t start = ticks.now;
    ASSERT_TRUE(Click(0, IDC_LOGO_SEND));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPowerCycle);
    EXPECT_EQ(Writes(), std::vector<std::string>{pass});
    EXPECT_GE(ticks.now - start, 500u);

    // The fail page names "FAIL.PCX"; the rest of its job is built alike.
    Load(1, "/logos/white.bmp");
    ASSERT_TRUE(Click(1, IDC_LOGO_SEND));
    std::string fail = pass;
    fail.replace(fail.find("\"LOGO1.PCX\""), 11, "\"FAIL.PCX\"");
    ASSERT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Writes()[1], fail);

    // Cancel at the confirmation: nothing opened, nothing written, the page as it was.
    box.answers.push_back(MsgResult::Cancel);
    const auto opened = opener.openedPaths.size();
    ASSERT_TRUE(Click(0, IDC_LOGO_SEND));
    EXPECT_EQ(opener.openedPaths.size(), opened);
    EXPECT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Buttons(0), "RIS");
    EXPECT_TRUE(Page(0)->Logo().IsLoaded());
}

} // namespace
} // namespace brimwell::test
