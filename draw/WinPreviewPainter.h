#pragma once
// The label preview drawn with GDI: the preview's fonts at a screen's DPI, the label texts
// measured in them, and the drawing steps the logo page computes (logo/LabelPreview) carried
// out on a device context. The Win32 host's label preview control paints with these, and the
// companion draws its `preview --png` picture with them on Windows.
#include "logo/LabelPreview.h"

#include <windows.h>

#include <vector>

namespace brimwell {

// A DIB section of width x height pixels of `bitsPerPixel` (24 or 32) in top-down rows, each
// padded to 4 bytes, with *bits set to its first row; nullptr (and *bits null) when GDI
// refuses it.
HBITMAP MakeTopDownDib(int width, int height, int bitsPerPixel, void** bits);

// The logo as a one-bit top-down DIB section (bit 1 white), copied from the holder; nullptr
// when no logo is loaded.
HBITMAP MakeLogoDib(const CLogoFmtHandler& logo);

// The preview's fonts for a screen of `dpi` dots per inch: the cell heights of
// logo/LabelPreview.h at 96 DPI, scaled.
struct PreviewGdiFonts {
    HFONT label = nullptr;
    HFONT message = nullptr;
    int dpi = 96;
    explicit PreviewGdiFonts(int dpi);
    ~PreviewGdiFonts();
    PreviewGdiFonts(const PreviewGdiFonts&) = delete;
    PreviewGdiFonts& operator=(const PreviewGdiFonts&) = delete;
};

// The label texts' extents in the label font on `hdc`, in device-independent pixels.
PreviewTextExtents MeasureLabelTexts(HDC hdc, const PreviewGdiFonts& fonts);

// Carries the steps (in device-independent pixels) out on `hdc`, whose pixels are those of
// fonts.dpi: the label area white with an outline in `ink`, the logo DIB at its place and at
// the label's scale (one dot per device-independent pixel, nearest neighbour), the turned
// label texts (escapement 270 degrees) and the word-wrapped message.
void PaintPreviewSteps(HDC hdc, const std::vector<PreviewStep>& steps, HBITMAP logo,
                       const PreviewGdiFonts& fonts, COLORREF ink);

} // namespace brimwell
