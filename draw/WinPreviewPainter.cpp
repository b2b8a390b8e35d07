#include "draw/WinPreviewPainter.h"

#include "draw/WinDips.h"
#include "text/Utf.h"

#include <cstring>
#include <string>

namespace brimwell {
namespace {

HFONT PreviewFont(const char* face, int cell, int dpi) {
    // A positive height asks for the cell height (internal leading included).
    const int height = MulDiv(cell, dpi, 96);
    std::wstring name(face, face + std::strlen(face));
    // TrueType first: a bitmap face of the same name (Wine's "MS Sans Serif") has only a few
    // fixed sizes, none with this cell.
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, name.c_str());
}

HFONT TurnedFont(HFONT label) {
    LOGFONTW lf{};
    GetObjectW(label, sizeof lf, &lf);
    // Turned a quarter clockwise: runs down, the tops of the letters to the right.
    lf.lfEscapement = 2700;
    lf.lfOrientation = 2700;
    return CreateFontIndirectW(&lf);
}

// A UTF-8 text as Windows' UTF-16.
std::wstring Wide(const char* utf8) {
    const std::u16string text = Utf16FromUtf8(utf8 ? utf8 : "");
    return std::wstring(text.begin(), text.end());
}

} // namespace

HBITMAP MakeTopDownDib(int width, int height, int bitsPerPixel, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    *bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (dib && *bits) {
        return dib;
    }
    if (dib) {
        DeleteObject(dib);
    }
    *bits = nullptr;
    return nullptr;
}

HBITMAP MakeLogoDib(const CLogoFmtHandler& logo) {
    if (!logo.IsLoaded() || logo.GetWidth() <= 0 || logo.GetHeight() <= 0 || !logo.GetPixels()) {
        return nullptr;
    }
    // The holder's description is laid out as BITMAPINFO with its two colours (0 black,
    // 1 white) and top-down rows padded to 32 bits, as a DIB section wants them.
    BITMAPINFO* info =
        reinterpret_cast<BITMAPINFO*>(const_cast<LogoBitmapInfo*>(&logo.GetBitmapInfo()));
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        if (dib) {
            DeleteObject(dib);
        }
        return nullptr;
    }
    const std::size_t bytes =
        static_cast<std::size_t>(logo.GetStride()) * static_cast<std::size_t>(logo.GetHeight());
    std::memcpy(bits, logo.GetPixels(), bytes);
    return dib;
}

PreviewGdiFonts::PreviewGdiFonts(int dpiValue)
    : label(PreviewFont(PREVIEW_LABEL_FACE, PREVIEW_LABEL_CELL, dpiValue)),
      message(PreviewFont(PREVIEW_MESSAGE_FACE, PREVIEW_MESSAGE_CELL, dpiValue)), dpi(dpiValue) {}

PreviewGdiFonts::~PreviewGdiFonts() {
    DeleteObject(label);
    DeleteObject(message);
}

PreviewTextExtents MeasureLabelTexts(HDC hdc, const PreviewGdiFonts& fonts) {
    PreviewTextExtents extents{};
    HGDIOBJ old = SelectObject(hdc, fonts.label);
    for (std::size_t i = 0; i < PREVIEW_LABEL_TEXT_COUNT; ++i) {
        const std::wstring text = Wide(ShownLabelText(i));
        SIZE size{};
        GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
        extents[i] = DipFromPhysical(size.cx, fonts.dpi);
    }
    SelectObject(hdc, old);
    return extents;
}

void PaintPreviewSteps(HDC hdc, const std::vector<PreviewStep>& steps, HBITMAP logo,
                       const PreviewGdiFonts& fonts, COLORREF ink) {
    const int dpi = fonts.dpi;
    const auto px = [dpi](int dip) { return PhysicalFromDip(dip, dpi); };
    const int saved = SaveDC(hdc);
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, RGB(255, 255, 255));
    SetTextColor(hdc, ink);
    for (const PreviewStep& step : steps) {
        // The step's rectangle by its edges, in this surface's pixels.
        const RECT box{px(step.x), px(step.y), px(step.x + step.width), px(step.y + step.height)};
        switch (step.kind) {
        case PreviewStepKind::LabelArea:
            if (step.width > 0 && step.height > 0) {
                HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
                FillRect(hdc, &box, white);
                HBRUSH outline = CreateSolidBrush(ink);
                FrameRect(hdc, &box, outline);
                DeleteObject(outline);
            }
            break;
        case PreviewStepKind::Image:
            if (logo) {
                HDC source = CreateCompatibleDC(hdc);
                HGDIOBJ old = SelectObject(source, logo);
                BITMAP bm{};
                GetObjectW(logo, sizeof bm, &bm);
                // At the scale of the label round it, as it will print: the logo's dots span
                // as many device-independent pixels as it has dots, their edges rounded to
                // this surface's pixels as every other step's are. Nearest neighbour, so the
                // dots stay crisp black and white.
                const int width = px(step.x + bm.bmWidth) - box.left;
                const int height = px(step.y + bm.bmHeight) - box.top;
                // A one-bit source takes the destination's text and background colours for
                // its 0 and 1 bits: black and white, as the logo's own colours.
                SetTextColor(hdc, RGB(0, 0, 0));
                if (width == bm.bmWidth && height == bm.bmHeight) {
                    BitBlt(hdc, box.left, box.top, width, height, source, 0, 0, SRCCOPY);
                } else {
                    SetStretchBltMode(hdc, COLORONCOLOR);
                    StretchBlt(hdc, box.left, box.top, width, height, source, 0, 0, bm.bmWidth,
                               bm.bmHeight, SRCCOPY);
                }
                SetTextColor(hdc, ink);
                SelectObject(source, old);
                DeleteDC(source);
            }
            break;
        case PreviewStepKind::TurnedText: {
            HFONT turned = TurnedFont(fonts.label);
            HGDIOBJ old = SelectObject(hdc, turned);
            SetTextAlign(hdc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
            const std::wstring text = Wide(step.text);
            TextOutW(hdc, box.left, box.top, text.c_str(), static_cast<int>(text.size()));
            SelectObject(hdc, old);
            DeleteObject(turned);
            break;
        }
        case PreviewStepKind::Message:
            if (step.width > 0 && step.height > 0 && step.text) {
                HGDIOBJ old = SelectObject(hdc, fonts.message);
                RECT wrap = box;
                const std::wstring text = Wide(step.text);
                DrawTextW(hdc, text.c_str(), -1, &wrap,
                          DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
                SelectObject(hdc, old);
            }
            break;
        }
    }
    RestoreDC(hdc, saved);
}

} // namespace brimwell
