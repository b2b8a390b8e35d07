#include "hosts/qt/QtLabelPreview.h"

#include "draw/LabelPreviewPainter.h"

#include <QPainter>

namespace brimwell {

QtLabelPreview::QtLabelPreview(QWidget* parent) : QWidget(parent) {
    // Every paint covers the whole control, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PreviewTextExtents QtLabelPreview::LabelTextExtents() const {
    return PreviewFonts::Get().extents;
}

void QtLabelPreview::SetSteps(std::vector<PreviewStep> steps, const CLogoFmtHandler* logo) {
    m_steps = std::move(steps);
    m_image = logo ? LogoPreviewImage(*logo) : QImage();
    update();
}

void QtLabelPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintLabelPreview(painter, m_steps, m_image, PreviewInk());
}

} // namespace brimwell
