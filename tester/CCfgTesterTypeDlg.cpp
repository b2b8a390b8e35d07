#include "tester/CCfgTesterTypeDlg.h"

#include "tester/ConfigJob.h"
#include "tester/TesterCatalogue.h"
#include "tester/UserNameCodec.h"

#include <QLineEdit>
#include <QPushButton>

namespace brimwell {

CCfgTesterTypeDlg::CCfgTesterTypeDlg(QWidget* pParent) : CFuncDlg(IDD_CFG_TESTER_TYPE, pParent) {}

bool CCfgTesterTypeDlg::OnInitDialog() {
    FillTesterList();
    if (auto* edit = GetItem<QLineEdit>(IDC_USER_NAME)) {
        edit->setText(QString());
        edit->setMaxLength(static_cast<int>(kUserNameMaxChars));
    }
    if (auto* send = GetItem<QPushButton>(IDC_SEND_CONFIGURATION)) {
        connect(send, &QPushButton::clicked, this, [this] { OnSendConfiguration(); });
    }
    return true;
}

void CCfgTesterTypeDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    if (QWidget* send = GetDlgItem(IDC_SEND_CONFIGURATION)) {
        send->setEnabled(bAvailable);
    }
}

void CCfgTesterTypeDlg::OnTesterTypeChange(CFuncDlg* pSource, int nIndex) {
    CFuncDlg::OnTesterTypeChange(pSource, nIndex);
    SyncTesterList(pSource, nIndex);
    m_bUserNameApplies = TesterUsesUserName(nIndex);
    for (int id : {IDC_USER_NAME_CAPTION, IDC_USER_NAME}) {
        if (QWidget* control = GetDlgItem(id)) {
            control->setVisible(m_bUserNameApplies);
        }
    }
}

void CCfgTesterTypeDlg::OnSendConfiguration() {
    // Text left in the hidden box belongs to no tester type that prints it: never sent.
    std::string userName;
    if (m_bUserNameApplies) {
        if (auto* edit = GetItem<QLineEdit>(IDC_USER_NAME)) {
            userName = UserNameToPrinterBytes(edit->text().toStdString());
        }
    }
    SendJob(JOB_CONFIRM_POWER_CYCLE, BuildConfigJob(TesterMode(m_nTesterIndex), userName));
}

} // namespace brimwell
