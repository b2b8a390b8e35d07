#include "maintenance/CSetDateTimeDlg.h"

#include "maintenance/MaintenanceJobs.h"
#include "platform/Services.h"

#include <QPushButton>

namespace brimwell {

CSetDateTimeDlg::CSetDateTimeDlg(QWidget* pParent) : CFuncDlg(IDD_SET_DATE_TIME, pParent) {}

bool CSetDateTimeDlg::OnInitDialog() {
    if (auto* send = GetItem<QPushButton>(IDC_SEND_DATE_TIME)) {
        connect(send, &QPushButton::clicked, this, [this] { OnSendDateTime(); });
    }
    return true;
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
    if (auto* send = GetItem<QPushButton>(IDC_SEND_DATE_TIME)) {
        send->setEnabled(bAvailable);
    }
}

} // namespace brimwell
