#include "tester/CGenTstLblDlg.h"

#include "platform/Services.h"
#include "tester/TesterCatalogue.h"

#include <QPushButton>

namespace brimwell {

CGenTstLblDlg::CGenTstLblDlg(QWidget* pParent) : CFuncDlg(IDD_GEN_TEST_LABEL, pParent) {}

bool CGenTstLblDlg::OnInitDialog() {
    if (auto* pass = GetItem<QPushButton>(IDC_PASS_LABEL)) {
        connect(pass, &QPushButton::clicked, this, [this] { OnGenerateLabel(TestResult::Pass); });
    }
    if (auto* fail = GetItem<QPushButton>(IDC_FAIL_LABEL)) {
        connect(fail, &QPushButton::clicked, this, [this] { OnGenerateLabel(TestResult::Fail); });
    }
    FillTesterList();
    return true;
}

void CGenTstLblDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    for (int id : {IDC_PASS_LABEL, IDC_FAIL_LABEL}) {
        if (QWidget* button = GetDlgItem(id)) {
            button->setEnabled(bAvailable);
        }
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
