#pragma once

class QFrame;

namespace brimwell {

// Keeps the styled frame of a scroll view (the function list, the text view) whole on its
// outermost device pixels at device pixel ratios above 1. There Qt rounds each widget's edges to
// device pixels on its own, so the style's one-pixel frame, drawn in logical pixels, can fall
// just outside the widget's pixels or under its viewport (at 1.5), or one pixel inside its edge
// (at 2). At such ratios the style draws the frame in device pixels instead, with the base colour
// between it and the viewport. At a ratio of 1 the frame is drawn as always.
void KeepFrameOnDevicePixels(QFrame* frame);

} // namespace brimwell
