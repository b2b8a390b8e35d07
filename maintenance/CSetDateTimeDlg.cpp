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
    if (OpenJob(JOB_CONFIRM_PLAIN)) {
        // Read only now: the user may have taken a while to confirm, and opening the device
        // can take time too. The clock must get the time it is set at.
        const std::string job = ClockJob(GetServices().clock->Now());
        if (SpoolBytes(job.data(), static_cast<std::uint32_t>(job.size()))) {
            WriteJob();
        }
    }
    CloseJob(500);
}

void CSetDateTimeDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    if (auto* send = GetItem<QPushButton>(IDC_SEND_DATE_TIME)) {
        send->setEnabled(bAvailable);
    }
}

} // namespace brimwell
