#pragma once
#include "logo/LabelPreview.h"

#include <vector>

namespace brimwell {

// The label preview of a logo page: the host measures the label texts in its own fonts and
// carries out the drawing steps (logo/LabelPreview) the logic computes.
class ILabelPreviewCtrl {
public:
    // The extent of each label text in this control's label font, in pixels.
    virtual PreviewTextExtents LabelTextExtents() const = 0;
    // Shows these steps from now on (and repaints); an Image step draws `logo`'s picture,
    // which the host takes afresh from the holder at this call.
    virtual void SetSteps(std::vector<PreviewStep> steps, const CLogoFmtHandler* logo) = 0;

protected:
    ~ILabelPreviewCtrl() = default;
};

} // namespace brimwell
