#include "app/PageFactory.h"

#include "app/CBrimwellDlg.h"
#include "resources/DialogTemplates.h"
#include "tester/CCfgTesterTypeDlg.h"
#include "tester/CGenTstLblDlg.h"

namespace brimwell {

CFuncDlg* CreatePage(int nDialogId, int nPageArg, CBrimwellDlg* pParent) {
    (void)pParent;
    (void)nPageArg;
    switch (nDialogId) {
    case IDD_CFG_TESTER_TYPE: {
        auto* page = new CCfgTesterTypeDlg(pParent);
        page->m_bUserNameApplies = true;
        return page;
    }
    case IDD_GEN_TEST_LABEL:
        return new CGenTstLblDlg(pParent);
    default:
        return nullptr;
    }
}

} // namespace brimwell
