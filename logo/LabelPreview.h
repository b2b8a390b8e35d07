#pragma once
#include "logo/LogoFmtHandler.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brimwell {

// The label preview as the logo pages show it: an outlined white label area with the logo
// drawn pixel for pixel at its top-left corner (240, 10) and six label text lines turned to run
// down the control, left of the logo; or, while no logo is loaded, the holder's status message.
// What is drawn where is computed here from the client size and the holder; any drawing surface
// can carry the steps out.

// The size the logo pages give the preview, and what `brimwell-cli preview` draws.
inline constexpr int PREVIEW_WIDTH = 610;
inline constexpr int PREVIEW_HEIGHT = 380;
// Top-left pixel of the logo, in client pixels.
inline constexpr int PREVIEW_LOGO_X = 240;
inline constexpr int PREVIEW_LOGO_Y = 10;
// The status message is wrapped inside the client rectangle shrunk by this on every side.
inline constexpr int PREVIEW_MESSAGE_INSET = 10;
// Fonts, as cell heights in pixels (ascent plus descent, internal leading included).
inline constexpr const char* PREVIEW_LABEL_FACE = "Arial";
inline constexpr int PREVIEW_LABEL_CELL = 28;
inline constexpr const char* PREVIEW_MESSAGE_FACE = "Microsoft Sans Serif";
inline constexpr int PREVIEW_MESSAGE_CELL = 18;

inline constexpr int PREVIEW_TEXT_TOP = 10;
// Placement of a label text along the control's height.
inline constexpr std::int16_t PREVIEW_PLACE_TOP = 0;    // reference point at PREVIEW_TEXT_TOP
inline constexpr std::int16_t PREVIEW_PLACE_CENTRE = 1; // centred on the control's height

// One label text line. Each line's x is the previous one's minus the step, starting from the
// logo's left edge.
struct PreviewLabelText {
    const char* text;
    std::int16_t step;
    std::int16_t placement;
};
inline constexpr std::size_t PREVIEW_LABEL_TEXT_COUNT = 6;
extern const std::array<PreviewLabelText, PREVIEW_LABEL_TEXT_COUNT> PREVIEW_LABEL_TEXTS;

// Row `i`'s text as the preview shows it, in the user's language (UTF-8): the rows stand for
// the label's lines and tell where the cable goes; they are never sent to the printer. The
// pointer is the same for every call in one language, so that a drawing surface may know a
// row's text by its address.
const char* ShownLabelText(std::size_t i);

// The extent of each label text along its own baseline in the label font, in table order.
// Measuring needs fonts, so the drawing surface measures once and hands the result in.
using PreviewTextExtents = std::array<int, PREVIEW_LABEL_TEXT_COUNT>;

enum class PreviewStepKind {
    LabelArea,  // rectangle x, y, width, height: filled white and outlined
    Image,      // the holder's image with its top-left pixel at x, y; width x height pixels
    TurnedText, // text in the label font turned 270 degrees (running downward, tops of the
                // letters to the right), cell top at x (the cell lies left of x), start at y;
                // width is the measured extent
    Message,    // text in the message font, upright, word-wrapped inside the rectangle from
                // its top-left corner
};

struct PreviewStep {
    PreviewStepKind kind;
    int x;
    int y;
    int width;
    int height;
    const char* text; // static text; nullptr for the label area and the image

    bool operator==(const PreviewStep& o) const {
        return kind == o.kind && x == o.x && y == o.y && width == o.width && height == o.height &&
               text == o.text;
    }
};

// The steps that draw the preview into a client area of width x height pixels.
std::vector<PreviewStep> LabelPreviewSteps(int width, int height, LogoStatus status, int imageWidth,
                                           int imageHeight, const PreviewTextExtents& extents);
std::vector<PreviewStep> LabelPreviewSteps(int width, int height, const CLogoFmtHandler& logo,
                                           const PreviewTextExtents& extents);

// What the preview shows, in words, for a screen reader: "<name>: " and then the logo's size in
// dots with its quarter turns clockwise and whether it is inverted, or the status message the
// preview shows while no logo is loaded.
struct PreviewView {
    LogoStatus status = LOGO_NO_FILE;
    int width = 0;  // dots, as drawn (after the turns)
    int height = 0; // dots
    int quarterTurns = 0;
    bool inverted = false;
};
std::string PreviewDescription(const std::string& name, const PreviewView& view);

} // namespace brimwell
