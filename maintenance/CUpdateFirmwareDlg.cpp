#include "maintenance/CUpdateFirmwareDlg.h"

#include "maintenance/FirmwareFilter.h"
#include "platform/Services.h"
#include "platform/qt/EditBrowseCtrl.h"

#include <QFile>
#include <QPushButton>

namespace brimwell {
namespace {

// A path typed in the window, as the file system spells it.
std::string FileSystemPath(const std::string& text) {
    return QFile::encodeName(QString::fromStdString(text)).toStdString();
}

} // namespace

CUpdateFirmwareDlg::CUpdateFirmwareDlg(QWidget* pParent) : CFuncDlg(IDD_UPDATE_FIRMWARE, pParent) {}

std::string CUpdateFirmwareDlg::FileText() const {
    const auto* edit = GetItem<CEditBrowseCtrl>(IDC_FIRMWARE_FILE);
    return edit ? edit->text().toStdString() : std::string();
}

bool CUpdateFirmwareDlg::OnInitDialog() {
    if (auto* edit = GetItem<CEditBrowseCtrl>(IDC_FIRMWARE_FILE)) {
        edit->EnableFileBrowseButton("", kFileFilter);
        connect(edit, &CEditBrowseCtrl::textChanged, this, [this] { UpdateFileState(); });
    }
    if (auto* send = GetItem<QPushButton>(IDC_SEND_FIRMWARE)) {
        connect(send, &QPushButton::clicked, this, [this] { OnSendFirmware(); });
    }
    UpdateFileState();
    return true;
}

void CUpdateFirmwareDlg::UpdateFileState() {
    const bool usable = GetItem<CEditBrowseCtrl>(IDC_FIRMWARE_FILE) &&
                        GetServices().fileSource->IsRegularFile(FileSystemPath(FileText()));
    if (QWidget* status = GetDlgItem(IDC_FIRMWARE_STATUS)) {
        status->setVisible(!usable);
    }
    if (auto* send = GetItem<QPushButton>(IDC_SEND_FIRMWARE)) {
        send->setEnabled(usable && m_bPrinterAvailable);
    }
}

void CUpdateFirmwareDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    UpdateFileState();
}

void CUpdateFirmwareDlg::OnSendFirmware() {
    const std::string text = FileText();
    // The file is read whole and closed before the printer is asked for.
    const FirmwareFile firmware = ReadFirmwareFile(*GetServices().fileSource, FileSystemPath(text));
    if (firmware.status != FirmwareStatus::Ok) {
        GetServices().messageBox->Show(FirmwareStatusMessage(firmware.status, text), MsgIcon::Error,
                                       MsgButtons::Ok);
        return;
    }
    SendJob(JOB_CONFIRM_POWER_CYCLE, FirmwareJob(firmware.content));
}

} // namespace brimwell
