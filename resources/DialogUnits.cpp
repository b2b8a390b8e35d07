#include "resources/DialogUnits.h"

#include <algorithm>
#include <cstdlib>

namespace brimwell {
namespace {

// v * base / divisor rounded to the nearest integer, halves away from zero (MulDiv).
int Scale(int v, int base, int divisor) {
    const long long product = static_cast<long long>(v) * base;
    const long long magnitude = (std::llabs(product) + divisor / 2) / divisor;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

} // namespace

DialogBaseUnits BaseUnitsFromMetrics(int widthOf52Letters, int fontHeight) {
    return {std::max(1, (widthOf52Letters / 26 + 1) / 2), std::max(1, fontHeight)};
}

DlgRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return {Scale(x, units.x, 4), Scale(y, units.y, 8), Scale(cx, units.x, 4),
            Scale(cy, units.y, 8)};
}

} // namespace brimwell
