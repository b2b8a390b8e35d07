#include "app/PageFactory.h"

#include "app/CBrimwellDlg.h"
#include "info/CTextInfoDlg.h"
#include "info/CWelcomeDlg.h"
#include "logo/CCfgLogoDlg.h"
#include "maintenance/CSetDateTimeDlg.h"
#include "maintenance/CSetDensityDlg.h"
#include "maintenance/CUpdateFirmwareDlg.h"
#include "resources/DialogTemplates.h"
#include "tester/CCfgTesterTypeDlg.h"
#include "tester/CGenTstLblDlg.h"

#include <new>

namespace brimwell {

// A page that cannot be allocated leaves its slot empty, as a row without a page class.
CFuncDlg* CreatePage(int nDialogId, int nPageArg, CBrimwellDlg* pParent) {
    switch (nDialogId) {
    case IDD_WELCOME:
        return new (std::nothrow) CWelcomeDlg(pParent);
    case IDD_TEXT_INFO: {
        auto* page = new (std::nothrow) CTextInfoDlg(pParent);
        if (page) {
            page->m_nTextIndex = nPageArg;
        }
        return page;
    }
    case IDD_CFG_LOGO:
        return new (std::nothrow) CCfgLogoDlg(pParent, nPageArg);
    case IDD_SET_DENSITY:
        return new (std::nothrow) CSetDensityDlg(pParent);
    case IDD_SET_DATE_TIME:
        return new (std::nothrow) CSetDateTimeDlg(pParent);
    case IDD_UPDATE_FIRMWARE:
        return new (std::nothrow) CUpdateFirmwareDlg(pParent);
    case IDD_CFG_TESTER_TYPE: {
        auto* page = new (std::nothrow) CCfgTesterTypeDlg(pParent);
        if (page) {
            page->m_bUserNameApplies = true;
        }
        return page;
    }
    case IDD_GEN_TEST_LABEL:
        return new (std::nothrow) CGenTstLblDlg(pParent);
    default:
        return nullptr;
    }
}

} // namespace brimwell
