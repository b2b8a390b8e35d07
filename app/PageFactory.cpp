#include "app/PageFactory.h"

#include "app/CBrimwellDlg.h"
#include "maintenance/CSetDateTimeDlg.h"
#include "maintenance/CSetDensityDlg.h"
#include "resources/DialogTemplates.h"

namespace brimwell {

CFuncDlg* CreatePage(int nDialogId, int nPageArg, CBrimwellDlg* pParent) {
    (void)nPageArg;
    switch (nDialogId) {
    case IDD_SET_DENSITY:
        return new CSetDensityDlg(pParent);
    case IDD_SET_DATE_TIME:
        return new CSetDateTimeDlg(pParent);
    default:
        return nullptr;
    }
}

} // namespace brimwell
