#include "tester/CGenTstLblDlg.h"

#include "platform/Services.h"
#include "tester/TesterCatalogue.h"

#include <QComboBox>
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
    auto* list = GetItem<QComboBox>(IDC_TESTER_LIST);
    if (!list) {
        return true;
    }
    // One entry per row, named or not, so that a list position is a tester index.
    for (int i = 0; i < kTesterCount; ++i) {
        list->addItem(QString::fromUtf8(TesterDisplayName(i)));
    }
    OnTesterTypeChange(nullptr, m_nTesterIndex);
    // Only the user's choice changes the tester type, never a selection made from code.
    connect(list, &QComboBox::activated, this, [this] { OnTesterListSelChange(); });
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
    if (pSource != this) {
        if (auto* list = GetItem<QComboBox>(IDC_TESTER_LIST)) {
            list->setCurrentIndex(nIndex);
        }
    }
}

void CGenTstLblDlg::OnGenerateLabel(TestResult result) {
    // The clock is read once, so the date and time lines of one label always agree.
    const LocalDateTime now = GetServices().clock->Now();
    const std::string text = BuildTestLabel(result, TesterNameId(m_nTesterIndex), now);
    // A test label changes nothing on the printer: no question before it.
    if (OpenJob(JOB_CONFIRM_NONE)) {
        if (SpoolBytes(text.data(), static_cast<std::uint32_t>(text.size()))) {
            WriteJob();
        }
    }
    CloseJob(500);
}

} // namespace brimwell
