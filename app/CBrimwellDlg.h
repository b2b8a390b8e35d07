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

    // The monitor this window registered with, so that it unregisters from the same one.
    IDeviceMonitor* m_hDevNotify = nullptr;
    std::vector<CEnumeratedPrinter*> m_arrPrinters;
    // Allocates a printer record; nullptr when memory is short (tests hand in a failing
    // one). A device whose record cannot be allocated is left out of the list.
    CEnumeratedPrinter* (*m_pfnNewPrinter)() = &NewPrinterRecord;
    static CEnumeratedPrinter* NewPrinterRecord();
    std::array<CFuncDlg*, MAX_FUNC_PAGES> m_apPages{};

private:
    const FuncTableEntry* m_pTable;
    PageFactory m_factory;
};

} // namespace brimwell
