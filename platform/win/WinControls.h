#pragma once
// The Win32 host's own controls: the label preview (a window class drawn with GDI) and the
// adapters of the rich-text view (RichEdit 2.0) and of the picture statics.
#include "platform/Dialog.h"

#include <windows.h>

#include <richedit.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
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

// The rich text's addresses and their targets (platform/TextLinks) in the window's UTF-16.
std::vector<std::pair<std::size_t, std::size_t>> FindAddresses(const std::wstring& text);
std::wstring AddressTarget(const std::wstring& address);

// Opens a mailto:, http: or https: target in the user's mail program or browser
// (ShellExecuteW "open"). Replaceable, so that a test can see what would open; returns the
// opener it replaced.
using UrlOpener = std::function<void(const std::wstring& target)>;
UrlOpener SetUrlOpener(UrlOpener opener);
void OpenUrl(const std::wstring& target);

// A rich edit's link notification: on a click (the left button released with nothing
// selected), opens the address under it. True when it was a click on an address.
bool OnRichEditLink(const ENLINK& link);

// The read-only rich-text view over a RichEdit 2.0 control; its addresses open when clicked.
// Until its dialog is first shown it is a stand-in (an empty static, from the template): a
// document streamed in meanwhile is read whole from the callback, as the control would read
// it, and kept; Realize makes the RichEdit in the stand-in's place and shows it the document.
class WinRichText final : public IRichTextCtrl {
public:
    // `hwnd` is the stand-in; `style` the RichEdit's (RichEditStyle).
    WinRichText(HWND hwnd, std::uint32_t style) : m_hwnd(hwnd), m_style(style) {}
    std::int32_t StreamIn(int nFormat, EditStream& es) override;

    // Makes the RichEdit, once; false when it cannot be made (the stand-in stays).
    bool Realize();
    bool Realized() const { return m_realized; }
    // The RichEdit, or the stand-in until it is made.
    HWND Hwnd() const { return m_hwnd; }

    // Makes the control refuse typing, pasting and dropping, whatever its style says, and
    // report clicks on links (EN_LINK) to its dialog.
    static void MakeReadOnly(HWND hwnd);

private:
    std::int32_t StreamInto(HWND edit, int nFormat, EditStream& es);

    HWND m_hwnd;
    std::uint32_t m_style;
    bool m_realized = false;
    bool m_pending = false;
    int m_pendingFormat = 0;
    std::string m_document;
};

// The picture resource `id` (a BITMAP resource of the program) as a DIB section, loaded once
// and kept for the life of the process; nullptr when it is missing.
HBITMAP LoadPictureDib(int id);

} // namespace brimwell
