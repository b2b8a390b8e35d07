#pragma once

namespace brimwell {

class CFuncDlg;
class CBrimwellDlg;

// The page class of a dialog id, constructed with the main window as parent; nullptr for an
// id no page class uses (the function row then lists its title with no page).
CFuncDlg* CreatePage(int nDialogId, int nPageArg, CBrimwellDlg* pParent);

} // namespace brimwell
