#pragma once
#include "logo/LabelPreview.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <array>
#include <vector>

class QPainter;

namespace brimwell {

// The preview's fonts and the measured extents of the label texts. Made once, on first use,
// and shared by every preview (fonts need a QGuiApplication).
struct PreviewFonts {
    QFont label;   // "Arial", cell height 28 pixels
    QFont message; // "Microsoft Sans Serif", cell height 18 pixels
    int labelAscent = 0;
    PreviewTextExtents extents{};
    std::array<QString, PREVIEW_LABEL_TEXT_COUNT> labelTexts;
    std::array<const char*, PREVIEW_LABEL_TEXT_COUNT> labelTextIds{}; // the steps' text pointers

    static const PreviewFonts& Get();
};

// A font of `face` whose cell (ascent plus descent) is `cellHeight` pixels, as a Windows font
// asked for by a positive height.
QFont PreviewFont(const char* face, int cellHeight);

// The holder's one-bit image as a picture that draws without conversion: white for bits of 1,
// black for bits of 0. Null when no logo is loaded. Made when the holder changes, not per paint.
QImage LogoPreviewImage(const CLogoFmtHandler& logo);

// Carries out the steps. `image` is the holder's picture (LogoPreviewImage); `ink` the
// outline and text colour (PreviewInk).
void PaintLabelPreview(QPainter& painter, const std::vector<PreviewStep>& steps,
                       const QImage& image, const QColor& ink);

// The outline and text colour: black, whatever the palette, as on the white label.
QColor PreviewInk();

// The whole preview of the holder drawn into a width x height picture, exactly as a preview
// control of that size shows it.
QImage RenderLabelPreview(const CLogoFmtHandler& logo, int width = PREVIEW_WIDTH,
                          int height = PREVIEW_HEIGHT);

} // namespace brimwell
