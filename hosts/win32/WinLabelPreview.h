#pragma once
// The label preview control: a window class of the host's own (kLabelPreviewClass), painted
// with GDI (WinPreviewPainter) off screen, its fonts following the window's DPI.
#include "draw/WinPreviewPainter.h"
#include "logo/LabelPreviewCtrl.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace brimwell {

// Registers the window classes of the host's own controls (the label preview's) once; later
// calls do nothing.
void RegisterWinControls();

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

} // namespace brimwell
