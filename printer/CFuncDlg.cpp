#include "printer/CFuncDlg.h"

#include "resources/DialogTemplates.h"
#include "tester/TesterCatalogue.h"
#include "ui/Services.h"

namespace brimwell {
namespace {

// The page whose job runs (from SendJob's start, or from a successful OpenJob, to its close),
// and whether a blocking step is waiting in the job wait right now.
const CFuncDlg* g_jobOwner = nullptr;
bool g_waiting = false;

// Marks a page's SendJob as the running job for its whole length.
class JobOwnership {
public:
    explicit JobOwnership(const CFuncDlg* page) { g_jobOwner = page; }
    ~JobOwnership() { g_jobOwner = nullptr; }
    JobOwnership(const JobOwnership&) = delete;
    JobOwnership& operator=(const JobOwnership&) = delete;
};

} // namespace

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

CFuncDlg::CFuncDlg(int nDialogId, IPageHost* pParent)
    : CDialogBase(nDialogId), m_pHost(pParent), m_job(CurrentDeviceOpener(), CurrentTicks()) {
    const int stored = GetServices().profile->GetInt(kProfileSection, kProfileTesterType, 0);
    m_nTesterIndex = TesterIndexForCode(stored);
}

CFuncDlg::~CFuncDlg() {
    CloseJob(0);
}

bool CFuncDlg::JobRunning() {
    return g_jobOwner != nullptr || g_waiting;
}

void CFuncDlg::RunBlocking(const std::function<void()>& work) {
    struct Waiting {
        Waiting() { g_waiting = true; }
        ~Waiting() { g_waiting = false; }
    } waiting;
    GetServices().jobWait->Run(work);
}

bool CFuncDlg::Create(IDialog& parent, const DialogTemplate* tmpl) {
    if (!tmpl) {
        tmpl = m_pTemplateOverride ? m_pTemplateOverride : FindDialogTemplate(DialogId());
    }
    return tmpl && parent.CreateChild(*tmpl, *this);
}

void CFuncDlg::OnCommand(int nID, Notify code) {
    if (nID == IDC_TESTER_LIST && code == Notify::SelChange) {
        OnTesterListSelChange();
    }
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

void CFuncDlg::FillTesterList() {
    IDialog& dialog = Dialog();
    if (!dialog.HasItem(IDC_TESTER_LIST)) {
        return;
    }
    // Every row gets an entry, even one whose name is missing, so that a list position is
    // always a tester index.
    for (int i = 0; i < kTesterCount; ++i) {
        const char* name = TesterDisplayName(i);
        dialog.AddString(IDC_TESTER_LIST, name ? name : "");
    }
    // Selecting the entry from code (here, and when another page changes it) is no choice of
    // the user, so no change of the tester type.
    OnTesterTypeChange(nullptr, m_nTesterIndex);
}

void CFuncDlg::SyncTesterList(CFuncDlg* pSource, int nIndex) {
    if (pSource == this) {
        return; // the list already shows the user's choice
    }
    Dialog().SetCurSel(IDC_TESTER_LIST, nIndex);
}

void CFuncDlg::OnTesterListSelChange() {
    const int position = Dialog().GetCurSel(IDC_TESTER_LIST);
    if (position >= 0) {
        OnTesterTypeChange(this, position);
    }
}

bool CFuncDlg::SendJob(int nConfirm, const std::string& job) {
    return SendJob(nConfirm, [&job]() -> std::optional<std::string> { return job; });
}

bool CFuncDlg::SendJob(int nConfirm, const std::function<std::optional<std::string>()>& build) {
    if (JobRunning()) {
        return false; // a second send while a job runs (the host let a click through)
    }
    const JobOwnership running(this);
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
    if (g_waiting || (g_jobOwner && g_jobOwner != this)) {
        return false;
    }
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
    g_jobOwner = this;
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
    if (g_waiting) {
        return false;
    }
    const bool wasOk = m_job.IsOk();
    bool ok = wasOk;
    if (wasOk && m_job.SpoolLength() != 0) {
        RunBlocking([this, &ok] { ok = m_job.Write(); });
    }
    ShowJobFailure(wasOk);
    return ok;
}

void CFuncDlg::CloseJob(std::uint32_t dwMinMs) {
    if (g_waiting) {
        return; // the job's own step is still running; it closes when that returns
    }
    const bool wasOpen = m_job.IsDeviceOpen();
    if (wasOpen && m_job.IsOk()) {
        // A written job holds the window for the printer's pause: waited like the write.
        RunBlocking([this, dwMinMs] { m_job.Close(dwMinMs); });
    } else {
        m_job.Close(dwMinMs);
    }
    if (wasOpen) {
        GetServices().waitCursor->End();
    }
    if (g_jobOwner == this) {
        g_jobOwner = nullptr;
    }
}

} // namespace brimwell
