#pragma once

class QFrame;

namespace brimwell {

// Keeps the styled frame of a scroll view (the function list, the text view) whole at
// fractional device pixel ratios. There Qt rounds each widget's edges to device pixels on its
// own, so the style's one-pixel frame, drawn in logical pixels, can fall just outside the
// widget's pixels or under its viewport. At such ratios the frame is drawn by the style in device
// pixels instead, on the widget's outermost pixels, with the base colour between it and the
// viewport. At whole ratios the style draws it as always.
void KeepFrameOnDevicePixels(QFrame* frame);

} // namespace brimwell
