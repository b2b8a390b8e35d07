#pragma once
#include "app/PageTable.h"
#include "platform/DeviceEnumerator.h"
#include "printer/CFuncDlg.h"
#include "text/Translate.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace brimwell {

// The x position, in pixels of the client area, at which every page stands.
inline constexpr int kPageLeft = 210;
// How long a job runs before the job panel shows it: a short job (a density, a label) is over
// before the panel would be read.
inline constexpr std::uint32_t JOB_PANEL_DELAY_MS = 1000;

// The job panel's texts: what is sent to which printer ("%s": its display text), and how far.
inline constexpr const char* kJobSending = N_("Sending the job to '%s'...");
inline constexpr const char* kJobStopping = N_("Stopping the job for '%s'...");
std::string JobBytesText(std::uint32_t taken, std::uint32_t length);

// The question when the window is closed while a job is being sent.
inline constexpr const char* kAskStopJobToClose =
    N_("A job is being sent to the printer.\r\n\r\nClick 'OK' to stop it and close the window, "
       "or 'Cancel' to let it finish.");

// The main window: the function list and the printer list on the left, the page of the
// selected function on the right. It owns the pages, one slot per row of its page table, and
// the printers listed: entry i of the printer list is printer i.
class CBrimwellDlg : public CDialogBase, public IPageHost {
public:
    // Builds the page of every row instead of the row's own factory; tests hand in their own.
    using PageFactory = std::function<CFuncDlg*(const PageRow& row, IPageHost* host)>;

    // The host creates the window from template IDD_BRIMWELL_DIALOG and runs OnInitDialog,
    // which sizes the window to fit every page, lists the printers and makes the page of the
    // selected row (the welcome page); every other page is made when its row is first
    // selected, and kept.
    explicit CBrimwellDlg(PageTable table = FunctionPages(), PageFactory factory = nullptr);
    ~CBrimwellDlg() override;

    bool OnInitDialog() override;
    void OnCommand(int nID, Notify code) override;
    // The window's close command: ends the modal run with the result IDOK.
    void OnSysCommandClose() override;
    // The window is sized anew for every page at the new DPI.
    void OnDpiChanged() override;

    void ShowSelectedPage();
    void RefreshPrinterList();
    // A printer-class device arrived or was removed.
    void OnDeviceChange();

    // The page of the row in `slot`, or nullptr when it has not been made (its row has not
    // been selected yet), the row has none (its factory made none, or the window has no
    // function list) or there is no such row.
    CFuncDlg* Page(int slot) const;
    // The page of the row in `slot`, made (hidden) now if it has not been, as its first
    // selection makes it; nullptr as for Page when the row has none.
    CFuncDlg* MakePage(int slot);
    // The number of slots: the rows of the page table.
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // The printers listed, in the order of the printer list; empty when it shows
    // "No printer found".
    const std::vector<CEnumeratedPrinter>& Printers() const { return m_printers; }

    // IPageHost
    std::optional<CEnumeratedPrinter> SelectedPrinter() const override;
    void ApplyTesterIndex(CFuncDlg* pSource, int nIndex) override;
    // While a job runs the send buttons are off (every page is told no printer can take a
    // job), and once it has run for JOB_PANEL_DELAY_MS the job panel shows what is sent, how
    // far it is, and Stop. At the end the buttons come back and focus returns where it was.
    void OnJobStarted() override;
    void OnJobTick() override;
    void OnJobFinished() override;
    bool OnQueryEndSession() override;

private:
    // Widens and heightens the window to fit the page of every row, from the templates.
    void FitWindowToPages();
    // Makes `page` at least as high as the window, so that it covers the window's separator.
    void ReachToTheBottom(CFuncDlg& page);
    bool PrintersAvailable() const;
    void TellPagesAvailability();
    void StopJob();
    void ShowJobPanel(bool show);
    void UpdateJobPanel();

    PageTable m_table;
    PageFactory m_factory;
    std::vector<std::unique_ptr<CFuncDlg>> m_pages; // one slot per row, null for no page
    std::vector<bool> m_tried;                      // the slot's page was asked of its factory
    // The tester type a page chose last, handed to every page made after it.
    std::optional<int> m_nTesterIndex;
    std::vector<CEnumeratedPrinter> m_printers;
    // The monitor this window registered with, so that it unregisters from the same one.
    IDeviceMonitor* m_pMonitor = nullptr;
    bool m_bPrintersListed = false; // the last rebuild listed a printer or adapter
    bool m_bJobPanelShown = false;
    bool m_bCloseAfterJob = false; // the user asked to stop the job and close the window
    bool m_bStopRequested = false;
    CFuncDlg* m_pFocusPage = nullptr; // where keyboard focus was when the job started
    int m_nFocusItem = 0;
};

} // namespace brimwell
