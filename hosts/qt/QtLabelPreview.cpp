#include "hosts/qt/QtLabelPreview.h"

#include "draw/LabelPreviewPainter.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace brimwell {
namespace {

// A screen reader meets the preview as a picture, described by what it shows (the page sets
// the description).
QAccessibleInterface* PreviewAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("brimwell::QtLabelPreview") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

} // namespace

QtLabelPreview::QtLabelPreview(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(PreviewAccessible);
        return true;
    }();
    (void)installed;
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
