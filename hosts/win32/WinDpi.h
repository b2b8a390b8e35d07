#pragma once
// A Win32 window of a per-monitor aware program has physical pixels, as many to the inch as
// its monitor's DPI: that DPI, and the conversions the host needs beyond those of
// draw/WinDips.h.
#include "draw/WinDips.h"

#include <windows.h>

namespace brimwell {

// The DPI of `hwnd`'s monitor (GetDpiForWindow where the system has it, else the screen's
// LOGPIXELSX); 96 when neither answers.
int WindowDpi(HWND hwnd);

// A system metric (an icon's size) at `dpi` (GetSystemMetricsForDpi where the system has it,
// else the system's own).
int SystemMetricAtDpi(int index, int dpi);

// The physical coordinate for `dip`, keeping `current` where it already stands for `dip`:
// a value read from the window and written back unchanged moves nothing.
int PhysicalFromDipKeepingCurrent(int dip, int current, int dpi);

} // namespace brimwell
