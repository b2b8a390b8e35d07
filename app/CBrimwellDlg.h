#pragma once
#include "app/FunctionTable.h"
#include "platform/DeviceEnumerator.h"
#include "printer/CFuncDlg.h"

#include <QDialog>
#include <QIcon>
#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QListWidget;

namespace brimwell {

// The x position, in pixels of the client area, at which every page stands.
inline constexpr int kPageLeft = 210;

// The main window: the function list and the printer list on the left, the page of the
// selected function on the right. It owns the pages and the printer records.
class CBrimwellDlg : public QDialog, public IPageHost {
    Q_OBJECT
public:
    // Builds the page of a function row; tests hand in their own.
    using PageFactory = std::function<CFuncDlg*(int nDialogId, int nPageArg, CBrimwellDlg*)>;

    // Creates the controls and every page, then lists the printers; the caller shows the
    // window.
    explicit CBrimwellDlg(const FuncTableEntry* table = kFunctionTable,
                          PageFactory factory = nullptr, QWidget* parent = nullptr);
    ~CBrimwellDlg() override;

    void ShowSelectedPage();
    void RefreshPrinterList();
    void FreePrinterList();
    // A printer-class device arrived or was removed.
    void OnDeviceChange();
    // The window's close command: ends the modal run with the result IDOK.
    void OnSysCommandClose();

    // IPageHost
    const CEnumeratedPrinter* SelectedPrinter() const override;
    void ApplyTesterIndex(CFuncDlg* pSource, int nIndex) override;

    QWidget* GetDlgItem(int id) const { return brimwell::GetDlgItem(this, id); }
    QListWidget* FunctionList() const;
    QComboBox* PrinterCombo() const;

    QIcon m_hIcon;
    // The monitor this window registered with, so that it unregisters from the same one.
    IDeviceMonitor* m_hDevNotify = nullptr;
    std::vector<CEnumeratedPrinter*> m_arrPrinters;
    std::array<CFuncDlg*, MAX_FUNC_PAGES> m_apPages{};

protected:
    bool OnInitDialog();
    void accept() override {} // Enter does nothing
    void reject() override {} // Escape does nothing
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const FuncTableEntry* m_pTable;
    PageFactory m_factory;
};

} // namespace brimwell
