#pragma once
#include "printer/CFuncDlg.h"

namespace brimwell {

// The "Configure Tester Type" page: the tester list shared with the test-label page, the
// user-name box of the one tester type that prints a user name, and the button that stores
// "MODE.MOD" on the printer.
class CCfgTesterTypeDlg : public CFuncDlg {
public:
    explicit CCfgTesterTypeDlg(IPageHost* pParent);

    void OnPrinterAvailability(bool bAvailable) override;
    void OnTesterTypeChange(CFuncDlg* pSource, int nIndex) override;
    void OnCommand(int nID, Notify code) override;

    // Whether the selected tester type prints a user name; follows the tester index from
    // the page's initialisation on.
    bool m_bUserNameApplies = true;

protected:
    bool OnInitDialog() override;

private:
    // IDC_SEND_CONFIGURATION: sends the configuration job for the selected tester type.
    void OnSendConfiguration();
};

} // namespace brimwell
