#include "info/CWelcomeDlg.h"

#include "resources/DialogTemplates.h"

namespace brimwell {

CWelcomeDlg::CWelcomeDlg(QWidget* pParent) : CFuncDlg(IDD_WELCOME, pParent) {}

} // namespace brimwell
