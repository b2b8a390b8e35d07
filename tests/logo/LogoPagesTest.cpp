// The pass and fail logo pages in the main window: start state, loading on every change of
// the file name, the buttons, the browse action and the job they send.
#include "logo/CCfgLogoDlg.h"
#include "logo/CLogoPreviewCtrl.h"
#include "logo/CMyEditBrowseCtrl.h"
#include "platform/qt/LabelPreviewPainter.h"
#include "logo/LogoTestSupport.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

using namespace std::string_literals;

constexpr const char* kPrinter = "/dev/usb/lp0";
const FuncTableEntry kTable[MAX_FUNC_PAGES] = {{"Configure Pass Logo", IDD_CFG_LOGO, 0},
                                               {"Configure Fail Logo", IDD_CFG_LOGO, 1}};

class LogoPages : public ::testing::Test, protected FakePlatform {
protected:
    LogoPages() {
        fileSource.Add("/logos/white.bmp", Loadable(MonoDesc({"."})));
        fileSource.Add("/logos/wide.bmp", Loadable(MonoDesc({"#..", "..."})));
    }
    void Open() { window = std::make_unique<CBrimwellDlg>(kTable); }
    CCfgLogoDlg* Page(int row) { return qobject_cast<CCfgLogoDlg*>(window->m_apPages[row]); }
    QPushButton* Button(int row, int id) { return Page(row)->GetItem<QPushButton>(id); }
    // Enabled state of Rotate, Invert and Send, as "RIS" with '-' for a disabled one.
    std::string Buttons(int row) {
        std::string s;
        for (const auto& [id, c] :
             {std::pair{IDC_LOGO_ROTATE, 'R'}, {IDC_LOGO_INVERT, 'I'}, {IDC_LOGO_SEND, 'S'}}) {
            s += Button(row, id)->isEnabled() ? c : '-';
        }
        return s;
    }
    void Load(int row, const std::string& path) {
        Page(row)->BrowseEdit()->setText(QString::fromStdString(path));
    }
    std::vector<std::string>& Writes() { return opener.devices[kPrinter].writes; }

    std::unique_ptr<CBrimwellDlg> window;
};

TEST_F(LogoPages, StartWithTheMessageCaptionsAndAllButtonsDisabled) {
    Open();
    const char* words[] = {"Pass", "Fail"};
    for (int row : {0, 1}) {
        CCfgLogoDlg* page = Page(row);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->PageArg(), row);
        const QString w = words[row];
        EXPECT_EQ(page->GetItem<QLabel>(IDC_LOGO_FILE_CAPTION)->text(), w + " logo graphics file:");
        EXPECT_EQ(page->GetItem<QLabel>(IDC_LOGO_PREVIEW_CAPTION)->text(), w + " label preview:");
        EXPECT_EQ(Button(row, IDC_LOGO_SEND)->text(), "Send " + w + " Logo To The Printer...");
        EXPECT_EQ(page->Preview()->size(), QSize(610, 380));
        EXPECT_EQ(page->BrowseEdit()->Filter(), LOGO_FILE_FILTER);
        // The buttons stay clear of the preview, inside the page.
        for (const int id : {IDC_LOGO_SEND, IDC_LOGO_ROTATE, IDC_LOGO_INVERT}) {
            EXPECT_GT(Button(row, id)->y(), page->Preview()->geometry().bottom());
            EXPECT_LE(Button(row, id)->geometry().bottom(), page->height());
        }
        EXPECT_STREQ(page->Preview()->Steps().back().text, "Please select a logo graphics file.");
        EXPECT_EQ(Buttons(row), "---");
    }
}

