#include "platform/qt/EditBrowseCtrl.h"

#include "platform/Services.h"

namespace brimwell {

CEditBrowseCtrl::CEditBrowseCtrl(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this)) {
    m_button->setText(QStringLiteral("..."));
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setEnabled(false);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &CEditBrowseCtrl::textChanged);
    connect(m_button, &QToolButton::clicked, this, [this] { OnBrowse(); });
}

void CEditBrowseCtrl::EnableFileBrowseButton(const std::string& defaultExt,
                                             const std::string& filter) {
    m_bFileMode = true;
    m_defaultExt = defaultExt;
    m_filter = filter;
    m_button->setEnabled(true);
}

void CEditBrowseCtrl::OnBrowse() {
    if (!m_bFileMode) {
        return;
    }
    const auto chosen = GetServices().fileDialog->GetOpenFileName(m_edit->text().toStdString(),
                                                                  m_defaultExt, m_filter);
    if (chosen && QString::fromStdString(*chosen) != m_edit->text()) {
        m_edit->setText(QString::fromStdString(*chosen));
    }
    m_edit->setFocus();
}

void CEditBrowseCtrl::resizeEvent(QResizeEvent*) {
    const int h = height();
    const int buttonWidth = h;
    m_edit->setGeometry(0, 0, width() - buttonWidth, h);
    m_button->setGeometry(width() - buttonWidth, 0, buttonWidth, h);
}

} // namespace brimwell
