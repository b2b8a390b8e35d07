#pragma once
#include "app/FunctionTable.h"
#include "platform/DeviceEnumerator.h"
#include "printer/CFuncDlg.h"

#include <array>
#include <functional>
#include <vector>

namespace brimwell {

// The x position, in pixels of the client area, at which every page stands.
inline constexpr int kPageLeft = 210;
// How long a job runs before the job panel shows it: a short job (a density, a label) is over
// before the panel would be read.
inline constexpr std::uint32_t JOB_PANEL_DELAY_MS = 1000;

// The job panel's texts: what is sent to which printer ("%s": its display text), and how far.
inline constexpr const char* kJobSending = "Sending the job to '%s'...";
inline constexpr const char* kJobStopping = "Stopping the job for '%s'...";
std::string JobBytesText(std::uint32_t taken, std::uint32_t length);

// The question when the window is closed while a job is being sent.
inline constexpr const char* kAskStopJobToClose =
    "A job is being sent to the printer.\r\n\r\nClick 'OK' to stop it and close the window, "
    "or 'Cancel' to let it finish.";

// The main window: the function list and the printer list on the left, the page of the
// selected function on the right. It owns the pages and the printer records.
class CBrimwellDlg : public CDialogBase, public IPageHost {
public:
    // Builds the page of a function row; tests hand in their own.
    using PageFactory = std::function<CFuncDlg*(int nDialogId, int nPageArg, CBrimwellDlg*)>;

    // The host creates the window from template IDD_BRIMWELL_DIALOG and runs OnInitDialog,
    // which creates every page and lists the printers.
    explicit CBrimwellDlg(const FuncTableEntry* table = kFunctionTable,
                          PageFactory factory = nullptr);
    ~CBrimwellDlg() override;

    bool OnInitDialog() override;
    void OnCommand(int nID, Notify code) override;
    // The window's close command: ends the modal run with the result IDOK.
    void OnSysCommandClose() override;

    void ShowSelectedPage();
    void RefreshPrinterList();
    void FreePrinterList();
    // A printer-class device arrived or was removed.
    void OnDeviceChange();

    // IPageHost
    const CEnumeratedPrinter* SelectedPrinter() const override;
    void ApplyTesterIndex(CFuncDlg* pSource, int nIndex) override;
    // While a job runs the send buttons are off (every page is told no printer can take a
    // job), and once it has run for JOB_PANEL_DELAY_MS the job panel shows what is sent, how
    // far it is, and Stop. At the end the buttons come back and focus returns where it was.
    void OnJobStarted() override;
    void OnJobTick() override;
    void OnJobFinished() override;
    bool OnQueryEndSession() override;

    // The monitor this window registered with, so that it unregisters from the same one.
    IDeviceMonitor* m_hDevNotify = nullptr;
    std::vector<CEnumeratedPrinter*> m_arrPrinters;
    // Allocates a printer record; nullptr when memory is short (tests hand in a failing
    // one). A device whose record cannot be allocated is left out of the list.
    CEnumeratedPrinter* (*m_pfnNewPrinter)() = &NewPrinterRecord;
    static CEnumeratedPrinter* NewPrinterRecord();
    std::array<CFuncDlg*, MAX_FUNC_PAGES> m_apPages{};

private:
    void TellPagesAvailability();
    void StopJob();
    void ShowJobPanel(bool show);
    void UpdateJobPanel();

    const FuncTableEntry* m_pTable;
    bool m_bPrintersListed = false; // the last rebuild listed a printer or adapter
    bool m_bJobPanelShown = false;
    bool m_bCloseAfterJob = false; // the user asked to stop the job and close the window
    bool m_bStopRequested = false;
    CFuncDlg* m_pFocusPage = nullptr; // where keyboard focus was when the job started
    int m_nFocusItem = 0;
    PageFactory m_factory;
};

} // namespace brimwell
