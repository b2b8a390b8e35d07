#pragma once
#include "printer/JobSequence.h"
#include "printer/PageHost.h"
#include "printer/PrinterJob.h"
#include "text/Translate.h"
#include "ui/DialogBase.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace brimwell {

// Confirmation kinds of OpenJob.
inline constexpr int JOB_CONFIRM_NONE = 0;
inline constexpr int JOB_CONFIRM_PLAIN = 1;
inline constexpr int JOB_CONFIRM_POWER_CYCLE = 2;

// What the system shows a user who logs off or shuts down while a job is sent ("%s": the
// printer's display text).
inline constexpr const char* kSessionHoldReason =
    N_("Brimwell is sending a job to the printer '%s'. Stopping it now could leave the printer "
       "with part of it.");

// The question shown before a job of this kind opens the printer, or nullptr for none.
const char* ConfirmationText(int nConfirm);

// The page base. Every function page derives from it; it holds the printer availability
// and tester index every page shares, and the printer transport. A page sends a job with
// SendJob: the page's question, then the selected printer's device path and the job's bytes
// are handed, copied, to the window's job runner, which opens, writes, drains, holds and closes
// off the window's thread; the window hears of the end through its own event loop and the page
// base reports a failure then. One job runs at a time in the whole window: the guard is taken
// before the question and held until the report, and a send meanwhile is refused.
class CFuncDlg : public CDialogBase {
public:
    // pParent is the window that hosts the page (the main window), or nullptr.
    CFuncDlg(int nDialogId, IPageHost* pParent);
    ~CFuncDlg() override;

    // Creates the page's window as a hidden child of `parent` from its dialog template (or
    // from `tmpl`, for tests of a damaged template), which runs OnInitDialog. False when there
    // is no template or the window cannot be created.
    bool Create(IDialog& parent, const DialogTemplate* tmpl = nullptr);

    // The tester list's selection change reaches OnTesterListSelChange; a page routes its own
    // controls' notifications and passes the others here.
    void OnCommand(int nID, Notify code) override;

    // The printer list was rebuilt; bAvailable is true when a printer or adapter is listed.
    virtual void OnPrinterAvailability(bool bAvailable);
    // The tester index is now nIndex. pSource is the page where the user changed it, or
    // nullptr when a page applies the stored index to itself.
    virtual void OnTesterTypeChange(CFuncDlg* pSource, int nIndex);

    bool PrinterAvailable() const { return m_bPrinterAvailable; }
    int TesterIndex() const { return m_nTesterIndex; }
    const std::string& PrinterName() const { return m_strPrinterName; }
    const CPrinterJob& Job() const { return m_job; }
    // True while a page's job runs (from its question to its report): the window must neither
    // start another nor take its pages away.
    static bool JobRunning();
    // What the running job is doing, for the window's job panel.
    struct JobStatus {
        bool running = false; // the guard is held
        bool sending = false; // past the question: the device work runs
        std::string printerName;
        std::uint32_t startTick = 0; // when the device work started
        std::uint32_t taken = 0;     // bytes the device took so far
        std::uint32_t length = 0;    // the job's bytes (0 until it is built)
    };
    static JobStatus RunningJob();
    // Asks the running job to stop: its write ends, and the page reports it stopped. Nothing
    // when no job is being sent.
    static void StopRunningJob();
    // The page's title, as its function-table row lists it; set before Create. A page whose
    // content has no label (a help text) is named by it for a screen reader.
    void SetTitle(std::string title) { m_strTitle = std::move(title); }
    const std::string& Title() const { return m_strTitle; }

protected:
    virtual bool OnInitDialog() { return true; }

    // One whole job: the question of its kind, then the bytes sent to the selected printer by
    // the window's job runner (open, one write, drain, hold, close). True when the job was
    // started (with the companion's and the tests' inline runner: when it went out whole);
    // false when it was refused (another job runs), cancelled at the question or had no
    // printer. A failure is reported to the user once the job has ended.
    bool SendJob(int nConfirm, const std::string& job);
    // The same, with the bytes built on the runner's side once the device is open (for a job
    // that carries the time it is sent at). The builder must not touch the page or any window;
    // a builder that returns nullopt sends nothing.
    bool SendJob(int nConfirm, std::function<std::optional<std::string>()> build);
    // The window hosting this page (its parent), or nullptr.
    IPageHost* Host() const { return m_pHost; }

    // The job's steps one by one, run on the calling thread (the pages send with SendJob; these
    // serve callers that drive a job step by step). OpenJob refuses while another page's job
    // runs, and holds the guard until CloseJob.
    bool OpenJob(int nConfirm);
    bool SpoolPrintf(const char* format, ...) BRIMWELL_PRINTF(2, 3);
    bool SpoolBytes(const void* pData, std::uint32_t nBytes);
    bool WriteJob();
    void CloseJob(std::uint32_t dwMinMs);

    // The tester list (IDC_TESTER_LIST) of the pages that have one: FillTesterList gives it
    // one entry per catalogue row and selects the stored index; the user's choice reaches
    // OnTesterListSelChange; SyncTesterList shows a change made elsewhere.
    void FillTesterList();
    void SyncTesterList(CFuncDlg* pSource, int nIndex);
    // The selection-change handler of a page's tester list: the new position becomes the
    // tester index of every page, with this page as the source.
    void OnTesterListSelChange();

    std::string m_strPrinterName;
    bool m_bPrinterAvailable = false;
    int m_nTesterIndex = 0;
    // When set, Create builds from this template instead of the dialog id's.
    const DialogTemplate* m_pTemplateOverride = nullptr;

private:
    void ShowJobFailure(bool wasOk);
    // The question of kind nConfirm and the selected printer: true, with m_strPrinterName set
    // and `devicePath` filled, when the job may go out.
    bool AskAndFindPrinter(int nConfirm, std::string& devicePath);
    // SendJob's work; knownLength is the job's length when the bytes are known beforehand.
    bool StartJob(int nConfirm, std::function<std::optional<std::string>()> build,
                  std::uint32_t knownLength);
    // The runner has ended this page's job: report, release the guard, tell the window.
    static void FinishJob(const JobOutcome& outcome);

    IPageHost* m_pHost;
    CPrinterJob m_job;
    std::string m_strTitle;
};

} // namespace brimwell
