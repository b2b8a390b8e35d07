#include "app/CBrimwellDlg.h"

#include "app/PageFactory.h"
#include "printer/PrinterIdentification.h"
#include "resources/StringTable.h"
#include "ui/Services.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <new>

namespace brimwell {

CBrimwellDlg::CBrimwellDlg(const FuncTableEntry* table, PageFactory factory)
    : CDialogBase(IDD_BRIMWELL_DIALOG), m_pTable(table),
      m_factory(factory ? std::move(factory) : PageFactory(&CreatePage)) {}

CBrimwellDlg::~CBrimwellDlg() {
    // The window is never taken down under a running job: it refuses to close until the job
    // has ended (OnSysCommandClose).
    assert(!CFuncDlg::RunningJob().sending);
    if (m_hDevNotify) {
        m_hDevNotify->SetChangeHandler({});
        m_hDevNotify = nullptr;
    }
    FreePrinterList();
    for (CFuncDlg*& page : m_apPages) {
        delete page;
        page = nullptr;
    }
}

bool CBrimwellDlg::OnInitDialog() {
    IDialog& dialog = Dialog();
    dialog.SetIcon(IDR_MAINFRAME);

    // Listen before listing, so that no arrival between the two is lost.
    if (IDeviceMonitor* monitor = GetServices().monitor) {
        monitor->SetChangeHandler([this] { OnDeviceChange(); });
        m_hDevNotify = monitor;
    }

    if (dialog.HasItem(IDC_FUNCTION_LIST)) {
        const DlgSize client = dialog.ClientSize();
        int widestPage = 0;
        for (int i = 0; i < MAX_FUNC_PAGES; ++i) {
            const FuncTableEntry& row = m_pTable[i];
            if (!row.pszTitle) {
                continue;
            }
            dialog.AddString(IDC_FUNCTION_LIST, row.pszTitle);
            CFuncDlg* page = m_factory(row.nDialogId, row.nPageArg, this);
            if (page) {
                page->SetTitle(row.pszTitle);
                if (!page->Create(dialog)) {
                    // A page without its window cannot be shown: end at once.
                    std::abort();
                }
                IDialog& pageDialog = page->Dialog();
                widestPage = std::max(widestPage, pageDialog.ClientSize().cx);
                pageDialog.MoveTo(kPageLeft, 0);
                pageDialog.Show(false);
            }
            m_apPages[i] = page;
        }
        const int shortfall = kPageLeft + widestPage - client.cx;
        if (shortfall > 0) {
            dialog.ResizeClient({client.cx + shortfall, client.cy});
        }
        // The window's separator stands inside the page area (at 167 dialog units, right of
        // x = 210 pixels), where every page covers it; a page shorter than the window would
        // leave its lower end showing. Each page reaches to the bottom of the window.
        for (CFuncDlg* page : m_apPages) {
            if (page) {
                const DlgSize size = page->Dialog().ClientSize();
                if (size.cy < client.cy) {
                    page->Dialog().ResizeClient({size.cx, client.cy});
                }
            }
        }
        dialog.SetCurSel(IDC_FUNCTION_LIST, 0);
    }

    RefreshPrinterList();
    ShowSelectedPage();
    return true;
}

void CBrimwellDlg::OnCommand(int nID, Notify code) {
    if (nID == IDC_FUNCTION_LIST && code == Notify::SelChange) {
        ShowSelectedPage();
    } else if (nID == IDC_JOB_STOP && code == Notify::Clicked) {
        StopJob();
    }
}

void CBrimwellDlg::StopJob() {
    m_bStopRequested = true;
    Dialog().EnableItem(IDC_JOB_STOP, false);
    CFuncDlg::StopRunningJob();
    if (m_bJobPanelShown) {
        UpdateJobPanel();
    }
}

void CBrimwellDlg::ShowSelectedPage() {
    IDialog& dialog = Dialog();
    if (!dialog.HasItem(IDC_FUNCTION_LIST)) {
        return;
    }
    const int selected = dialog.GetCurSel(IDC_FUNCTION_LIST);
    for (CFuncDlg* page : m_apPages) {
        if (page) {
            page->Dialog().Show(false);
        }
    }
    if (selected >= 0 && selected < MAX_FUNC_PAGES && m_apPages[selected]) {
        m_apPages[selected]->Dialog().Show(true);
    }
}

CEnumeratedPrinter* CBrimwellDlg::NewPrinterRecord() {
    return new (std::nothrow) CEnumeratedPrinter;
}

void CBrimwellDlg::FreePrinterList() {
    for (CEnumeratedPrinter* printer : m_arrPrinters) {
        delete printer;
    }
    m_arrPrinters.clear();
}

void CBrimwellDlg::RefreshPrinterList() {
    bool available = false;
    IDialog& dialog = Dialog();
    if (dialog.HasItem(IDC_PRINTER_COMBO)) {
        std::string remembered = "x_invalid_x";
        if (const CEnumeratedPrinter* printer = SelectedPrinter()) {
            remembered = printer->m_strDevicePath;
        }

        dialog.SetRedraw(IDC_PRINTER_COMBO, false);
        dialog.ResetContent(IDC_PRINTER_COMBO);
        FreePrinterList();
        int select = 0;

        std::vector<RawDeviceInterface> raw;
        if (!GetServices().enumerator->Enumerate(raw)) {
            // Refused: the list stays empty and the pages keep what they were told.
            dialog.SetRedraw(IDC_PRINTER_COMBO, true);
            return;
        }
        int counted = 0;
        for (const ListedPrinter& listed : FilterPrinters(raw)) {
            CEnumeratedPrinter* printer = m_pfnNewPrinter();
            if (!printer) {
                continue;
            }
            try {
                m_arrPrinters.push_back(printer);
            } catch (const std::bad_alloc&) {
                delete printer;
                continue;
            }
            printer->m_nKind = listed.kind;
            printer->m_strDevicePath = listed.devicePath;
            printer->m_strName = listed.name;
            const int index = dialog.AddString(IDC_PRINTER_COMBO, printer->m_strName);
            dialog.SetItemData(IDC_PRINTER_COMBO, index, reinterpret_cast<std::uintptr_t>(printer));
            if (SameDevicePath(printer->m_strDevicePath, remembered)) {
                select = index;
            }
            available = true;
            ++counted;
        }
        if (counted == 0) {
            dialog.AddString(IDC_PRINTER_COMBO, kNoPrinterFound);
        }
        dialog.SetCurSel(IDC_PRINTER_COMBO, select);
        dialog.SetRedraw(IDC_PRINTER_COMBO, true);
    }
    m_bPrintersListed = available;
    TellPagesAvailability();
}

void CBrimwellDlg::TellPagesAvailability() {
    // A printer can take a job when one is listed and no job is being sent.
    const bool available = m_bPrintersListed && !CFuncDlg::RunningJob().sending;
    for (CFuncDlg* page : m_apPages) {
        if (page) {
            page->OnPrinterAvailability(available);
        }
    }
}

std::string JobBytesText(std::uint32_t taken, std::uint32_t length) {
    return std::to_string(taken) + " of " + std::to_string(length) + " bytes sent";
}

void CBrimwellDlg::OnJobStarted() {
    m_bStopRequested = false;
    m_pFocusPage = nullptr;
    m_nFocusItem = 0;
    for (CFuncDlg* page : m_apPages) {
        if (page && page->Dialog().IsShown() && page->Dialog().FocusedItem() != 0) {
            m_pFocusPage = page;
            m_nFocusItem = page->Dialog().FocusedItem();
        }
    }
    TellPagesAvailability();
}

void CBrimwellDlg::OnJobTick() {
    const CFuncDlg::JobStatus job = CFuncDlg::RunningJob();
    if (!job.sending) {
        return;
    }
    const auto ran =
        static_cast<std::uint32_t>(GetServices().ticks->GetTickCount() - job.startTick);
    if (!m_bJobPanelShown && ran >= JOB_PANEL_DELAY_MS) {
        ShowJobPanel(true);
    }
    if (m_bJobPanelShown) {
        UpdateJobPanel();
    }
}

void CBrimwellDlg::ShowJobPanel(bool show) {
    IDialog& dialog = Dialog();
    m_bJobPanelShown = show;
    if (show) {
        dialog.EnableItem(IDC_JOB_STOP, !m_bStopRequested);
        UpdateJobPanel();
    }
    for (int id : {IDC_JOB_STATUS, IDC_JOB_PROGRESS, IDC_JOB_BYTES, IDC_JOB_STOP}) {
        dialog.ShowItem(id, show);
    }
}

void CBrimwellDlg::UpdateJobPanel() {
    IDialog& dialog = Dialog();
    const CFuncDlg::JobStatus job = CFuncDlg::RunningJob();
    dialog.SetItemText(IDC_JOB_STATUS, FormatMessage(m_bStopRequested ? kJobStopping : kJobSending,
                                                     job.printerName));
    const std::string bytes = JobBytesText(job.taken, job.length);
    dialog.SetItemText(IDC_JOB_BYTES, bytes);
    const int permille =
        job.length == 0 ? 0
                        : static_cast<int>(std::uint64_t{job.taken} * PROGRESS_MAX / job.length);
    if (dialog.GetProgress(IDC_JOB_PROGRESS) != permille) {
        dialog.SetProgress(IDC_JOB_PROGRESS, permille);
        dialog.SetItemAccessibleDescription(IDC_JOB_PROGRESS, bytes);
    }
}

void CBrimwellDlg::OnJobFinished() {
    if (m_bJobPanelShown) {
        ShowJobPanel(false);
    }
    TellPagesAvailability();
    // Focus returns to the control that had it (the send button), or to the next one that can
    // take it when that one was disabled meanwhile (the printer went away).
    if (m_pFocusPage && m_pFocusPage->Dialog().IsShown()) {
        m_pFocusPage->Dialog().FocusItem(m_nFocusItem);
    }
    m_pFocusPage = nullptr;
    m_nFocusItem = 0;
    if (m_bCloseAfterJob) {
        m_bCloseAfterJob = false;
        Dialog().EndDialog(DLG_RESULT_OK);
    }
}

bool CBrimwellDlg::OnQueryEndSession() {
    // A job cut off by the end of the session leaves the printer with part of a logo or of its
    // label program: the session is asked to wait while one is being sent.
    return !CFuncDlg::RunningJob().sending;
}

const CEnumeratedPrinter* CBrimwellDlg::SelectedPrinter() const {
    const IDialog& dialog = Dialog();
    const int current = dialog.GetCurSel(IDC_PRINTER_COMBO);
    if (current < 0) {
        return nullptr;
    }
    return reinterpret_cast<const CEnumeratedPrinter*>(
        dialog.GetItemData(IDC_PRINTER_COMBO, current));
}

void CBrimwellDlg::ApplyTesterIndex(CFuncDlg* pSource, int nIndex) {
    for (CFuncDlg* page : m_apPages) {
        if (page && page != pSource) {
            page->OnTesterTypeChange(pSource, nIndex);
        }
    }
}

void CBrimwellDlg::OnDeviceChange() {
    RefreshPrinterList();
}

void CBrimwellDlg::OnSysCommandClose() {
    const CFuncDlg::JobStatus job = CFuncDlg::RunningJob();
    if (job.sending) {
        // The pages stay until the job has ended; the user chooses to stop it or to wait.
        if (m_bCloseAfterJob ||
            GetServices().messageBox->Show(kAskStopJobToClose, MsgIcon::Warning,
                                           MsgButtons::OkCancel) != MsgResult::Ok) {
            return;
        }
        // The job may have ended while the question was open.
        if (CFuncDlg::RunningJob().sending) {
            m_bCloseAfterJob = true;
            StopJob();
            return;
        }
        if (CFuncDlg::JobRunning()) {
            return; // its failure is being reported
        }
    }
    if (job.running) {
        return; // a page's question is open: the window closes once it is answered, not under it
    }
    Dialog().EndDialog(DLG_RESULT_OK);
}

} // namespace brimwell
