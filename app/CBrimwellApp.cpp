#include "app/CBrimwellApp.h"

#include "app/CBrimwellDlg.h"

namespace brimwell {

bool CBrimwellApp::InitInstance() {
    CBrimwellDlg dlg;
    m_pfnRunModal(dlg); // the result is not examined
    return false;
}

} // namespace brimwell
