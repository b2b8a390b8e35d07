#pragma once
#include <QColor>
#include <QRect>
#include <QTransform>

class QPainter;

namespace brimwell {

// The device pixels that a rectangle given in the painter's coordinates covers, with each edge
// rounded to the nearest pixel boundary as Qt rounds a widget's place on a scaled screen. For a
// widget's rect() these are exactly the pixels the widget may paint.
QRect DevicePixelRect(const QTransform& toDevice, const QRect& logical);

// Whether the transform only shifts by whole pixels: one logical pixel is one device pixel, as
// on a screen of device pixel ratio 1.
bool IsWholePixelShift(const QTransform& toDevice);

// Switches the painter to device pixels: until it is restored, (0, 0) is the device's first
// pixel and one unit is one device pixel. Returns the transform it had, logical to device.
QTransform PaintInDevicePixels(QPainter& painter);

// A one-pixel outline on the outermost device pixels of `logical` at any device pixel ratio: the
// same pixels as a cosmetic drawRect(x, y, width - 1, height - 1) at a ratio of 1.
void DrawDevicePixelOutline(QPainter& painter, const QRect& logical, const QColor& colour);

} // namespace brimwell
