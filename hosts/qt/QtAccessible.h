#pragma once

class QComboBox;

namespace brimwell {

// Makes the host's controls read as a screen reader needs them (installed once, before the
// first control is built): the label preview is a picture with a description, and a combo box
// is named by its label, its current entry being its value (Qt's own combo box interface on
// this system names it by the entry).
void InstallAccessibleFactory();

// Selects the combo box's chosen entry in its list of entries, where a screen reader finds it
// while the list is closed (Qt selects it there only when the list opens). The host calls it
// after every choice, the user's and the program's (which it makes with signals blocked).
void SelectChosenEntryInList(QComboBox& combo);

} // namespace brimwell
