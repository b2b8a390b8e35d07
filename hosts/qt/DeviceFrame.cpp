#include "hosts/qt/DeviceFrame.h"

#include "draw/DevicePixels.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace brimwell {
namespace {

class DeviceFrameFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* frame = qobject_cast<QFrame*>(watched);
        if (event->type() != QEvent::Paint || !frame ||
            frame->frameShape() != QFrame::StyledPanel) {
            return false;
        }
        QPainter painter(frame);
        const QTransform toDevice = PaintInDevicePixels(painter);
        if (IsWholePixelShift(toDevice)) {
            return false; // the frame's own paint event draws it
        }
        QStyleOptionFrame option;
        option.initFrom(frame);
        option.rect = DevicePixelRect(toDevice, frame->rect());
        option.frameShape = frame->frameShape();
        option.lineWidth = frame->lineWidth();
        option.midLineWidth = frame->midLineWidth();
        if (frame->frameShadow() == QFrame::Sunken) {
            option.state |= QStyle::State_Sunken;
        } else if (frame->frameShadow() == QFrame::Raised) {
            option.state |= QStyle::State_Raised;
        }
        painter.fillRect(option.rect, frame->palette().brush(QPalette::Base));
        frame->style()->drawPrimitive(QStyle::PE_Frame, &option, &painter, frame);
        return true;
    }
};

} // namespace

void KeepFrameOnDevicePixels(QFrame* frame) {
    frame->installEventFilter(new DeviceFrameFilter(frame));
}

} // namespace brimwell
