#include "info/CWelcomeDlg.h"

#include "resources/DialogTemplates.h"

namespace brimwell {

CWelcomeDlg::CWelcomeDlg(IPageHost* pParent) : CFuncDlg(IDD_WELCOME, pParent) {}

} // namespace brimwell
