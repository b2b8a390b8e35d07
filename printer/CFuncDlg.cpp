#include "printer/CFuncDlg.h"

#include "platform/Services.h"
#include "resources/DialogTemplates.h"
#include "tester/TesterCatalogue.h"

#include <QComboBox>
#include <QVariant>

namespace brimwell {

const char* ConfirmationText(int nConfirm) {
    switch (nConfirm) {
    case JOB_CONFIRM_PLAIN:
        return kConfirmPlain;
    case JOB_CONFIRM_POWER_CYCLE:
        return kConfirmPowerCycle;
    default:
        return nullptr;
    }
}

CFuncDlg::CFuncDlg(int nDialogId, QWidget* pParent)
    : QWidget(pParent), m_nDialogId(nDialogId), m_job(CurrentDeviceOpener(), CurrentTicks()) {
    setVisible(false);
    // A page is opaque, like a child dialog: it covers what lies under it.
    setAutoFillBackground(true);
    const int stored = GetServices().profile->GetInt(kProfileSection, kProfileTesterType, 0);
    m_nTesterIndex = TesterIndexForCode(stored);
}

CFuncDlg::~CFuncDlg() {
    CloseJob(0);
}

bool CFuncDlg::Create(const DialogTemplate* tmpl) {
    if (!tmpl) {
        tmpl = m_pTemplateOverride ? m_pTemplateOverride : FindDialogTemplate(m_nDialogId);
    }
    if (!tmpl) {
        return false;
    }
    BuildDialog(this, *tmpl);
    OnInitDialog();
    return true;
}

void CFuncDlg::OnPrinterAvailability(bool bAvailable) {
    m_bPrinterAvailable = bAvailable;
}

void CFuncDlg::OnTesterTypeChange(CFuncDlg* pSource, int nIndex) {
    m_nTesterIndex = nIndex;
    if (pSource != this) {
        return;
    }
    GetServices().profile->WriteInt(kProfileSection, kProfileTesterType, TesterCode(nIndex));
    if (IPageHost* host = Host()) {
        host->ApplyTesterIndex(this, nIndex);
    }
}

IPageHost* CFuncDlg::Host() const {
    return dynamic_cast<IPageHost*>(parentWidget());
}

void CFuncDlg::FillTesterList() {
    auto* list = GetItem<QComboBox>(IDC_TESTER_LIST);
    if (!list) {
        return;
    }
    // Every row gets an entry, even one whose name is missing, so that a list position is
    // always a tester index.
    for (int i = 0; i < kTesterCount; ++i) {
        list->addItem(QString::fromUtf8(TesterDisplayName(i)));
    }
    OnTesterTypeChange(nullptr, m_nTesterIndex);
    // Only a choice of the user is a change of the tester type; selecting the entry from
    // code (above, and when another page changes it) is not.
    connect(list, &QComboBox::activated, this, [this] { OnTesterListSelChange(); });
}

void CFuncDlg::SyncTesterList(CFuncDlg* pSource, int nIndex) {
    if (pSource == this) {
        return; // the list already shows the user's choice
    }
    if (auto* list = GetItem<QComboBox>(IDC_TESTER_LIST)) {
        list->setCurrentIndex(nIndex);
    }
}

void CFuncDlg::OnTesterListSelChange() {
    auto* list = GetItem<QComboBox>(IDC_TESTER_LIST);
    if (!list) {
        return;
    }
    const int position = list->currentIndex();
    if (position >= 0) {
        OnTesterTypeChange(this, position);
    }
}

bool CFuncDlg::SendJob(int nConfirm, const std::string& job) {
    return SendJob(nConfirm, [&job]() -> std::optional<std::string> { return job; });
}

bool CFuncDlg::SendJob(int nConfirm, const std::function<std::optional<std::string>()>& build) {
    bool written = false;
    if (OpenJob(nConfirm)) {
        if (const std::optional<std::string> job = build()) {
            const bool wasOk = m_job.IsOk();
            const bool spooled = m_job.SpoolText(*job);
            ShowJobFailure(wasOk);
            if (spooled) {
                written = WriteJob();
            }
        }
    }
    CloseJob(JOB_HOLD_MS);
    return written;
}

bool CFuncDlg::OpenJob(int nConfirm) {
    CloseJob(0);
    Services& services = GetServices();
    if (const char* question = ConfirmationText(nConfirm)) {
        if (services.messageBox->Show(question, MsgIcon::Warning, MsgButtons::OkCancel) !=
            MsgResult::Ok) {
            return false;
        }
    }
    m_strPrinterName.clear();
    // The printer list is read only now, after the question: a rebuild may have run while
    // the question was open.
    IPageHost* host = Host();
    const CEnumeratedPrinter* printer = host ? host->SelectedPrinter() : nullptr;
    if (!printer) {
        return false;
    }
    m_strPrinterName = printer->m_strName;
    if (!m_job.Open(printer->m_strDevicePath)) {
        services.messageBox->Show(FormatMessage(kMsgCantOpen, m_strPrinterName), MsgIcon::Warning,
                                  MsgButtons::Ok);
        return false;
    }
    services.waitCursor->Begin();
    return true;
}

void CFuncDlg::ShowJobFailure(bool wasOk) {
    if (!wasOk || m_job.IsOk()) {
        return;
    }
    std::string text;
    switch (m_job.LastFailure()) {
    case CPrinterJob::Failure::NoMemory:
        text = kMsgSpoolMemory;
        break;
    case CPrinterJob::Failure::WriteFailed:
        text = FormatMessage(kMsgWriteFailure, m_strPrinterName);
        break;
    default:
        return;
    }
    GetServices().messageBox->Show(text, MsgIcon::Warning, MsgButtons::Ok);
}

bool CFuncDlg::SpoolPrintf(const char* format, ...) {
    const bool wasOk = m_job.IsOk();
    std::va_list args;
    va_start(args, format);
    const bool ok = m_job.SpoolVPrintf(format, args);
    va_end(args);
    ShowJobFailure(wasOk);
    return ok;
}

bool CFuncDlg::SpoolBytes(const void* pData, std::uint32_t nBytes) {
    const bool wasOk = m_job.IsOk();
    const bool ok = m_job.SpoolBytes(pData, nBytes);
    ShowJobFailure(wasOk);
    return ok;
}

bool CFuncDlg::WriteJob() {
    const bool wasOk = m_job.IsOk();
    const bool ok = m_job.Write();
    ShowJobFailure(wasOk);
    return ok;
}

void CFuncDlg::CloseJob(std::uint32_t dwMinMs) {
    const bool wasOpen = m_job.IsDeviceOpen();
    m_job.Close(dwMinMs);
    if (wasOpen) {
        GetServices().waitCursor->End();
    }
}

} // namespace brimwell
