// The label preview's GDI drawing: the steps land on the screen's pixels at every DPI, the
// logo dot for dot (or in whole-pixel squares), the fonts and the texts' extents scaled.
#include "draw/WinPreviewPainter.h"
#include "hosts/win32/WinDpi.h"

#include <algorithm>
#include <cstdint>

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

// A 32-bit top-down canvas to draw on and read back.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width) {
        void* bits = nullptr;
        m_bitmap = MakeTopDownDib(width, height, 32, &bits);
        m_bits = static_cast<std::uint32_t*>(bits);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
        const RECT all{0, 0, width, height};
        HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
        FillRect(m_dc, &all, grey);
        DeleteObject(grey);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    HDC Dc() const { return m_dc; }
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return m_bits[y * m_width + x] & 0xFFFFFF;
    }

private:
    int m_width;
    HBITMAP m_bitmap;
    std::uint32_t* m_bits;
    HDC m_dc;
    HGDIOBJ m_old;
};

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGrey = 0x808080;

TEST(PreviewPainting, LabelAreaIsWhiteWithAnOutlineOnItsOuterPixels) {
    Canvas canvas(120, 80);
    const PreviewGdiFonts fonts(96);
    PaintPreviewSteps(canvas.Dc(), {{PreviewStepKind::LabelArea, 10, 5, 100, 60, nullptr}}, nullptr,
                      fonts, RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(10, 5), kBlack);
    EXPECT_EQ(canvas.At(109, 64), kBlack);
    EXPECT_EQ(canvas.At(109, 30), kBlack);
    EXPECT_EQ(canvas.At(11, 6), kWhite);
    EXPECT_EQ(canvas.At(108, 63), kWhite);
    EXPECT_EQ(canvas.At(110, 30), kGrey); // right and bottom are exclusive
    EXPECT_EQ(canvas.At(50, 65), kGrey);
    EXPECT_EQ(canvas.At(9, 5), kGrey);
}

// A 3 x 2 one-bit picture: top row 1 0 1, bottom row 0 1 0.
HBITMAP CheckerLogo() {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 3;
    info.header.biHeight = -2;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.colours[1] = {255, 255, 255, 0};
    void* bits = nullptr;
    HBITMAP logo = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
    if (logo) {
        auto* rows = static_cast<std::uint8_t*>(bits);
        rows[0] = 0xA0;
        rows[4] = 0x40;
    }
    return logo;
}

TEST(PreviewPainting, LogoIsDrawnPixelForPixelWithBitOneWhite) {
    HBITMAP logo = CheckerLogo();
    ASSERT_NE(logo, nullptr);
    Canvas canvas(40, 30);
    const PreviewGdiFonts fonts(96);
    PaintPreviewSteps(canvas.Dc(), {{PreviewStepKind::Image, 20, 10, 3, 2, nullptr}}, logo, fonts,
                      RGB(0, 0, 255));
    const std::uint32_t expected[2][3] = {{kWhite, kBlack, kWhite}, {kBlack, kWhite, kBlack}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(canvas.At(20 + x, 10 + y), expected[y][x]) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.At(23, 10), kGrey);
    EXPECT_EQ(canvas.At(19, 11), kGrey);
    DeleteObject(logo);
}

TEST(PreviewPainting, StepsInDevicePixelsLandOnTheScreensPixelsByTheirEdges) {
    // A label area at (10, 5) of 101 x 61 device-independent pixels: its edges scaled and
    // rounded (MulDiv), not its size.
    const struct {
        int dpi;
        RECT outline; // the outline's outer pixels, right and bottom exclusive
    } cases[] = {
        {96, {10, 5, 111, 66}},
        {120, {13, 6, 139, 83}}, // 12.5 -> 13, 6.25 -> 6, 138.75 -> 139, 82.5 -> 83
        {144, {15, 8, 167, 99}}, // 7.5 -> 8, 166.5 -> 167, 99
        {192, {20, 10, 222, 132}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        Canvas canvas(240, 150);
        const PreviewGdiFonts fonts(c.dpi);
        PaintPreviewSteps(canvas.Dc(), {{PreviewStepKind::LabelArea, 10, 5, 101, 61, nullptr}},
                          nullptr, fonts, RGB(0, 0, 0));
        const RECT& o = c.outline;
        EXPECT_EQ(canvas.At(o.left, o.top), kBlack);
        EXPECT_EQ(canvas.At(o.right - 1, o.bottom - 1), kBlack);
        EXPECT_EQ(canvas.At(o.left + 1, o.top + 1), kWhite);
        EXPECT_EQ(canvas.At(o.right - 2, o.bottom - 2), kWhite);
        EXPECT_EQ(canvas.At(o.right, o.top + 2), kGrey);
        EXPECT_EQ(canvas.At(o.left + 2, o.bottom), kGrey);
        EXPECT_EQ(canvas.At(o.left - 1, o.top + 2), kGrey);
        EXPECT_EQ(canvas.At(o.left + 2, o.top - 1), kGrey);
    }
}

TEST(PreviewPainting, LogoKeepsItsShareOfTheLabelAtEveryDpiWithCrispDots) {
    HBITMAP logo = CheckerLogo();
    ASSERT_NE(logo, nullptr);
    // A 3 x 2 dot logo at (20, 10) on a label area of 12 x 8 at (18, 8): whatever the DPI, the
    // logo spans a quarter of the label's width and its dots' edges are the label's scale.
    const struct {
        int dpi;
        RECT logo; // the logo's pixels, right and bottom exclusive
    } cases[] = {
        {96, {20, 10, 23, 12}},  {120, {25, 13, 29, 15}}, {144, {30, 15, 35, 18}},
        {192, {40, 20, 46, 24}}, {288, {60, 30, 69, 36}},
    };
    const std::uint32_t dots[2][3] = {{kWhite, kBlack, kWhite}, {kBlack, kWhite, kBlack}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        Canvas canvas(120, 80);
        const PreviewGdiFonts fonts(c.dpi);
        PaintPreviewSteps(canvas.Dc(),
                          {{PreviewStepKind::LabelArea, 18, 8, 12, 8, nullptr},
                           {PreviewStepKind::Image, 20, 10, 3, 2, nullptr}},
                          logo, fonts, RGB(0, 0, 255));
        const RECT& l = c.logo;
        const int label = PhysicalFromDip(30, c.dpi) - PhysicalFromDip(18, c.dpi);
        EXPECT_NEAR(static_cast<double>(l.right - l.left) / label, 0.25, 1.0 / label);
        // Each pixel that lies wholly within one dot has that dot's colour: never grey.
        const int w = l.right - l.left;
        const int h = l.bottom - l.top;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int dotX = 3 * x / w;
                const int dotY = 2 * y / h;
                if (3 * (x + 1) <= (dotX + 1) * w && 2 * (y + 1) <= (dotY + 1) * h) {
                    EXPECT_EQ(canvas.At(l.left + x, l.top + y), dots[dotY][dotX]) << x << "," << y;
                }
            }
        }
        // Nothing beyond it: the white label round it.
        EXPECT_EQ(canvas.At(l.right, l.top), kWhite);
        EXPECT_EQ(canvas.At(l.left, l.bottom), kWhite);
        EXPECT_EQ(canvas.At(l.left - 1, l.top), kWhite);
    }
    DeleteObject(logo);
}

