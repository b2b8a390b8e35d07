#include "maintenance/CSetDateTimeDlg.h"

#include "maintenance/MaintenanceJobs.h"
#include "ui/Services.h"

namespace brimwell {

CSetDateTimeDlg::CSetDateTimeDlg(IPageHost* pParent) : CFuncDlg(IDD_SET_DATE_TIME, pParent) {}

void CSetDateTimeDlg::OnCommand(int nID, Notify code) {
    if (nID == IDC_SEND_DATE_TIME && code == Notify::Clicked) {
        OnSendDateTime();
        return;
    }
    CFuncDlg::OnCommand(nID, code);
}

void CSetDateTimeDlg::OnSendDateTime() {
    // The time is read only once the device is open: the user may have taken a while to
    // confirm, and opening the device can take time too. The clock must get the time it is
    // set at.
    SendJob(JOB_CONFIRM_PLAIN,
            []() -> std::optional<std::string> { return ClockJob(GetServices().clock->Now()); });
}

void CSetDateTimeDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    Dialog().EnableItem(IDC_SEND_DATE_TIME, bAvailable);
}

} // namespace brimwell
