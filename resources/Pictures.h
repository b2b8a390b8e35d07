#pragma once
#include <QPixmap>

namespace brimwell {

// A picture resource (:/pictures/<id>.png), drawn from its SVG source at build time: a PNG file
// of 8-bit RGB without alpha. It is decoded (by Qt's own PNG reader) on the first call for that
// picture and ratio, into an opaque pixmap (RGB32 pixels), and kept: later calls give the same
// pixmap without decoding again. A missing or damaged resource gives a null pixmap.
// For a device pixel ratio above 1 it is the picture drawn at twice the size
// (:/pictures/<id>@2x.png), with a device pixel ratio of 2, so that it covers the same logical
// size and stays sharp; only that one is read. For the window's thread only (pixmaps are).
QPixmap LoadPicture(int nResourceId, qreal devicePixelRatio = 1);

// Starts decoding the picture LoadPicture(nResourceId, devicePixelRatio) will want on a thread
// of its own, so that the window's thread builds the window meanwhile and the call then only
// waits for what is left. For the picture the first frame shows; calling it again, or for a
// picture already loaded, does nothing.
void PrefetchPicture(int nResourceId, qreal devicePixelRatio = 1);

} // namespace brimwell
