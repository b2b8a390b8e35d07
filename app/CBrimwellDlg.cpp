#include "app/CBrimwellDlg.h"

#include "app/PageFactory.h"
#include "platform/Services.h"
#include "printer/PrinterIdentification.h"
#include "resources/AppIcon.h"
#include "resources/StringTable.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <cstdlib>

namespace brimwell {

CBrimwellDlg::CBrimwellDlg(const FuncTableEntry* table, PageFactory factory, QWidget* parent)
    : QDialog(parent), m_hIcon(AppIcon()), m_pTable(table),
      m_factory(factory ? std::move(factory) : PageFactory(&CreatePage)) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromUtf8(LoadStringResource(IDS_APP_TITLE)));
    if (const DialogTemplate* tmpl = FindDialogTemplate(IDD_BRIMWELL_DIALOG)) {
        BuildDialog(this, *tmpl);
    }
    OnInitDialog();
}

CBrimwellDlg::~CBrimwellDlg() {
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

QListWidget* CBrimwellDlg::FunctionList() const {
    return GetDlgItemAs<QListWidget>(this, IDC_FUNCTION_LIST);
}

QComboBox* CBrimwellDlg::PrinterCombo() const {
    return GetDlgItemAs<QComboBox>(this, IDC_PRINTER_COMBO);
}

bool CBrimwellDlg::OnInitDialog() {
    setWindowIcon(m_hIcon);

    // Listen before listing, so that no arrival between the two is lost.
    if (IDeviceMonitor* monitor = GetServices().monitor) {
        monitor->SetChangeHandler([this] { OnDeviceChange(); });
        m_hDevNotify = monitor;
    }

    if (QListWidget* list = FunctionList()) {
        const int clientWidth = width();
        int widestPage = 0;
        for (int i = 0; i < MAX_FUNC_PAGES; ++i) {
            const FuncTableEntry& row = m_pTable[i];
            if (!row.pszTitle) {
                continue;
            }
            list->addItem(QString::fromUtf8(row.pszTitle));
            CFuncDlg* page = m_factory(row.nDialogId, row.nPageArg, this);
            if (page) {
                if (!page->Create()) {
                    // A page without its template cannot be shown: end at once.
                    std::abort();
                }
                widestPage = std::max(widestPage, page->width());
                page->move(kPageLeft, 0);
                page->hide();
            }
            m_apPages[i] = page;
        }
        const int shortfall = kPageLeft + widestPage - clientWidth;
        if (shortfall > 0) {
            resize(width() + shortfall, height());
        }
        list->setCurrentRow(0);
        connect(list, &QListWidget::currentRowChanged, this, [this] { ShowSelectedPage(); });
    }

    RefreshPrinterList();
    ShowSelectedPage();
    return true;
}

void CBrimwellDlg::ShowSelectedPage() {
    QListWidget* list = FunctionList();
    if (!list) {
        return;
    }
    const int selected = list->currentRow();
    for (CFuncDlg* page : m_apPages) {
        if (page) {
            page->hide();
        }
    }
    if (selected >= 0 && selected < MAX_FUNC_PAGES && m_apPages[selected]) {
        m_apPages[selected]->show();
    }
}

void CBrimwellDlg::FreePrinterList() {
    for (CEnumeratedPrinter* printer : m_arrPrinters) {
        delete printer;
    }
    m_arrPrinters.clear();
}

void CBrimwellDlg::RefreshPrinterList() {
    bool available = false;
    if (QComboBox* combo = PrinterCombo()) {
        std::string remembered = "x_invalid_x";
        const int current = combo->currentIndex();
        if (current >= 0) {
            if (auto* printer = reinterpret_cast<CEnumeratedPrinter*>(
                    combo->itemData(current).value<quintptr>())) {
                remembered = printer->m_strDevicePath;
            }
        }

        combo->setUpdatesEnabled(false);
        combo->clear();
        FreePrinterList();
        int select = 0;

        std::vector<RawDeviceInterface> raw;
        if (!GetServices().enumerator->Enumerate(raw)) {
            // Refused: the list stays empty and the pages keep what they were told.
            combo->setUpdatesEnabled(true);
            combo->repaint();
            return;
        }
        int counted = 0;
        for (const ListedPrinter& listed : FilterPrinters(raw)) {
            auto* printer = new CEnumeratedPrinter;
            m_arrPrinters.push_back(printer);
            printer->m_nKind = listed.kind;
            printer->m_strDevicePath = listed.devicePath;
            printer->m_strName = listed.name;
            combo->addItem(QString::fromStdString(printer->m_strName),
                           QVariant::fromValue(reinterpret_cast<quintptr>(printer)));
            if (SameDevicePath(printer->m_strDevicePath, remembered)) {
                select = combo->count() - 1;
            }
            available = true;
            ++counted;
        }
        if (counted == 0) {
            combo->addItem(QString::fromUtf8(kNoPrinterFound));
        }
        combo->setCurrentIndex(select);
        combo->setUpdatesEnabled(true);
        combo->repaint();
    }
    for (CFuncDlg* page : m_apPages) {
        if (page) {
            page->OnPrinterAvailability(available);
        }
    }
}

const CEnumeratedPrinter* CBrimwellDlg::SelectedPrinter() const {
    QComboBox* combo = PrinterCombo();
    if (!combo || combo->currentIndex() < 0) {
        return nullptr;
    }
    return reinterpret_cast<const CEnumeratedPrinter*>(
        combo->itemData(combo->currentIndex()).value<quintptr>());
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
    done(QDialog::Accepted);
}

void CBrimwellDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CBrimwellDlg::closeEvent(QCloseEvent* event) {
    event->accept();
    OnSysCommandClose();
}

} // namespace brimwell
