#include "tester/CCfgTesterTypeDlg.h"

#include "tester/ConfigJob.h"
#include "tester/TesterCatalogue.h"
#include "tester/UserNameCodec.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace brimwell {

CCfgTesterTypeDlg::CCfgTesterTypeDlg(QWidget* pParent) : CFuncDlg(IDD_CFG_TESTER_TYPE, pParent) {}

bool CCfgTesterTypeDlg::OnInitDialog() {
    if (auto* list = GetItem<QComboBox>(IDC_TESTER_LIST)) {
        // Every row gets an entry, even one whose name is missing, so that a list position
        // is always a tester index.
        for (int i = 0; i < kTesterCount; ++i) {
            list->addItem(QString::fromUtf8(TesterDisplayName(i)));
        }
        OnTesterTypeChange(nullptr, m_nTesterIndex);
        // Only a choice of the user is a change of the tester type; selecting the entry
        // from code (above, and when another page changes it) is not.
        connect(list, &QComboBox::activated, this, [this] { OnTesterListSelChange(); });
    }
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
    if (pSource != this) {
        if (auto* list = GetItem<QComboBox>(IDC_TESTER_LIST)) {
            list->setCurrentIndex(nIndex);
        }
    }
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
    if (OpenJob(JOB_CONFIRM_POWER_CYCLE)) {
        const std::string payload = FormatModePayload(TesterMode(m_nTesterIndex), userName);
        if (SpoolPrintf(kConfigJobFormat, static_cast<int>(payload.size()), payload.c_str())) {
            WriteJob();
        }
    }
    CloseJob(500);
}

} // namespace brimwell
