#pragma once
// The window logic speaks device-independent pixels (96 to the inch), as the Qt host does; a
// Win32 window of a per-monitor aware program has physical pixels, as many to the inch as its
// monitor's DPI. These convert between the two.
#include <windows.h>

namespace brimwell {

inline constexpr int kDipsPerInch = 96;

// The DPI of `hwnd`'s monitor (GetDpiForWindow where the system has it, else the screen's
// LOGPIXELSX); 96 when neither answers.
int WindowDpi(HWND hwnd);

// A system metric (an icon's size) at `dpi` (GetSystemMetricsForDpi where the system has it,
// else the system's own).
int SystemMetricAtDpi(int index, int dpi);

// Device-independent to physical pixels at `dpi`, and back; rounded to the nearest pixel,
// halves away from zero (MulDiv). Places and sizes are converted alike, so that a size the
// logic asks for (the preview's 610 x 380) is the same number of physical pixels wherever
// the control stands.
int PhysicalFromDip(int dip, int dpi);
int DipFromPhysical(int physical, int dpi);

// The physical coordinate for `dip`, keeping `current` where it already stands for `dip`:
// a value read from the window and written back unchanged moves nothing.
int PhysicalFromDipKeepingCurrent(int dip, int current, int dpi);

// The factor a picture that must stay sharp (the logo, dot for dot) is drawn with at `dpi`:
// the whole part of dpi / 96, at least 1, so that it never outgrows the room the logic laid
// out for it in device-independent pixels.
int WholePictureScale(int dpi);

} // namespace brimwell
