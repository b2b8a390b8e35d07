#include "tester/CCfgTesterTypeDlg.h"

#include "tester/ConfigJob.h"
#include "tester/TesterCatalogue.h"
#include "tester/UserNameCodec.h"

namespace brimwell {

CCfgTesterTypeDlg::CCfgTesterTypeDlg(IPageHost* pParent) : CFuncDlg(IDD_CFG_TESTER_TYPE, pParent) {}

bool CCfgTesterTypeDlg::OnInitDialog() {
    FillTesterList();
    IDialog& dialog = Dialog();
    if (dialog.HasItem(IDC_USER_NAME)) {
        dialog.SetItemText(IDC_USER_NAME, "");
        dialog.LimitText(IDC_USER_NAME, static_cast<int>(kUserNameMaxChars));
        // One line of printable text, whatever is typed or pasted.
        dialog.SetTextFilter(IDC_USER_NAME, &KeepUserNameOneLine);
    }
    return true;
}

void CCfgTesterTypeDlg::OnCommand(int nID, Notify code) {
    if (nID == IDC_SEND_CONFIGURATION && code == Notify::Clicked) {
        OnSendConfiguration();
        return;
    }
    CFuncDlg::OnCommand(nID, code);
}

void CCfgTesterTypeDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    Dialog().EnableItem(IDC_SEND_CONFIGURATION, bAvailable);
}

void CCfgTesterTypeDlg::OnTesterTypeChange(CFuncDlg* pSource, int nIndex) {
    CFuncDlg::OnTesterTypeChange(pSource, nIndex);
    SyncTesterList(pSource, nIndex);
    m_bUserNameApplies = TesterUsesUserName(nIndex);
    for (int id : {IDC_USER_NAME_CAPTION, IDC_USER_NAME}) {
        Dialog().ShowItem(id, m_bUserNameApplies);
    }
}

void CCfgTesterTypeDlg::OnSendConfiguration() {
    // Text left in the hidden box belongs to no tester type that prints it: never sent.
    std::string userName;
    if (m_bUserNameApplies && Dialog().HasItem(IDC_USER_NAME)) {
        userName = UserNameToPrinterBytes(Dialog().ItemText(IDC_USER_NAME));
    }
    SendJob(JOB_CONFIRM_POWER_CYCLE, BuildConfigJob(TesterMode(m_nTesterIndex), userName));
}

} // namespace brimwell
