#pragma once
// The window logic and the preview steps speak device-independent pixels (96 to the inch), as
// the Qt host does; a Windows surface has physical pixels, as many to the inch as its DPI.
// These convert between the two, for the Win32 host and the GDI preview drawing alike.
#include <windows.h>

namespace brimwell {

inline constexpr int kDipsPerInch = 96;

// Device-independent to physical pixels at `dpi`, and back; rounded to the nearest pixel,
// halves away from zero (MulDiv). Places and sizes are converted alike, so that a size the
// logic asks for (the preview's 610 x 380) is the same number of physical pixels wherever
// the control stands. A DPI of 0 or less (none known) leaves the value as it is.
inline int PhysicalFromDip(int dip, int dpi) {
    return dpi == kDipsPerInch || dpi <= 0 ? dip : MulDiv(dip, dpi, kDipsPerInch);
}

inline int DipFromPhysical(int physical, int dpi) {
    return dpi == kDipsPerInch || dpi <= 0 ? physical : MulDiv(physical, kDipsPerInch, dpi);
}

} // namespace brimwell
