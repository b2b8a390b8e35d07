#pragma once
#include <QPixmap>

namespace brimwell {

// A picture resource (:/pictures/<id>.xrgb), drawn from its SVG source at build time: the
// width and the height as 32-bit numbers, then the rows top-down with one 32-bit 0xffRRGGBB
// per pixel, in the byte order of the machine that built it. Loading copies it into a pixmap
// without decoding anything. A missing or malformed resource gives a null pixmap.
// For a device pixel ratio above 1 it is the picture drawn at twice the size
// (:/pictures/<id>@2x.xrgb), with a device pixel ratio of 2, so that it covers the same logical
// size and stays sharp; only that one is read.
QPixmap LoadPicture(int nResourceId, qreal devicePixelRatio = 1);

} // namespace brimwell
