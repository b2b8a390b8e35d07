#pragma once
// The program's pictures (PNG files kept as RCDATA resources) and the picture statics that
// show them.
#include "resources/DialogTemplates.h"

#include <windows.h>

namespace brimwell {

// True for a template's picture static (a static with the Bitmap style).
inline bool IsPicture(const ControlTemplate& c) {
    return c.cls == CtlClass::Static && (c.style & CtlStyle::Bitmap);
}

// The picture resource `id` (a PNG file in an RCDATA resource of the program) as a 24-bit DIB
// section, decoded (by WIC) on the first call for it and kept for the life of the process;
// nullptr when the resource is missing or is not a sound PNG.
HBITMAP LoadPictureDib(int id);

// The size in pixels of picture `id` as stored (the size it covers in device-independent
// pixels), read from its header without decoding it; {0, 0} when it is missing or damaged.
SIZE PictureSize(int id);

// The resource id of a picture drawn at twice its size (for screens above 96 DPI): the
// picture's id plus this.
inline constexpr int kDoubleSizePicture = 1000;

// Picture `id` as it covers its own size in device-independent pixels on a screen of `dpi`:
// the picture itself at 96 DPI, else the double-size one (or, missing, the picture) resampled
// to the physical size, made once per DPI and kept; nullptr when the picture is missing.
HBITMAP PictureForDpi(int id, int dpi);

// Shows picture `imageId` in the picture static `hwnd` at the picture's size in
// device-independent pixels at the static's DPI, and raises the static over what it overlaps
// (the banner over the about text).
void ShowPicture(HWND hwnd, int imageId);

} // namespace brimwell
