#include "app/CBrimwellDlg.h"

#include "printer/PrinterIdentification.h"
#include "resources/StringTable.h"
#include "ui/Services.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace brimwell {

CBrimwellDlg::CBrimwellDlg(PageTable table, PageFactory factory)
    : CDialogBase(IDD_BRIMWELL_DIALOG), m_table(std::move(table)), m_factory(std::move(factory)),
      m_pages(m_table.size()), m_tried(m_table.size(), false) {}

CBrimwellDlg::~CBrimwellDlg() {
    // The window is never taken down under a running job: it refuses to close until the job
    // has ended (OnSysCommandClose).
    assert(!CFuncDlg::RunningJob().sending);
    if (m_pMonitor) {
        m_pMonitor->SetChangeHandler({});
        m_pMonitor = nullptr;
    }
}

bool CBrimwellDlg::OnInitDialog() {
    IDialog& dialog = Dialog();
    dialog.SetIcon(IDR_MAINFRAME);

    // Listen before listing, so that no arrival between the two is lost.
    if (IDeviceMonitor* monitor = GetServices().monitor) {
        monitor->SetChangeHandler([this] { OnDeviceChange(); });
        m_pMonitor = monitor;
    }

    if (dialog.HasItem(IDC_FUNCTION_LIST)) {
        for (const PageRow& row : m_table) {
            dialog.AddString(IDC_FUNCTION_LIST, Tr(row.title));
        }
        FitWindowToPages();
        dialog.SetCurSel(IDC_FUNCTION_LIST, 0);
    }

    RefreshPrinterList();
    ShowSelectedPage();
    return true;
}

void CBrimwellDlg::FitWindowToPages() {
    IDialog& dialog = Dialog();
    const DlgSize client = dialog.ClientSize();
    DlgSize need = client;
    for (const PageRow& row : m_table) {
        const DialogTemplate* tmpl = FindDialogTemplate(row.dialogId);
        if (!tmpl || (!m_factory && !row.make)) {
            continue;
        }
        const DlgSize page = row.fit ? row.fit(dialog, *tmpl) : dialog.ChildClientSize(*tmpl);
        need.cx = std::max(need.cx, kPageLeft + page.cx);
        need.cy = std::max(need.cy, page.cy);
    }
    if (!(need == client)) {
        dialog.ResizeClient(need);
    }
    for (const std::unique_ptr<CFuncDlg>& page : m_pages) {
        if (page) {
            ReachToTheBottom(*page);
        }
    }
}

void CBrimwellDlg::ReachToTheBottom(CFuncDlg& page) {
    // The window's separator stands inside the page area (at 167 dialog units, right of
    // x = 210 pixels), where every page covers it; a page shorter than the window would
    // leave its lower end showing.
    const DlgSize size = page.Dialog().ClientSize();
    const int bottom = Dialog().ClientSize().cy;
    if (size.cy < bottom) {
        page.Dialog().ResizeClient({size.cx, bottom});
    }
}

void CBrimwellDlg::OnDpiChanged() {
    if (Dialog().HasItem(IDC_FUNCTION_LIST)) {
        FitWindowToPages();
    }
}

CFuncDlg* CBrimwellDlg::MakePage(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= m_pages.size() ||
        !Dialog().HasItem(IDC_FUNCTION_LIST)) {
        return nullptr;
    }
    const auto index = static_cast<std::size_t>(slot);
    if (m_pages[index] || m_tried[index]) {
        return m_pages[index].get();
    }
    m_tried[index] = true;
    const PageRow& row = m_table[index];
    std::unique_ptr<CFuncDlg> page;
    if (m_factory) {
        page.reset(m_factory(row, this));
    } else if (row.make) {
        page.reset(row.make(row, this));
    }
    if (!page) {
        return nullptr;
    }
    IDialog& dialog = Dialog();
    page->SetTitle(Tr(row.title));
    if (!page->Create(dialog)) {
        // A page without its window cannot be shown: end at once.
        std::abort();
    }
    IDialog& pageDialog = page->Dialog();
    pageDialog.MoveTo(kPageLeft, 0);
    pageDialog.Show(false);
    ReachToTheBottom(*page);
    CFuncDlg* made = page.get();
    m_pages[index] = std::move(page);
    // What the pages made before it were told: the tester type chosen on another page, and
    // whether a printer can take a job.
    if (m_nTesterIndex) {
        made->OnTesterTypeChange(nullptr, *m_nTesterIndex);
    }
    made->OnPrinterAvailability(PrintersAvailable());
    return made;
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
    CFuncDlg* shown = MakePage(selected);
    for (const std::unique_ptr<CFuncDlg>& page : m_pages) {
        if (page && page.get() != shown) {
            page->Dialog().Show(false);
        }
    }
    if (shown) {
        shown->Dialog().Show(true);
    }
}

