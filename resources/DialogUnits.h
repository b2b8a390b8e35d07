#pragma once
// Dialog units to pixels, as Windows' dialog manager converts them (MapDialogRect): one
// horizontal unit is a quarter of the dialog font's average character width, one vertical unit
// an eighth of its height. The Qt host and the fake host place the template's controls with
// this; the Win32 host leaves it to the system.

namespace brimwell {

// A rectangle in pixels of a dialog's client area; right and bottom are exclusive.
struct DlgRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    int Right() const { return x + cx; }
    int Bottom() const { return y + cy; }
    bool operator==(const DlgRect& o) const {
        return x == o.x && y == o.y && cx == o.cx && cy == o.cy;
    }
};

// The dialog base units of a font, as the dialog manager computes them: x is the average width
// of the 52 Latin letters, rounded; y is the font's height.
struct DialogBaseUnits {
    int x = 6;
    int y = 13;
};

// The base units the templates are laid out in: those of Windows' dialog font ("MS Shell
// Dlg", 8 points at 96 dots per inch).
inline constexpr DialogBaseUnits kTemplateBaseUnits{6, 13};

// The base units of a font whose 52 Latin letters are `widthOf52Letters` pixels wide and whose
// line is `fontHeight` pixels high; never less than 1 each.
DialogBaseUnits BaseUnitsFromMetrics(int widthOf52Letters, int fontHeight);

// The template rectangle (x, y, cx, cy in dialog units) in pixels of a dialog whose font has
// `units`: each value times the base unit over 4 (x, cx) or 8 (y, cy), rounded to the nearest
// pixel with halves away from zero.
DlgRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy);

} // namespace brimwell
