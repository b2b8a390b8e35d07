#pragma once
#include "printer/CFuncDlg.h"

namespace brimwell {

// The welcome page (IDD_WELCOME): the welcome picture at its own size. The first function
// row, so it is what the user sees at start-up. It never talks to the printer.
class CWelcomeDlg : public CFuncDlg {
public:
    explicit CWelcomeDlg(IPageHost* pParent);
};

} // namespace brimwell