CFuncDlg* CBrimwellDlg::Page(int slot) const {
    return slot >= 0 && static_cast<std::size_t>(slot) < m_pages.size()
               ? m_pages[static_cast<std::size_t>(slot)].get()
               : nullptr;
}

void CBrimwellDlg::RefreshPrinterList() {
    bool available = false;
    IDialog& dialog = Dialog();
    if (dialog.HasItem(IDC_PRINTER_COMBO)) {
        // The printer selected before the rebuild stays selected when it is listed again.
        std::optional<std::string> remembered;
        if (std::optional<CEnumeratedPrinter> printer = SelectedPrinter()) {
            remembered = std::move(printer->m_strDevicePath);
        }

        dialog.SetRedraw(IDC_PRINTER_COMBO, false);
        dialog.ResetContent(IDC_PRINTER_COMBO);
        m_printers.clear();
        int select = 0;

        std::vector<RawDeviceInterface> raw;
        if (!GetServices().enumerator->Enumerate(raw)) {
            // Refused: the list stays empty and the pages keep what they were told.
            dialog.SetRedraw(IDC_PRINTER_COMBO, true);
            return;
        }
        for (const ListedPrinter& listed : FilterPrinters(raw)) {
            // Entry i of the list is printer i: a device whose record cannot be made (memory
            // is short) is left out of both.
            try {
                m_printers.push_back({listed.kind, listed.name, listed.devicePath});
            } catch (const std::bad_alloc&) {
                continue;
            }
            const CEnumeratedPrinter& printer = m_printers.back();
            const int index = dialog.AddString(IDC_PRINTER_COMBO, printer.m_strName);
            if (index < 0) {
                m_printers.pop_back();
                continue;
            }
            if (remembered && SameDevicePath(printer.m_strDevicePath, *remembered)) {
                select = index;
            }
            available = true;
        }
        if (m_printers.empty()) {
            dialog.AddString(IDC_PRINTER_COMBO, Tr(kNoPrinterFound));
        }
        dialog.SetCurSel(IDC_PRINTER_COMBO, select);
        dialog.SetRedraw(IDC_PRINTER_COMBO, true);
    }
    m_bPrintersListed = available;
    TellPagesAvailability();
}

bool CBrimwellDlg::PrintersAvailable() const {
    // A printer can take a job when one is listed and no job is being sent.
    return m_bPrintersListed && !CFuncDlg::RunningJob().sending;
}

void CBrimwellDlg::TellPagesAvailability() {
    const bool available = PrintersAvailable();
    for (const std::unique_ptr<CFuncDlg>& page : m_pages) {
        if (page) {
            page->OnPrinterAvailability(available);
        }
    }
}

std::string JobBytesText(std::uint32_t taken, std::uint32_t length) {
    char text[96];
    // TRANSLATORS: the job panel's count while a job is sent: bytes taken of the job's bytes.
    std::snprintf(text, sizeof text,
                  TrPlural("%lu of %lu byte sent", "%lu of %lu bytes sent", length),
                  static_cast<unsigned long>(taken), static_cast<unsigned long>(length));
    return text;
}

void CBrimwellDlg::OnJobStarted() {
    m_bStopRequested = false;
    m_pFocusPage = nullptr;
    m_nFocusItem = 0;
    for (const std::unique_ptr<CFuncDlg>& page : m_pages) {
        if (page && page->Dialog().IsShown() && page->Dialog().FocusedItem() != 0) {
            m_pFocusPage = page.get();
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
    dialog.SetItemText(
        IDC_JOB_STATUS,
        FormatMessage(Tr(m_bStopRequested ? kJobStopping : kJobSending), job.printerName));
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

std::optional<CEnumeratedPrinter> CBrimwellDlg::SelectedPrinter() const {
    // "No printer found" is the only entry when no printer is listed: it is past the end.
    const int current = Dialog().GetCurSel(IDC_PRINTER_COMBO);
    if (current < 0 || static_cast<std::size_t>(current) >= m_printers.size()) {
        return std::nullopt;
    }
    return m_printers[static_cast<std::size_t>(current)];
}

void CBrimwellDlg::ApplyTesterIndex(CFuncDlg* pSource, int nIndex) {
    m_nTesterIndex = nIndex;
    for (const std::unique_ptr<CFuncDlg>& page : m_pages) {
        if (page && page.get() != pSource) {
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
            GetServices().messageBox->Show(Tr(kAskStopJobToClose), MsgIcon::Warning,
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
