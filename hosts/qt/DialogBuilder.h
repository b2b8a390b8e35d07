#pragma once
#include "resources/DialogTemplates.h"
#include "resources/DialogUnits.h"

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QWidget>

namespace brimwell {

// The base units of `font` as this system measures it (resources/DialogUnits.h).
DialogBaseUnits BaseUnitsForFont(const QFont& font);

// The font a template names, mapped onto this system: the Windows dialog faces become the
// platform's sans-serif face, at the template's point size.
QFont DialogFont(const DialogTemplate& tmpl);

// Fills `dialog` with the template's controls, placed in the template base units
// (kTemplateBaseUnits: Windows' 6 x 13 rather than the units of this system's font, whose line
// is a pixel lower, so that pictures and controls get the pixel sizes the templates were made
// for and the welcome picture shows whole) and drawn in the dialog font, and gives the dialog the
// template's size. Each control carries its id for GetDlgItem.
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

// Gives `control` its accessible name; a combo box's drop-down list gets the same, since a
// screen reader announces the list on its own when it opens.
void SetAccessibleNameOf(QWidget* control, const QString& name);

} // namespace brimwell
