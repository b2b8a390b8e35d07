#include "logo/LabelPreview.h"

#include "resources/StringTable.h"
#include "text/Translate.h"

#include <cstdio>

namespace brimwell {

// The first line marks the label's fold line, on which the cable is centred; the others stand
// for the lines the printer's label program prints.
const std::array<PreviewLabelText, PREVIEW_LABEL_TEXT_COUNT> PREVIEW_LABEL_TEXTS = {{
    // TRANSLATORS: the label preview's fold line, where the cable goes; keep the dashes.
    {N_("--  CENTRE  CABLE  HERE  --"), 20, PREVIEW_PLACE_CENTRE},
    // TRANSLATORS: the label preview's stand-ins for the lines the printer prints.
    {N_("Label Title"), 60, PREVIEW_PLACE_CENTRE},
    {N_("Product Detail"), 30, PREVIEW_PLACE_CENTRE},
    {N_("etc."), 30, PREVIEW_PLACE_CENTRE},
    {N_("etc."), 30, PREVIEW_PLACE_CENTRE},
    {N_("etc."), 30, PREVIEW_PLACE_CENTRE},
}};

const char* ShownLabelText(std::size_t i) {
    return i < PREVIEW_LABEL_TEXT_COUNT ? Tr(PREVIEW_LABEL_TEXTS[i].text) : "";
}

std::vector<PreviewStep> LabelPreviewSteps(int width, int height, LogoStatus status, int imageWidth,
                                           int imageHeight, const PreviewTextExtents& extents) {
    std::vector<PreviewStep> steps;
    steps.reserve(2 + PREVIEW_LABEL_TEXT_COUNT);
    steps.push_back({PreviewStepKind::LabelArea, 0, 0, width, height, nullptr});
    if (status != LOGO_LOADED_OK) {
        // Shrinking may leave an empty rectangle on a tiny control; nothing is drawn then.
        const int w = width - 2 * PREVIEW_MESSAGE_INSET;
        const int h = height - 2 * PREVIEW_MESSAGE_INSET;
        steps.push_back({PreviewStepKind::Message, PREVIEW_MESSAGE_INSET, PREVIEW_MESSAGE_INSET,
                         w > 0 ? w : 0, h > 0 ? h : 0, LogoStatusMessage(status)});
        return steps;
    }
    // Pixel for pixel: nothing is scaled, and only the control's edge clips the image.
    steps.push_back(
        {PreviewStepKind::Image, PREVIEW_LOGO_X, PREVIEW_LOGO_Y, imageWidth, imageHeight, nullptr});
    int x = PREVIEW_LOGO_X;
    for (std::size_t i = 0; i < PREVIEW_LABEL_TEXT_COUNT; ++i) {
        const PreviewLabelText& row = PREVIEW_LABEL_TEXTS[i];
        x -= row.step;
        // Integer division drops the remainder towards zero, also for a text longer than
        // the control is high.
        const int y =
            row.placement == PREVIEW_PLACE_CENTRE ? (height - extents[i]) / 2 : PREVIEW_TEXT_TOP;
        steps.push_back(
            {PreviewStepKind::TurnedText, x, y, extents[i], PREVIEW_LABEL_CELL, ShownLabelText(i)});
    }
    return steps;
}

std::vector<PreviewStep> LabelPreviewSteps(int width, int height, const CLogoFmtHandler& logo,
                                           const PreviewTextExtents& extents) {
    return LabelPreviewSteps(width, height, logo.GetStatus(), logo.GetWidth(), logo.GetHeight(),
                             extents);
}

std::string PreviewDescription(const std::string& name, const PreviewView& view) {
    std::string text = name.empty() ? std::string() : name + ": ";
    if (view.status != LOGO_LOADED_OK) {
        return text + LogoStatusMessage(view.status);
    }
    char part[64];
    std::snprintf(part, sizeof part, LoadStringResource(IDS_PREVIEW_LOGO), view.width, view.height);
    text += part;
    if (const int turns = ((view.quarterTurns % 4) + 4) % 4; turns != 0) {
        std::snprintf(part, sizeof part, LoadStringResource(IDS_PREVIEW_ROTATED), turns * 90);
        text += ", ";
        text += part;
    }
    if (view.inverted) {
        text += ", ";
        text += LoadStringResource(IDS_PREVIEW_INVERTED);
    }
    return text;
}

} // namespace brimwell
