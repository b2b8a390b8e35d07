#pragma once
// The program's pictures (its BITMAP resources) and the picture statics that show them.
#include "resources/DialogTemplates.h"

#include <windows.h>

namespace brimwell {

// True for a template's picture static (a static with the Bitmap style).
inline bool IsPicture(const ControlTemplate& c) {
    return c.cls == CtlClass::Static && (c.style & CtlStyle::Bitmap);
}

// The picture resource `id` (a BITMAP resource of the program) as a DIB section, loaded once
// and kept for the life of the process; nullptr when it is missing.
HBITMAP LoadPictureDib(int id);

// Shows picture `imageId` in the picture static `hwnd` at the picture's own size (never
// scaled), and raises the static over what it overlaps (the banner over the about text).
void ShowPicture(HWND hwnd, int imageId);

} // namespace brimwell
