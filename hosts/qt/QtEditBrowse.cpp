#include "hosts/qt/QtEditBrowse.h"

namespace brimwell {

QtEditBrowse::QtEditBrowse(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this)) {
    m_button->setText(QStringLiteral("..."));
    // Tab reaches the button after the edit, and Space presses it.
    m_button->setFocusPolicy(Qt::StrongFocus);
    m_button->setEnabled(false);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &QtEditBrowse::textChanged);
    connect(m_button, &QToolButton::clicked, this, [this] {
        if (m_onBrowse) {
            m_onBrowse();
        }
    });
}

void QtEditBrowse::SetBrowseHandler(std::function<void()> onBrowse) {
    m_onBrowse = std::move(onBrowse);
    m_button->setEnabled(static_cast<bool>(m_onBrowse));
}

void QtEditBrowse::SetBrowseName(const std::string& name) {
    m_button->setAccessibleName(QString::fromStdString(name));
}

void QtEditBrowse::resizeEvent(QResizeEvent*) {
    const int h = height();
    const int buttonWidth = h;
    m_edit->setGeometry(0, 0, width() - buttonWidth, h);
    m_button->setGeometry(width() - buttonWidth, 0, buttonWidth, h);
}

} // namespace brimwell
