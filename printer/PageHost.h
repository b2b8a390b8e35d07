#pragma once
#include <optional>
#include <string>

namespace brimwell {

class CFuncDlg;

// One printer of the main window's printer list, as a page reads it at the moment a job opens.
struct CEnumeratedPrinter {
    int m_nKind = 0;
    std::string m_strName;       // display text
    std::string m_strDevicePath; // what a job opens
};

// What a page needs of the window that hosts it. The main window implements it and hands
// itself to every page it builds; a page never knows the main window's class, so the page
// base and the subsystems depend only on this interface.
class IPageHost {
public:
    // A copy of the printer selected in the printer list, or nothing when nothing is selected
    // or the selected entry is no printer ("No printer found"). Read at the moment a job
    // opens, never kept.
    virtual std::optional<CEnumeratedPrinter> SelectedPrinter() const = 0;
    // Tells every hosted page except pSource, in slot order, that the tester index is now
    // nIndex, with pSource as the source of the change.
    virtual void ApplyTesterIndex(CFuncDlg* pSource, int nIndex) = 0;
    // A job's device work has started (after its question), it is running (about every
    // JOB_TICK_MS), and it has ended and been reported. The window follows CFuncDlg::RunningJob.
    virtual void OnJobStarted() {}
    virtual void OnJobTick() {}
    virtual void OnJobFinished() {}

protected:
    ~IPageHost() = default;
};

} // namespace brimwell
