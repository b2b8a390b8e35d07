// The Win32 host speaks device-independent pixels to the window logic: the conversions, and
// the main window laid out at the DPI this run has (96, or what --at-dpi set: the script runs
// this program once more at 144).
#include "hosts/win32/WinDpi.h"
#include "app/CBrimwellDlg.h"
#include "hosts/win32/WinDialog.h"
#include "logo/LabelPreview.h"
#include "support/FakePlatform.h"
#include "win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace brimwell::test {
namespace {

TEST(DpiConversion, RoundsToTheNearestPixelAndBack) {
    const struct {
        int dpi;
        int dip;
        int physical;   // PhysicalFromDip(dip)
        int backToDips; // DipFromPhysical(physical)
    } cases[] = {
        {96, 210, 210, 210},   {96, -3, -3, -3},     {120, 210, 263, 210}, // 262.5 rounds up
        {144, 210, 315, 210},  {144, 610, 915, 610}, {144, 380, 570, 380},
        {144, 1, 2, 1},        {144, -1, -2, -1},    {168, 7, 12, 7}, // 12.25
        {192, 610, 1220, 610}, {72, 3, 2, 3},        {0, 5, 5, 5},    // no DPI: unchanged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dpi << " dpi, " << c.dip);
        EXPECT_EQ(PhysicalFromDip(c.dip, c.dpi), c.physical);
        EXPECT_EQ(DipFromPhysical(c.physical, c.dpi), c.backToDips);
    }
}

TEST(DpiConversion, AValueReadAndWrittenBackUnchangedStaysWhereItIs) {
    // At 144 DPI physical pixels 1 and 2 both read as 1 device-independent pixel; writing 1
    // back leaves either where it is, writing 2 moves it.
    const struct {
        int dip, current, dpi, expected;
    } cases[] = {
        {1, 1, 144, 1},       {1, 2, 144, 2},       {2, 1, 144, 3},
        {315, 316, 144, 473}, {210, 315, 144, 315}, {210, 316, 144, 315},
        {211, 315, 144, 317}, {7, 7, 96, 7},        {8, 7, 96, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dip << " over " << c.current << " at " << c.dpi);
        EXPECT_EQ(PhysicalFromDipKeepingCurrent(c.dip, c.current, c.dpi), c.expected);
    }
}

constexpr int kPassLogoRow = 8; // "Configure Pass Logo"

RECT PixelsIn(HWND hwnd, HWND parent) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(DpiLayout, PagesStandClearOfTheFunctionListAtThisRunsDpi) {
    FakePlatform platform;
    CBrimwellDlg dlg;
    WinDialog host{*FindDialogTemplate(IDD_BRIMWELL_DIALOG), true};
    ASSERT_TRUE(host.Create(dlg, nullptr));
    const int dpi = WindowDpi(host.Hwnd());
    if (const char* wanted = std::getenv("BRIMWELL_TEST_DPI")) {
        // The run at another DPI must have it, or it proves nothing.
        ASSERT_EQ(dpi, std::atoi(wanted));
    }
    RecordProperty("dpi", dpi);
    const RECT list = PixelsIn(GetDlgItem(host.Hwnd(), IDC_FUNCTION_LIST), host.Hwnd());
    const RECT combo = PixelsIn(GetDlgItem(host.Hwnd(), IDC_PRINTER_COMBO), host.Hwnd());
    RECT client{};
    GetClientRect(host.Hwnd(), &client);
    for (int row = 0; row < 11; ++row) {
        SCOPED_TRACE(row);
        auto& page = static_cast<WinDialog&>(dlg.MakePage(row)->Dialog());
        const RECT r = PixelsIn(page.Hwnd(), host.Hwnd());
        EXPECT_EQ(r.left, PhysicalFromDip(kPageLeft, dpi));
        EXPECT_GE(r.left, list.right);
        EXPECT_GE(r.left, combo.right);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
    }
    // The logo page's preview: 610 x 380 to the logic, as many physical pixels as that is.
    auto& logoPage = static_cast<WinDialog&>(dlg.MakePage(kPassLogoRow)->Dialog());
    const DlgRect preview = logoPage.ItemRect(IDC_LOGO_PREVIEW);
    EXPECT_EQ(preview.cx, PREVIEW_WIDTH);
    EXPECT_EQ(preview.cy, PREVIEW_HEIGHT);
    const RECT previewPixels = PixelsIn(logoPage.Item(IDC_LOGO_PREVIEW), logoPage.Hwnd());
    EXPECT_EQ(previewPixels.right - previewPixels.left, PhysicalFromDip(PREVIEW_WIDTH, dpi));
    EXPECT_EQ(previewPixels.bottom - previewPixels.top, PhysicalFromDip(PREVIEW_HEIGHT, dpi));
    // The buttons below it were moved clear of it.
    const RECT send = PixelsIn(logoPage.Item(IDC_LOGO_SEND), logoPage.Hwnd());
    EXPECT_GE(send.top, previewPixels.bottom);
    // The logic's sizes come back as it set them.
    const DlgSize size = host.ClientSize();
    host.ResizeClient(size);
    EXPECT_EQ(host.ClientSize(), size);
    RECT after{};
    GetClientRect(host.Hwnd(), &after);
    EXPECT_EQ(after.right, client.right);
    EXPECT_EQ(after.bottom, client.bottom);
}

} // namespace
} // namespace brimwell::test
