#pragma once
#include "app/FunctionTable.h"
#include "printer/CFuncDlg.h"

#include <QDialog>
#include <QIcon>
#include <array>
#include <vector>

class QComboBox;
class QListWidget;

namespace brimwell {

// The x position, in pixels of the client area, at which every page stands, unless the
// dialog font puts the separator further right (see PageLeft).
inline constexpr int kPageLeft = 210;

// The main window: the function list and the printer list on the left, the page of the
// selected function on the right. It owns the pages and the printer records.
class CBrimwellDlg : public QDialog {
    Q_OBJECT
public:
    explicit CBrimwellDlg(const FuncTableEntry* table = kFunctionTable, QWidget* parent = nullptr);
    ~CBrimwellDlg() override;

    // Creates the controls and every page, then lists the printers. Called by the
    // constructor; the window is shown by the caller.
    void ShowSelectedPage();
    void RefreshPrinterList();
    void FreePrinterList();
    // A printer-class device arrived or was removed.
    void OnDeviceChange();
    // The window's close command: ends the modal run with the result IDOK.
    void OnSysCommandClose();

    QWidget* GetDlgItem(int id) const { return brimwell::GetDlgItem(this, id); }
    QListWidget* FunctionList() const;
    QComboBox* PrinterCombo() const;
    // Where the pages stand: kPageLeft, or just right of the separator when the dialog font
    // makes the separator reach past it, so that no page is drawn across the line.
    int PageLeft() const { return m_nPageLeft; }

    QIcon m_hIcon;
    bool m_hDevNotify = false;
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
    int m_nPageLeft = kPageLeft;
};

} // namespace brimwell
