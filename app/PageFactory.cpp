#include "app/PageFactory.h"

#include "app/CBrimwellDlg.h"
#include "info/CTextInfoDlg.h"
#include "info/CWelcomeDlg.h"
#include "maintenance/CSetDateTimeDlg.h"
#include "maintenance/CSetDensityDlg.h"
#include "resources/DialogTemplates.h"
#include "tester/CCfgTesterTypeDlg.h"
#include "tester/CGenTstLblDlg.h"

namespace brimwell {

CFuncDlg* CreatePage(int nDialogId, int nPageArg, CBrimwellDlg* pParent) {
    switch (nDialogId) {
    case IDD_WELCOME:
        return new CWelcomeDlg(pParent);
    case IDD_TEXT_INFO: {
        auto* page = new CTextInfoDlg(pParent);
        page->m_nTextIndex = nPageArg;
        return page;
    }
    case IDD_SET_DENSITY:
        return new CSetDensityDlg(pParent);
    case IDD_SET_DATE_TIME:
        return new CSetDateTimeDlg(pParent);
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
