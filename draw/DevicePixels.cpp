#include "draw/DevicePixels.h"

#include <QPainter>
#include <cmath>

namespace brimwell {

QRect DevicePixelRect(const QTransform& toDevice, const QRect& logical) {
    const QRectF device = toDevice.mapRect(QRectF(logical));
    const QPoint topLeft(qRound(device.left()), qRound(device.top()));
    const QPoint end(qRound(device.right()), qRound(device.bottom()));
    return QRect(topLeft, end - QPoint(1, 1));
}

bool IsWholePixelShift(const QTransform& toDevice) {
    const auto whole = [](qreal v) { return std::abs(v - std::round(v)) < 1e-9; };
    return toDevice.type() <= QTransform::TxTranslate && whole(toDevice.dx()) &&
           whole(toDevice.dy());
}

QTransform PaintInDevicePixels(QPainter& painter) {
    painter.resetTransform();
    const QTransform toDevice = painter.deviceTransform();
    painter.setWorldTransform(toDevice.inverted());
    return toDevice;
}

void DrawDevicePixelOutline(QPainter& painter, const QRect& logical, const QColor& colour) {
    if (logical.isEmpty()) {
        return;
    }
    painter.save();
    const QTransform world = painter.worldTransform();
    const QTransform toDevice = PaintInDevicePixels(painter);
    const QRect r = DevicePixelRect(world * toDevice, logical);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
    painter.restore();
}

} // namespace brimwell
