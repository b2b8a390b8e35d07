#include "maintenance/CUpdateFirmwareDlg.h"

#include "maintenance/FirmwareFilter.h"
#include "resources/StringTable.h"
#include "ui/Services.h"

namespace brimwell {

CUpdateFirmwareDlg::CUpdateFirmwareDlg(IPageHost* pParent)
    : CFuncDlg(IDD_UPDATE_FIRMWARE, pParent) {}

bool CUpdateFirmwareDlg::OnInitDialog() {
    if (m_browse.SubclassDlgItem(IDC_FIRMWARE_FILE, *this)) {
        m_browse.EnableFileBrowseButton("", Tr(kFileFilter),
                                        LoadStringResource(IDS_BROWSE_FIRMWARE));
    }
    UpdateFileState();
    return true;
}

void CUpdateFirmwareDlg::OnCommand(int nID, Notify code) {
    if (nID == IDC_FIRMWARE_FILE && code == Notify::EditChanged) {
        UpdateFileState();
    } else if (nID == IDC_SEND_FIRMWARE && code == Notify::Clicked) {
        OnSendFirmware();
    } else {
        CFuncDlg::OnCommand(nID, code);
    }
}

void CUpdateFirmwareDlg::UpdateFileState() {
    IDialog& dialog = Dialog();
    // Paths are UTF-8 throughout, as the file source takes them.
    const bool usable = dialog.HasItem(IDC_FIRMWARE_FILE) &&
                        GetServices().fileSource->IsRegularFile(dialog.ItemText(IDC_FIRMWARE_FILE));
    dialog.ShowItem(IDC_FIRMWARE_STATUS, !usable);
    dialog.EnableItem(IDC_SEND_FIRMWARE, usable && m_bPrinterAvailable);
}

void CUpdateFirmwareDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    UpdateFileState();
}

void CUpdateFirmwareDlg::OnSendFirmware() {
    const std::string text = Dialog().ItemText(IDC_FIRMWARE_FILE);
    // The file is read whole and closed before the printer is asked for.
    const FirmwareFile firmware = ReadFirmwareFile(*GetServices().fileSource, text);
    if (firmware.status != FirmwareStatus::Ok) {
        GetServices().messageBox->Show(FirmwareStatusMessage(firmware.status, text), MsgIcon::Error,
                                       MsgButtons::Ok);
        return;
    }
    SendJob(JOB_CONFIRM_POWER_CYCLE, FirmwareJob(firmware.content));
}

} // namespace brimwell