TEST_F(LogoPages, TypedPathLoadsOnceItNamesAFileAndAPrinterEnablesSend) {
    Open();
    window->show();
    window->FunctionList()->setCurrentRow(0);
    std::vector<LogoStatus> seen;
    QObject::connect(Page(0)->BrowseEdit(), &CEditBrowseCtrl::textChanged,
                     [&] { seen.push_back(Page(0)->Logo().GetStatus()); });
    QTest::keyClicks(Page(0)->BrowseEdit()->Edit(), "/logos/wide.bmp");
    ASSERT_EQ(seen.size(), 15u);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), LOGO_OPEN_FAILED), 14);
    EXPECT_EQ(seen.back(), LOGO_LOADED_OK);
    EXPECT_EQ(fileSource.opened, 1);
    EXPECT_EQ(Buttons(0), "RI-");

    AddPrinter(kPrinter);
    monitor.Plug();
    EXPECT_EQ(Buttons(0), "RIS");
    EXPECT_EQ(Buttons(1), "---");
    Load(0, "");
    EXPECT_EQ(Page(0)->Logo().GetStatus(), LOGO_NO_FILE);
    EXPECT_EQ(Buttons(0), "---");
}

TEST_F(LogoPages, BrowsingTheSameFileAgainLoadsItAfreshWithoutMovingTheFocus) {
    Open();
    window->show();
    Load(0, "/logos/wide.bmp");
    Button(0, IDC_LOGO_ROTATE)->click();
    EXPECT_EQ(Page(0)->Logo().GetWidth(), 2);
    Button(0, IDC_LOGO_INVERT)->click();
    EXPECT_TRUE(Page(0)->Logo().GetPixel(1, 0));
    // The preview shows what `brimwell-cli preview` draws, after every change.
    EXPECT_EQ(Page(0)->Preview()->grab().toImage().convertToFormat(QImage::Format_RGB32),
              RenderLabelPreview(Page(0)->Logo()));

    // Tab runs from the file name to Rotate (Send is disabled without a printer); the
    // browse action leaves the focus there.
    QApplication::setActiveWindow(window.get());
    Page(0)->BrowseEdit()->Edit()->setFocus();
    QTest::keyClick(Page(0)->BrowseEdit()->Edit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Button(0, IDC_LOGO_ROTATE));
    files.answer = "/logos/wide.bmp";
    Page(0)->BrowseEdit()->BrowseButton()->click();
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].initialName, "/logos/wide.bmp");
    EXPECT_EQ(Page(0)->Logo().GetWidth(), 3); // unrotated, uninverted
    EXPECT_FALSE(Page(0)->Logo().GetPixel(0, 0));
    EXPECT_TRUE(Page(0)->BrowseEdit()->Edit()->isModified());
    EXPECT_EQ(QApplication::focusWidget(), Button(0, IDC_LOGO_ROTATE));

    files.answer.reset(); // cancelled: nothing changes
    Page(0)->BrowseEdit()->BrowseButton()->click();
    EXPECT_EQ(Page(0)->BrowseEdit()->text(), "/logos/wide.bmp");
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
    Button(0, IDC_LOGO_SEND)->click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, kConfirmPowerCycle);
    EXPECT_EQ(Writes(), std::vector<std::string>{pass});
    EXPECT_GE(ticks.now - start, 500u);

    // The fail page names "FAIL.PCX"; the rest of its job is built alike.
    Load(1, "/logos/white.bmp");
    Button(1, IDC_LOGO_SEND)->click();
    std::string fail = pass;
    fail.replace(fail.find("\"LOGO1.PCX\""), 11, "\"FAIL.PCX\"");
    ASSERT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Writes()[1], fail);

    // Cancel at the confirmation: nothing opened, nothing written, the page as it was.
    box.answers.push_back(MsgResult::Cancel);
    const auto opened = opener.openedPaths.size();
    Button(0, IDC_LOGO_SEND)->click();
    EXPECT_EQ(opener.openedPaths.size(), opened);
    EXPECT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Buttons(0), "RIS");
    EXPECT_TRUE(Page(0)->Logo().IsLoaded());
}

} // namespace
} // namespace brimwell::test
