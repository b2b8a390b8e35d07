#include "app/FunctionTable.h"
#include "app/PageFactory.h"
#include "info/CTextInfoDlg.h"
#include "info/CWelcomeDlg.h"
#include "info/InfoDocuments.h"
#include "platform/qt/RichEditCtrl.h"
#include "platform/rtf/RtfReader.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <gtest/gtest.h>
#include <memory>

namespace brimwell::test {
namespace {

constexpr int kAboutRow = 1;
constexpr int kFirmwareHelpRow = 3;

class InfoPages : public ::testing::Test, protected FakePlatform {
protected:
    InfoPages() { window.show(); }

    CTextInfoDlg* TextPage(int row) { return qobject_cast<CTextInfoDlg*>(window.m_apPages[row]); }
    static CRichEditCtrl* View(CFuncDlg* page) {
        return page->GetItem<CRichEditCtrl>(IDC_TEXT_VIEW);
    }
    void Select(int row) { window.FunctionList()->setCurrentRow(row); }

    CBrimwellDlg window{kFunctionTable};
};

TEST(RtfStreamCallback, ServesPiecesNoLargerThanAskedThenExactlyTheRestThenNothing) {
    FakePlatform platform;
    CTextInfoDlg page(nullptr);
    const std::string doc = "0123456789abcdefghij";
    page.m_pszRtf = doc.c_str();
    page.m_nRtfLength = static_cast<std::int32_t>(doc.size());
    page.m_nRtfPos = 0;
    const struct {
        std::int32_t ask;
        const char* handed;
    } steps[] = {{7, "0123456"}, {0, ""}, {1, "7"}, {5, "89abc"}, {100, "defghij"}, {100, ""}};
    for (const auto& step : steps) {
        std::uint8_t buffer[128];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        std::int32_t handed = -1;
        EXPECT_EQ(CTextInfoDlg::RtfStreamCallback(reinterpret_cast<std::uintptr_t>(&page), buffer,
                                                  step.ask, &handed),
                  0u);
        ASSERT_GE(handed, 0);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(handed)),
                  step.handed);
        EXPECT_EQ(buffer[handed], '#') << "wrote past the piece";
    }
    EXPECT_EQ(page.m_nRtfPos, page.m_nRtfLength);
}

TEST_F(InfoPages, EachTextRowHoldsItsDocumentAndOnlyTheAboutRowShowsTheBanner) {
    ASSERT_NE(qobject_cast<CWelcomeDlg*>(window.m_apPages[0]), nullptr);
    for (int row = kAboutRow; row <= 4; ++row) {
        SCOPED_TRACE(row);
        Select(row);
        CTextInfoDlg* page = TextPage(row);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->m_nTextIndex, row - kAboutRow);
        EXPECT_EQ(page->m_nRtfPos, page->m_nRtfLength); // streamed whole, once
        const QString expected =
            QString::fromStdString(rtf::Parse(TextInfoRtf(page->m_nTextIndex)).PlainText());
        EXPECT_EQ(View(page)->toPlainText(), expected);
        auto* banner = page->GetItem<QLabel>(IDC_BANNER_PICTURE);
        ASSERT_NE(banner, nullptr);
        EXPECT_EQ(banner->isVisible(), row == kAboutRow);
    }
    // The banner lies over the top of the about text, which starts below it, centred.
    CTextInfoDlg* about = TextPage(kAboutRow);
    const QLabel* banner = about->GetItem<QLabel>(IDC_BANNER_PICTURE);
    EXPECT_EQ(banner->pixmap().size(), QSize(580, 200));
    EXPECT_EQ(banner->size(), QSize(580, 200));
    QTextDocument* text = View(about)->document();
    EXPECT_GT(View(about)->y() + text->rootFrame()->frameFormat().topMargin(),
              banner->geometry().bottom());
    EXPECT_EQ(text->begin().blockFormat().alignment(), Qt::AlignHCenter);
}

TEST_F(InfoPages, AnIndexOutsideTheFourGivesAnEmptyViewAndNoBannerAndNoViewGivesNoText) {
    for (int index : {-1, 4, 1000}) {
        std::unique_ptr<CFuncDlg> page(CreatePage(IDD_TEXT_INFO, index, nullptr));
        ASSERT_TRUE(page->Create());
        EXPECT_TRUE(View(page.get())->document()->isEmpty()) << index;
        EXPECT_TRUE(page->GetDlgItem(IDC_BANNER_PICTURE)->isHidden()) << index;
    }
    // A template without the view: nothing is streamed and the banner stays as it was.
    const DialogTemplate damaged = FindDialogTemplate(IDD_TEXT_INFO)->Without(IDC_TEXT_VIEW);
    std::unique_ptr<CFuncDlg> page(CreatePage(IDD_TEXT_INFO, 2, nullptr));
    ASSERT_TRUE(page->Create(&damaged));
    EXPECT_FALSE(page->GetDlgItem(IDC_BANNER_PICTURE)->isHidden());
    EXPECT_EQ(static_cast<CTextInfoDlg*>(page.get())->m_pszRtf, nullptr);
}

TEST_F(InfoPages, TheScrollBarIsAlwaysThereAndTheScrollPositionSurvivesSwitchingRows) {
    Select(kAboutRow);
    QScrollBar* aboutBar = View(TextPage(kAboutRow))->verticalScrollBar();
    EXPECT_TRUE(aboutBar->isVisible());
    EXPECT_FALSE(aboutBar->isEnabled()); // the about text fits
    EXPECT_EQ(View(TextPage(kAboutRow))->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    Select(kFirmwareHelpRow);
    CRichEditCtrl* view = View(TextPage(kFirmwareHelpRow));
    view->resize(view->width(), 120); // now the text no longer fits
    QScrollBar* bar = view->verticalScrollBar();
    ASSERT_TRUE(bar->isEnabled());
    bar->setValue(bar->maximum() / 2);
    const int kept = bar->value();
    ASSERT_GT(kept, 0);
    for (int row : {kAboutRow, 0, 2, kFirmwareHelpRow}) {
        Select(row);
    }
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(bar->value(), kept);
}

TEST_F(InfoPages, TheViewRefusesTypingAndPastingButSelectsAndCopies) {
    Select(kFirmwareHelpRow);
    CRichEditCtrl* view = View(TextPage(kFirmwareHelpRow));
    view->setFocus();
    const QString before = view->toPlainText();
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClicks(view, "typed");
    for (auto key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return}) {
        QTest::keyClick(view, key);
    }
    QTest::keySequence(view, QKeySequence::Paste);
    view->paste();
    EXPECT_EQ(view->toPlainText(), before);

    QTest::keySequence(view, QKeySequence::SelectAll);
    QTest::keySequence(view, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), before);
}

TEST_F(InfoPages, TheWelcomePictureShowsWholeAtItsOwnSize) {
    CFuncDlg* welcome = window.m_apPages[0];
    ASSERT_TRUE(welcome->isVisible());
    const auto* picture = welcome->GetItem<QLabel>(IDC_WELCOME_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(611, 543));
    // (4, 10) dialog units, 407 x 334 units: the picture's own size in Windows' base units.
    EXPECT_EQ(picture->geometry(), QRect(6, 16, 611, 543));
    EXPECT_TRUE(welcome->rect().contains(picture->geometry()));
    EXPECT_LE(welcome->geometry().bottom(), window.rect().bottom());
}

} // namespace
} // namespace brimwell::test
