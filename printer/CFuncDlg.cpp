#include "printer/CFuncDlg.h"

#include "resources/DialogTemplates.h"
#include "tester/TesterCatalogue.h"
#include "ui/Services.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <memory>

namespace brimwell {
namespace {

// The one job of the window: which page holds the guard (from before its question to its
// report), and, once the device work runs, what it shares with the runner's thread.
struct WindowJob {
    CFuncDlg* owner = nullptr;
    bool sending = false;
    std::string printerName;
    std::uint32_t startTick = 0;
    std::shared_ptr<JobControl> control;
};
WindowJob g_job;

// Releases the guard when a job ends before its device work starts (cancelled at the
// question, no printer), unless it was handed on.
class GuardTaken {
public:
    explicit GuardTaken(CFuncDlg* page) { g_job.owner = page; }
    ~GuardTaken() {
        if (!m_handedOn) {
            g_job = WindowJob{};
        }
    }
    GuardTaken(const GuardTaken&) = delete;
    GuardTaken& operator=(const GuardTaken&) = delete;
    void HandOn() { m_handedOn = true; }

private:
    bool m_handedOn = false;
};

} // namespace

const char* ConfirmationText(int nConfirm) {
    switch (nConfirm) {
    case JOB_CONFIRM_PLAIN:
        return Tr(kConfirmPlain);
    case JOB_CONFIRM_POWER_CYCLE:
        return Tr(kConfirmPowerCycle);
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
    // The window never takes a page away under its running job: the job's end would report
    // to a page that is gone.
    assert(g_job.owner != this || !g_job.sending);
    CloseJob(0);
    if (g_job.owner == this) {
        g_job.owner = nullptr;
    }
}

bool CFuncDlg::JobRunning() {
    return g_job.owner != nullptr || g_job.sending;
}

CFuncDlg::JobStatus CFuncDlg::RunningJob() {
    JobStatus status;
    status.running = JobRunning();
    status.sending = g_job.sending;
    status.printerName = g_job.printerName;
    status.startTick = g_job.startTick;
    if (g_job.control) {
        status.taken = g_job.control->Taken();
        status.length = g_job.control->Length();
    }
    return status;
}

void CFuncDlg::StopRunningJob() {
    if (g_job.sending && g_job.control) {
        g_job.control->RequestStop();
    }
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
    return StartJob(
        nConfirm, [job]() -> std::optional<std::string> { return job; },
        static_cast<std::uint32_t>(std::min<std::size_t>(job.size(), UINT32_MAX)));
}

bool CFuncDlg::SendJob(int nConfirm, std::function<std::optional<std::string>()> build) {
    return StartJob(nConfirm, std::move(build), 0);
}

bool CFuncDlg::AskAndFindPrinter(int nConfirm, std::string& devicePath) {
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
    const std::optional<CEnumeratedPrinter> printer = host ? host->SelectedPrinter() : std::nullopt;
    if (!printer) {
        return false;
    }
    m_strPrinterName = printer->m_strName;
    devicePath = printer->m_strDevicePath;
    return true;
}

bool CFuncDlg::StartJob(int nConfirm, std::function<std::optional<std::string>()> build,
                        std::uint32_t knownLength) {
    if (JobRunning()) {
        return false; // a second send while a job runs (a key or a click the host let through)
    }
    GuardTaken guard(this);
    JobRequest request;
    if (!AskAndFindPrinter(nConfirm, request.devicePath)) {
        return false;
    }
    request.build = std::move(build);
    request.toPrinter = true;
    request.holdMs = JOB_HOLD_MS;

    // From here the job belongs to the runner: what its thread uses is copied into the work or
    // shared with it, never read from the page or the window.
    Services& services = GetServices();
    g_job.sending = true;
    g_job.printerName = m_strPrinterName;
    g_job.startTick = services.ticks->GetTickCount();
    g_job.control = std::make_shared<JobControl>();
    g_job.control->SetLength(knownLength);
    guard.HandOn();
    services.waitCursor->Begin();
    services.sessionGuard->Hold(FormatMessage(Tr(kSessionHoldReason), m_strPrinterName));
    if (IPageHost* host = Host()) {
        host->OnJobStarted();
    }

    struct Work {
        IDeviceOpener* opener;
        ITickSource* ticks;
        JobRequest request;
        std::shared_ptr<JobControl> control;
        JobOutcome outcome;
    };
    auto work = std::make_shared<Work>(
        Work{services.deviceOpener, services.ticks, std::move(request), g_job.control, {}});
    // `done` runs before Start returns with an inline runner (the companion's, the tests'):
    // then SendJob answers whether the job went out. Later, from the window's loop, it touches
    // nothing of this frame.
    auto startReturned = std::make_shared<bool>(false);
    bool sent = true;
    bool* inlineSent = &sent;
    services.jobRunner->Start(
        [work] {
            work->outcome =
                RunJobSequence(*work->opener, *work->ticks, work->request, work->control.get());
        },
        [] {
            if (g_job.owner) {
                if (IPageHost* host = g_job.owner->Host()) {
                    host->OnJobTick();
                }
            }
        },
        [work, startReturned, inlineSent] {
            if (!*startReturned) {
                *inlineSent = work->outcome.Sent();
            }
            FinishJob(work->outcome);
        });
    *startReturned = true;
    return sent;
}

void CFuncDlg::FinishJob(const JobOutcome& outcome) {
    CFuncDlg* page = g_job.owner;
    Services& services = GetServices();
    services.sessionGuard->Release();
    services.waitCursor->End();
    if (page) {
        if (const std::string message = JobFailureMessage(outcome, page->m_strPrinterName, false);
            !message.empty()) {
            services.messageBox->Show(message, MsgIcon::Warning, MsgButtons::Ok);
        }
    }
    g_job = WindowJob{};
    if (page) {
        if (IPageHost* host = page->Host()) {
            host->OnJobFinished();
        }
    }
}

bool CFuncDlg::OpenJob(int nConfirm) {
    if (g_job.sending || (g_job.owner && g_job.owner != this)) {
        return false; // another job holds the guard; this page's own earlier job is closed below
    }
    CloseJob(0);
    GuardTaken guard(this);
    std::string devicePath;
    if (!AskAndFindPrinter(nConfirm, devicePath)) {
        return false;
    }
    if (!m_job.Open(devicePath)) {
        GetServices().messageBox->Show(FormatMessage(Tr(kMsgCantOpen), m_strPrinterName),
                                       MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }
    GetServices().waitCursor->Begin();
    guard.HandOn(); // held until CloseJob
    return true;
}

void CFuncDlg::ShowJobFailure(bool wasOk) {
    if (!wasOk || m_job.IsOk()) {
        return;
    }
    JobOutcome outcome;
    if (const auto result = FailedResult(m_job.LastFailure())) {
        outcome.result = *result;
    } else {
        return;
    }
    outcome.reason = m_job.FailureReason();
    GetServices().messageBox->Show(JobFailureMessage(outcome, m_strPrinterName, false),
                                   MsgIcon::Warning, MsgButtons::Ok);
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
    if (g_job.owner == this && !g_job.sending) {
        g_job.owner = nullptr;
    }
}

} // namespace brimwell
