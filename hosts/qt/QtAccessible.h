#pragma once

namespace brimwell {

// Makes the host's controls read as a screen reader needs them (installed once, before the
// first control is built): the label preview is a picture with a description, and a combo box
// is named by its label, its current entry being its value (Qt's own combo box interface on
// this system names it by the entry).
void InstallAccessibleFactory();

} // namespace brimwell
