#include "app/CBrimwellApp.h"

#include "app/CBrimwellDlg.h"

namespace brimwell {

bool CBrimwellApp::InitInstance() {
    CBrimwellDlg dlg;
    dlg.exec();
    return false;
}

} // namespace brimwell
