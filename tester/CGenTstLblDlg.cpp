#include "tester/CGenTstLblDlg.h"

#include "tester/TesterCatalogue.h"
#include "ui/Services.h"

namespace brimwell {

CGenTstLblDlg::CGenTstLblDlg(IPageHost* pParent) : CFuncDlg(IDD_GEN_TEST_LABEL, pParent) {}

bool CGenTstLblDlg::OnInitDialog() {
    FillTesterList();
    return true;
}

void CGenTstLblDlg::OnCommand(int nID, Notify code) {
    if (code == Notify::Clicked && (nID == IDC_PASS_LABEL || nID == IDC_FAIL_LABEL)) {
        OnGenerateLabel(nID == IDC_PASS_LABEL ? TestResult::Pass : TestResult::Fail);
        return;
    }
    CFuncDlg::OnCommand(nID, code);
}

void CGenTstLblDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    for (int id : {IDC_PASS_LABEL, IDC_FAIL_LABEL}) {
        Dialog().EnableItem(id, bAvailable);
    }
}

void CGenTstLblDlg::OnTesterTypeChange(CFuncDlg* pSource, int nIndex) {
    CFuncDlg::OnTesterTypeChange(pSource, nIndex);
    SyncTesterList(pSource, nIndex);
}

void CGenTstLblDlg::OnGenerateLabel(TestResult result) {
    // The clock is read once, so the date and time lines of one label always agree.
    const LocalDateTime now = GetServices().clock->Now();
    const std::string text = BuildTestLabel(result, TesterNameId(m_nTesterIndex), now);
    // A test label changes nothing on the printer: no question before it.
    SendJob(JOB_CONFIRM_NONE, text);
}

} // namespace brimwell
