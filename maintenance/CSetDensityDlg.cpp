#include "maintenance/CSetDensityDlg.h"

#include "maintenance/MaintenanceJobs.h"

#include <algorithm>
#include <string>

namespace brimwell {

CSetDensityDlg::CSetDensityDlg(IPageHost* pParent) : CFuncDlg(IDD_SET_DENSITY, pParent) {}

bool CSetDensityDlg::OnInitDialog() {
    IDialog& dialog = Dialog();
    if (dialog.HasItem(IDC_DENSITY_SLIDER)) {
        dialog.SetTrackRange(IDC_DENSITY_SLIDER, kDensityMin, kDensityMax);
        // A trackbar pages by a fifth of its range.
        dialog.SetTrackPageSize(IDC_DENSITY_SLIDER, std::max(1, (kDensityMax - kDensityMin) / 5));
        dialog.SetTrackPos(IDC_DENSITY_SLIDER, kDensityDefault);
    }
    if (dialog.HasItem(IDC_DENSITY_VALUE)) {
        dialog.SetItemText(IDC_DENSITY_VALUE, std::to_string(kDensityDefault));
        // The template puts the label's centre 2.5 dialog units left of the slider's; centred
        // on the slider, the value stands right under the thumb's middle position.
        if (dialog.HasItem(IDC_DENSITY_SLIDER)) {
            const DlgRect slider = dialog.ItemRect(IDC_DENSITY_SLIDER);
            DlgRect box = dialog.ItemRect(IDC_DENSITY_VALUE);
            // Centres on the middle pixel (the left one of two middle pixels).
            box.x = slider.x + (slider.cx - 1) / 2 - (box.cx - 1) / 2;
            dialog.MoveItem(IDC_DENSITY_VALUE, box);
        }
    }
    return true;
}

void CSetDensityDlg::OnCommand(int nID, Notify code) {
    if (nID == IDC_SEND_DENSITY && code == Notify::Clicked) {
        OnSendDensity();
        return;
    }
    CFuncDlg::OnCommand(nID, code);
}

void CSetDensityDlg::OnHScroll(int nID, int nPos) {
    if (nID != IDC_DENSITY_SLIDER || !Dialog().HasItem(IDC_DENSITY_SLIDER)) {
        return;
    }
    Dialog().SetItemText(IDC_DENSITY_VALUE, std::to_string(nPos));
}

int CSetDensityDlg::DensityValue() const {
    const IDialog& dialog = Dialog();
    return dialog.HasItem(IDC_DENSITY_SLIDER) ? dialog.GetTrackPos(IDC_DENSITY_SLIDER)
                                              : kDensityDefault;
}

void CSetDensityDlg::OnSendDensity() {
    // The slider is read here, on the window's thread; the job carries the value.
    if (const std::optional<std::string> job = DensityJob(DensityValue())) {
        SendJob(JOB_CONFIRM_PLAIN, *job);
    }
}

void CSetDensityDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    Dialog().EnableItem(IDC_SEND_DENSITY, bAvailable);
}

} // namespace brimwell