TEST(PreviewPainting, LabelTextExtentsAreDeviceIndependent) {
    HDC screen = GetDC(nullptr);
    const PreviewGdiFonts at96(96);
    const PreviewGdiFonts at144(144);
    const PreviewTextExtents base = MeasureLabelTexts(screen, at96);
    const PreviewTextExtents scaled = MeasureLabelTexts(screen, at144);
    ReleaseDC(nullptr, screen);
    for (std::size_t i = 0; i < PREVIEW_LABEL_TEXT_COUNT; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(base[i], 0);
        // The same text in a font half as big again, measured back in 96ths of an inch:
        // the same within the hinting of the bigger font.
        EXPECT_NEAR(scaled[i], base[i], 2 + base[i] / 25);
    }
}

// The bounding box of the pixels drawn in ink.
RECT InkBox(const Canvas& canvas, int width, int height, std::uint32_t ink) {
    RECT box{width, height, -1, -1};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (canvas.At(x, y) == ink) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    return box;
}

TEST(PreviewPainting, TurnedTextRunsDownLeftOfItsX) {
    const int width = 200;
    const int height = 400;
    Canvas canvas(width, height);
    const PreviewGdiFonts fonts(96);
    HDC screen = GetDC(nullptr);
    const PreviewTextExtents extents = MeasureLabelTexts(screen, fonts);
    ReleaseDC(nullptr, screen);
    PaintPreviewSteps(canvas.Dc(),
                      {{PreviewStepKind::TurnedText, 100, 20, extents[0], PREVIEW_LABEL_CELL,
                        PREVIEW_LABEL_TEXTS[0].text}},
                      nullptr, fonts, RGB(0, 0, 0));
    const RECT ink = InkBox(canvas, width, height, kBlack);
    ASSERT_GT(ink.right, ink.left) << "nothing drawn";
    // Taller than wide: it runs down the canvas, within its cell left of x, from y on.
    EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
    EXPECT_GE(ink.left, 100 - PREVIEW_LABEL_CELL);
    EXPECT_LE(ink.right, 101);
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.bottom, 20 + extents[0] + 1);
    EXPECT_GT(ink.bottom - ink.top, extents[0] * 3 / 4);
}

TEST(PreviewPainting, MessageWrapsInsideItsRectangle) {
    const int width = 220;
    const int height = 200;
    Canvas canvas(width, height);
    const PreviewGdiFonts fonts(96);
    PaintPreviewSteps(canvas.Dc(),
                      {{PreviewStepKind::Message, 10, 10, 150, 150,
                        "The selected file is not a logo this printer can use."}},
                      nullptr, fonts, RGB(0, 0, 0));
    const RECT ink = InkBox(canvas, width, height, kBlack);
    ASSERT_GT(ink.right, ink.left) << "nothing drawn";
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 160);
    EXPECT_GE(ink.top, 10);
    // More than one line of the 18-pixel cell.
    EXPECT_GT(ink.bottom - ink.top, PREVIEW_MESSAGE_CELL + 4);
}

TEST(PreviewFonts, CellHeightsScaleWithTheDpi) {
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        const PreviewGdiFonts fonts(dpi);
        HDC dc = CreateCompatibleDC(nullptr);
        TEXTMETRICW metrics{};
        SelectObject(dc, fonts.label);
        GetTextMetricsW(dc, &metrics);
        // Within a pixel: a face scaled to a cell rounds its ascent and descent apart (Wine's
        // Liberation Sans for an 18-pixel cell: 14 + 3).
        EXPECT_NEAR(metrics.tmHeight, PREVIEW_LABEL_CELL * dpi / 96, 1);
        SelectObject(dc, fonts.message);
        GetTextMetricsW(dc, &metrics);
        EXPECT_NEAR(metrics.tmHeight, PREVIEW_MESSAGE_CELL * dpi / 96, 1);
        DeleteDC(dc);
    }
}

} // namespace
} // namespace brimwell::test
