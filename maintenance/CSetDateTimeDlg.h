#pragma once
#include "printer/CFuncDlg.h"

namespace brimwell {

// The clock page (IDD_SET_DATE_TIME): sends the PC's local date and time to the printer's real-time
// clock, which the printer uses when it runs on its own.
class CSetDateTimeDlg : public CFuncDlg {
public:
    explicit CSetDateTimeDlg(IPageHost* pParent);

    void OnPrinterAvailability(bool bAvailable) override;
    void OnCommand(int nID, Notify code) override;

private:
    void OnSendDateTime();
};

} // namespace brimwell
