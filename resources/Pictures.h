#pragma once
#include <QPixmap>

namespace brimwell {

// A picture resource (:/pictures/<id>.xrgb), drawn from its SVG source at build time: the
// width and the height as 32-bit numbers, then the rows top-down with one 32-bit 0xffRRGGBB
// per pixel, in the byte order of the machine that built it. Loading copies it into a pixmap
// without decoding anything. A missing or malformed resource gives a null pixmap.
QPixmap LoadPicture(int nResourceId);

} // namespace brimwell
