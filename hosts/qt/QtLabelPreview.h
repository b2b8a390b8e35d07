#pragma once
#include "logo/LabelPreviewCtrl.h"
#include "ui/Dialog.h"

#include <QImage>
#include <QWidget>
#include <vector>

namespace brimwell {

// The label preview control: carries out the drawing steps the logo page hands it, with the
// logo as a picture made once per change, not per paint.
class QtLabelPreview : public QWidget, public ILabelPreviewCtrl {
    Q_OBJECT
public:
    explicit QtLabelPreview(QWidget* parent = nullptr);

    PreviewTextExtents LabelTextExtents() const override;
    void SetSteps(std::vector<PreviewStep> steps, const CLogoFmtHandler* logo) override;

    const std::vector<PreviewStep>& Steps() const { return m_steps; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<PreviewStep> m_steps;
    QImage m_image; // the holder's picture, converted for drawing
};

} // namespace brimwell
