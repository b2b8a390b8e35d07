// Dialog units to pixels, as the Qt host and the fake host place the templates' controls.
#include "resources/DialogUnits.h"

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

TEST(DialogUnits, BaseUnitsFollowTheDialogManagersRounding) {
    struct Case {
        int width52, height, x, y;
    };
    const Case cases[] = {
        {312, 13, 6, 13}, // 52 letters 312 px wide: 12 px per pair of letters
        {337, 16, 6, 16}, // 337 / 26 = 12 (truncated), (12 + 1) / 2 = 6
        {364, 16, 7, 16}, // 14 -> 7
        {0, 0, 1, 1},     // never zero: every size stays positive
    };
    for (const Case& c : cases) {
        const DialogBaseUnits u = BaseUnitsFromMetrics(c.width52, c.height);
        EXPECT_EQ(u.x, c.x) << c.width52;
        EXPECT_EQ(u.y, c.y) << c.height;
    }
}

// Horizontal values are multiplied by x / 4, vertical ones by y / 8, each on its own and
// rounded to the nearest pixel, halves away from zero.
TEST(DialogUnits, EachEdgeIsConvertedOnItsOwnAxisAndRoundedToTheNearestPixel) {
    struct Case {
        DialogBaseUnits units;
        DlgRect in, out;
    };
    const Case cases[] = {
        {{6, 13}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {{6, 13}, {6, 16, 114, 114}, {9, 26, 171, 185}}, // the function list
        {{6, 13}, {0, 0, 565, 355}, {0, 0, 848, 577}},   // the main window
        {{6, 13}, {1, 5, 7, 4}, {2, 8, 11, 7}},          // 1.5, 8.125, 10.5 and 6.5
        {{6, 13}, {3, 12, 424, 1}, {5, 20, 636, 2}},     // 4.5, 19.5, 636 and 1.625
        {{6, 13}, {-7, -4, -1, -5}, {-11, -7, -2, -8}},  // halves away from zero below it too
        {{7, 16}, {3, 1, 2, 3}, {5, 2, 4, 6}},           // 5.25, 2, 3.5 and 6
        // Far beyond any template: no overflow of the product.
        {{6, 13}, {1000000001, 1000000000, 0, 0}, {1500000002, 1625000000, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogUnitsToPixels(c.units, c.in.x, c.in.y, c.in.cx, c.in.cy), c.out)
            << c.units.x << " x " << c.units.y << ": " << c.in.x << ", " << c.in.y << ", "
            << c.in.cx << ", " << c.in.cy;
    }
}

} // namespace
} // namespace brimwell::test
