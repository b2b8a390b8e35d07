#include "logo/CCfgLogoDlg.h"

#include "logo/CLogoPreviewCtrl.h"
#include "logo/CMyEditBrowseCtrl.h"
#include "logo/LabelPreview.h"
#include "platform/Services.h"
#include "resources/StringTable.h"

#include <QAbstractButton>
#include <QLabel>
#include <algorithm>

namespace brimwell {

CCfgLogoDlg::CCfgLogoDlg(QWidget* pParent, int nPageArg)
    : CFuncDlg(IDD_CFG_LOGO, pParent), m_nPageArg(nPageArg), m_logo(*GetServices().fileSource) {}

CCfgLogoDlg::~CCfgLogoDlg() = default;

void CCfgLogoDlg::DoDataExchange() {
    m_pBrowse =
        static_cast<CMyEditBrowseCtrl*>(ReplaceDlgItem(this, IDC_LOGO_FILE, new CMyEditBrowseCtrl));
    m_pPreview = static_cast<CLogoPreviewCtrl*>(
        ReplaceDlgItem(this, IDC_LOGO_PREVIEW, new CLogoPreviewCtrl(&m_logo)));
    // Tab runs from the file name to the buttons, in the template's order.
    QWidget* previous = m_pBrowse ? m_pBrowse->Edit() : nullptr;
    for (const int id : {IDC_LOGO_SEND, IDC_LOGO_ROTATE, IDC_LOGO_INVERT}) {
        if (QWidget* button = GetDlgItem(id)) {
            if (previous) {
                QWidget::setTabOrder(previous, button);
            }
            previous = button;
        }
    }
}

bool CCfgLogoDlg::OnInitDialog() {
    DoDataExchange();
    if (m_pBrowse) {
        m_pBrowse->EnableFileBrowseButton("", LOGO_FILE_FILTER);
        connect(m_pBrowse, &CEditBrowseCtrl::textChanged, this, [this] { OnChangeLogoFile(); });
    }
    if (m_pPreview) {
        const int templateBottom = m_pPreview->geometry().bottom();
        m_pPreview->resize(PREVIEW_WIDTH, PREVIEW_HEIGHT);
        KeepButtonsClearOfPreview(templateBottom);
    }

    const char* word = LoadStringResource(m_nPageArg == 0 ? IDS_PASS : IDS_FAIL);
    const QString qword = QString::fromUtf8(word ? word : "");
    for (const int id : {IDC_LOGO_FILE_CAPTION, IDC_LOGO_PREVIEW_CAPTION, IDC_LOGO_SEND}) {
        if (auto* label = GetItem<QLabel>(id)) {
            label->setText(label->text().replace(QLatin1String("%s"), qword));
        } else if (auto* button = GetItem<QAbstractButton>(id)) {
            button->setText(button->text().replace(QLatin1String("%s"), qword));
        }
    }

    if (auto* rotate = GetItem<QAbstractButton>(IDC_LOGO_ROTATE)) {
        connect(rotate, &QAbstractButton::clicked, this, [this] { OnRotate(); });
    }
    if (auto* invert = GetItem<QAbstractButton>(IDC_LOGO_INVERT)) {
        connect(invert, &QAbstractButton::clicked, this, [this] { OnInvert(); });
    }
    if (auto* send = GetItem<QAbstractButton>(IDC_LOGO_SEND)) {
        connect(send, &QAbstractButton::clicked, this, [this] { OnSend(); });
    }
    UpdateButtons();
    return true;
}

void CCfgLogoDlg::KeepButtonsClearOfPreview(int templateBottom) {
    // The template leaves a gap between the preview and the buttons. Where this platform's
    // dialog font makes the template smaller than the preview's fixed size, the buttons move
    // down (and the page grows) so that the preview does not run under them.
    int shift = 0;
    for (const int id : {IDC_LOGO_SEND, IDC_LOGO_ROTATE, IDC_LOGO_INVERT}) {
        if (const QWidget* button = GetDlgItem(id)) {
            const int gap = button->y() - templateBottom;
            shift = std::max(shift, m_pPreview->geometry().bottom() + gap - button->y());
        }
    }
    if (shift <= 0) {
        return;
    }
    for (const int id : {IDC_LOGO_SEND, IDC_LOGO_ROTATE, IDC_LOGO_INVERT}) {
        if (QWidget* button = GetDlgItem(id)) {
            button->move(button->x(), button->y() + shift);
        }
    }
    resize(width(), height() + shift);
}

void CCfgLogoDlg::UpdateButtons() {
    const bool loaded = m_logo.IsLoaded();
    if (QWidget* rotate = GetDlgItem(IDC_LOGO_ROTATE)) {
        rotate->setEnabled(loaded);
    }
    if (QWidget* invert = GetDlgItem(IDC_LOGO_INVERT)) {
        invert->setEnabled(loaded);
    }
    if (QWidget* send = GetDlgItem(IDC_LOGO_SEND)) {
        send->setEnabled(loaded && m_bPrinterAvailable);
    }
}

void CCfgLogoDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    UpdateButtons();
}

void CCfgLogoDlg::OnChangeLogoFile() {
    // Every change loads, so while a path is typed each keystroke is a load of its own.
    m_logo.LoadFile(m_pBrowse ? m_pBrowse->text().toStdString() : std::string());
    UpdateButtons();
    if (m_pPreview) {
        m_pPreview->LogoChanged();
    }
}

void CCfgLogoDlg::OnRotate() {
    if (!m_logo.IsLoaded()) {
        return;
    }
    m_logo.Rotate();
    UpdateButtons();
    if (m_pPreview) {
        m_pPreview->LogoChanged();
    }
}

void CCfgLogoDlg::OnInvert() {
    if (!m_logo.IsLoaded()) {
        return;
    }
    m_logo.Invert();
    if (m_pPreview) {
        m_pPreview->LogoChanged();
    }
}

void CCfgLogoDlg::OnSend() {
    if (!m_logo.IsLoaded()) {
        return;
    }
    // The same store job as `brimwell-cli logo`, built once the printer is open.
    SendJob(JOB_CONFIRM_POWER_CYCLE, [this]() -> std::optional<std::string> {
        const std::vector<std::uint8_t> job = BuildLogoJob(m_logo, Kind());
        if (job.empty()) {
            return std::nullopt;
        }
        return std::string(job.begin(), job.end());
    });
}

} // namespace brimwell
