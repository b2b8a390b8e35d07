#pragma once
// The Win32 host's own controls: the label preview (a window class drawn with GDI) and the
// adapters of the rich-text view (RichEdit 2.0) and of the picture statics.
#include "platform/Dialog.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace brimwell {

// Registers the label preview's window class (once; later calls do nothing).
void RegisterWinControls();

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
// fonts.dpi: the label area white with an outline in `ink`, the logo DIB at its place (dot
// for dot, or each dot WholePictureScale pixels square), the turned label texts (escapement
// 270 degrees) and the word-wrapped message.
void PaintPreviewSteps(HDC hdc, const std::vector<PreviewStep>& steps, HBITMAP logo,
                       const PreviewGdiFonts& fonts, COLORREF ink);

// The label preview control behind a window of class kLabelPreviewClass.
class WinLabelPreview final : public ILabelPreviewCtrl {
public:
    explicit WinLabelPreview(HWND hwnd);
    ~WinLabelPreview();
    WinLabelPreview(const WinLabelPreview&) = delete;
    WinLabelPreview& operator=(const WinLabelPreview&) = delete;

    // The control of this window, or nullptr when it is no label preview.
    static WinLabelPreview* FromWindow(HWND hwnd);

    PreviewTextExtents LabelTextExtents() const override;
    void SetSteps(std::vector<PreviewStep> steps, const CLogoFmtHandler* logo) override;

    const std::vector<PreviewStep>& Steps() const { return m_steps; }
    HBITMAP Logo() const { return m_logo; }
    void Paint(HDC hdc) const;
    // The window's DPI changed: the fonts are made for the new one.
    void DpiChanged();

private:
    HWND m_hwnd;
    std::unique_ptr<PreviewGdiFonts> m_fonts;
    std::vector<PreviewStep> m_steps;
    HBITMAP m_logo = nullptr;
};

// The read-only rich-text view over a RichEdit 2.0 control.
class WinRichText final : public IRichTextCtrl {
public:
    explicit WinRichText(HWND hwnd) : m_hwnd(hwnd) {}
    std::int32_t StreamIn(int nFormat, EditStream& es) override;

    // Makes the control refuse typing, pasting and dropping, whatever its style says.
    static void MakeReadOnly(HWND hwnd);

private:
    HWND m_hwnd;
};

// The picture resource `id` (a BITMAP resource of the program) as a DIB section, loaded once
// and kept for the life of the process; nullptr when it is missing.
HBITMAP LoadPictureDib(int id);

} // namespace brimwell
