#pragma once
#include "resources/DialogTemplates.h"

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QWidget>

namespace brimwell {

// The dialog base units of a font, as the Windows dialog manager computes them: x is the
// average width of the 52 Latin letters, rounded; y is the font's height. One horizontal
// dialog unit is x/4 pixels, one vertical unit y/8 pixels.
struct DialogBaseUnits {
    int x = 6;
    int y = 13;
};

// The base units the templates are laid out in: those of Windows' dialog font ("MS Shell
// Dlg", 8 points at 96 dots per inch). The builder places controls in these units rather than
// in the units of this system's font, whose line is a pixel lower (6 x 12): pictures and
// controls then get the pixel sizes the templates were made for, and the welcome picture
// shows whole.
inline constexpr DialogBaseUnits kTemplateBaseUnits{6, 13};

DialogBaseUnits BaseUnitsFromMetrics(int widthOf52Letters, int fontHeight);
DialogBaseUnits BaseUnitsForFont(const QFont& font);

// MulDiv: a * b / c rounded to the nearest integer (halves away from zero).
int MulDiv(int a, int b, int c);
QRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy);

// The font a template names, mapped onto this system: the Windows dialog faces become the
// platform's sans-serif face, at the template's point size.
QFont DialogFont(const DialogTemplate& tmpl);

// Fills `dialog` with the template's controls, placed in the template base units and drawn
// in the dialog font, and gives the dialog the template's size. Each control carries its id for
// GetDlgItem.
void BuildDialog(QWidget* dialog, const DialogTemplate& tmpl);

// The direct child control with this id, or nullptr when the dialog has none.
QWidget* GetDlgItem(const QWidget* dialog, int id);
// The control id of a control the builder made; IDC_STATIC for any other widget.
int DlgItemId(const QWidget* control);

template <class T>
T* GetDlgItemAs(const QWidget* dialog, int id) {
    return qobject_cast<T*>(GetDlgItem(dialog, id));
}

// The Windows mnemonic convention: "&&" shows one ampersand, a single "&" marks a mnemonic.
QString StaticTextFromTemplate(const std::string& text);
// Gives a static text control `text` in that convention; the text as given stays readable
// through the property kStaticTextProperty.
inline constexpr const char* kStaticTextProperty = "dlgText";
// A label's buddy (the control it names) is renamed with it.
void SetStaticText(QLabel* label, const std::string& text);

// The widget a screen reader names for control `control`: the edit of a browse edit, else the
// control itself.
QWidget* AccessibleTarget(QWidget* control);

} // namespace brimwell
