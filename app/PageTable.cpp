#include "app/PageTable.h"

#include "text/Translate.h"

#include "info/CTextInfoDlg.h"
#include "info/CWelcomeDlg.h"
#include "logo/CCfgLogoDlg.h"
#include "maintenance/CSetDensityDlg.h"
#include "maintenance/CUpdateFirmwareDlg.h"
#include "resources/DialogTemplates.h"
#include "tester/CCfgTesterTypeDlg.h"
#include "tester/CGenTstLblDlg.h"

namespace brimwell {

namespace {

// A help page: the row's argument says which of the texts it shows.
CFuncDlg* NewTextInfoPage(const PageRow& row, IPageHost* host) {
    auto* page = new (std::nothrow) CTextInfoDlg(host);
    if (page) {
        page->m_nTextIndex = row.pageArg;
    }
    return page;
}

} // namespace

// The printer's clock page (IDD_SET_DATE_TIME, CSetDateTimeDlg) has its class and template but
// no row: the window does not offer it to users (brimwell-cli's `clock` command sends the same
// job). It is kept whole, so that the row
//     {N_("Set Printer Clock"), IDD_SET_DATE_TIME, 0, &NewPage<CSetDateTimeDlg>}
// shows it like any other page, as the page tests do.
const PageTable& FunctionPages() {
    static const PageTable rows = {
        {N_("Welcome"), IDD_WELCOME, 0, &NewPage<CWelcomeDlg>},
        {N_("About Brimwell"), IDD_TEXT_INFO, 0, &NewTextInfoPage},
        {N_("Help : Connecting a Printer"), IDD_TEXT_INFO, 1, &NewTextInfoPage},
        {N_("Help : Updating Firmware"), IDD_TEXT_INFO, 2, &NewTextInfoPage},
        {N_("Help : Creating Logos"), IDD_TEXT_INFO, 3, &NewTextInfoPage},
        {N_("Update Printer Firmware"), IDD_UPDATE_FIRMWARE, 0, &NewPage<CUpdateFirmwareDlg>},
        {N_("Configure Tester Type"), IDD_CFG_TESTER_TYPE, 0, &NewPage<CCfgTesterTypeDlg>},
        {N_("Configure Print Density"), IDD_SET_DENSITY, 0, &NewPage<CSetDensityDlg>},
        {N_("Configure Pass Logo"), IDD_CFG_LOGO, 0, &NewPage<CCfgLogoDlg>, &CCfgLogoDlg::FitSize},
        {N_("Configure Fail Logo"), IDD_CFG_LOGO, 1, &NewPage<CCfgLogoDlg>, &CCfgLogoDlg::FitSize},
        {N_("Generate Test Label"), IDD_GEN_TEST_LABEL, 0, &NewPage<CGenTstLblDlg>},
    };
    return rows;
}

} // namespace brimwell
