// The welcome and text pages: which document each row streams into its view, and the banner.
#include "info/CTextInfoDlg.h"
#include "info/CWelcomeDlg.h"
#include "info/InfoDocuments.h"
#include "support/FakePlatform.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace brimwell::test {
namespace {

constexpr int kAboutRow = 1;

class InfoPages : public ::testing::Test, protected FakePlatform {
protected:
    CTextInfoDlg* TextPage(int row) {
        return dynamic_cast<CTextInfoDlg*>(window.dlg.MakePage(row));
    }
    const fake::FakeDialog::RichView& View(int row) {
        return *window.Page(row).At(IDC_TEXT_VIEW).richText;
    }

    FakeWindow window;
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
    ASSERT_NE(dynamic_cast<CWelcomeDlg*>(window.dlg.MakePage(0)), nullptr);
    for (int row = kAboutRow; row <= 4; ++row) {
        SCOPED_TRACE(row);
        CTextInfoDlg* page = TextPage(row);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->m_nTextIndex, row - kAboutRow);
        EXPECT_EQ(page->m_nRtfPos, page->m_nRtfLength); // streamed whole, once
        EXPECT_EQ(View(row).streams, 1);
        EXPECT_EQ(View(row).format, STREAM_FORMAT_RTF);
        EXPECT_EQ(View(row).content, TextInfoRtf(page->m_nTextIndex));
        EXPECT_EQ(window.Page(row).IsItemShown(IDC_BANNER_PICTURE), row == kAboutRow);
    }
}

TEST_F(InfoPages, AnIndexOutsideTheFourGivesAnEmptyViewAndNoBannerAndNoViewGivesNoText) {
    fake::FakeDialog parent(*FindDialogTemplate(IDD_BRIMWELL_DIALOG));
    for (int index : {-1, 4, 1000}) {
        const PageRow row = RowOf(IDD_TEXT_INFO, index);
        std::unique_ptr<CFuncDlg> page(row.make(row, nullptr));
        ASSERT_TRUE(page->Create(parent));
        fake::FakeDialog& host = *parent.Child(*page);
        EXPECT_EQ(host.At(IDC_TEXT_VIEW).richText->streams, 1) << index;
        EXPECT_EQ(host.At(IDC_TEXT_VIEW).richText->content, "") << index;
        EXPECT_FALSE(host.IsItemShown(IDC_BANNER_PICTURE)) << index;
    }
    // A template without the view: nothing is streamed and the banner stays as it was.
    const DialogTemplate damaged = FindDialogTemplate(IDD_TEXT_INFO)->Without(IDC_TEXT_VIEW);
    const PageRow row = RowOf(IDD_TEXT_INFO, 2);
    std::unique_ptr<CFuncDlg> page(row.make(row, nullptr));
    ASSERT_TRUE(page->Create(parent, &damaged));
    EXPECT_TRUE(parent.Child(*page)->IsItemShown(IDC_BANNER_PICTURE));
    EXPECT_EQ(static_cast<CTextInfoDlg*>(page.get())->m_pszRtf, nullptr);
}

} // namespace
} // namespace brimwell::test
