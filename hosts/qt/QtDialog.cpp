#include "hosts/qt/QtDialog.h"

#include "hosts/qt/DialogBuilder.h"
#include "hosts/qt/QtEditBrowse.h"
#include "hosts/qt/QtLabelPreview.h"
#include "hosts/qt/QtRichTextView.h"
#include "resources/AppIcon.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QValidator>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace brimwell {
namespace {

// Runs the logic's text filter on every change the user makes to an edit.
class FilterValidator : public QValidator {
public:
    FilterValidator(TextFilter filter, QObject* parent) : QValidator(parent), m_filter(filter) {}
    State validate(QString& input, int& pos) const override {
        std::u16string text = input.toStdU16String();
        std::size_t caret = pos < 0 ? 0 : static_cast<std::size_t>(pos);
        m_filter(text, caret);
        input = QString::fromStdU16String(text);
        pos = static_cast<int>(caret);
        return Acceptable;
    }

private:
    TextFilter m_filter;
};

QLineEdit* LineEdit(QWidget* w) {
    if (auto* browse = qobject_cast<QtEditBrowse*>(w)) {
        return browse->Edit();
    }
    return qobject_cast<QLineEdit*>(w);
}

} // namespace

QtDialog::~QtDialog() {
    for (const auto& connection : m_connections) {
        QObject::disconnect(connection);
    }
    if (m_logic) {
        m_logic->AttachDialog(nullptr);
    }
}

void QtDialog::Attach(CDialogBase& logic) {
    m_logic = &logic;
    ConnectControls();
    logic.AttachDialog(this);
    logic.OnInitDialog();
}

void QtDialog::ConnectControls() {
    const auto children = m_root->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    m_items.clear();
    for (QWidget* child : children) {
        const int id = DlgItemId(child);
        if (id == IDC_STATIC) {
            continue;
        }
        m_items.emplace_back(id, child);
        const auto command = [this, id](Notify code) {
            if (m_logic) {
                m_logic->OnCommand(id, code);
            }
        };
        const auto scroll = [this, id](int pos) {
            if (m_logic) {
                m_logic->OnHScroll(id, pos);
            }
        };
        if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            m_connections << QObject::connect(button, &QAbstractButton::clicked,
                                              [command] { command(Notify::Clicked); });
        } else if (auto* browse = qobject_cast<QtEditBrowse*>(child)) {
            m_connections << QObject::connect(browse, &QtEditBrowse::textChanged,
                                              [command] { command(Notify::EditChanged); });
        } else if (auto* edit = qobject_cast<QLineEdit*>(child)) {
            m_connections << QObject::connect(edit, &QLineEdit::textChanged,
                                              [command] { command(Notify::EditChanged); });
        } else if (auto* combo = qobject_cast<QComboBox*>(child)) {
            // Only a choice of the user: selecting from code raises nothing.
            m_connections << QObject::connect(combo, &QComboBox::activated,
                                              [command] { command(Notify::SelChange); });
        } else if (auto* list = qobject_cast<QListWidget*>(child)) {
            // Selections made from code block the list's signals (SetCurSel).
            m_connections << QObject::connect(list, &QListWidget::currentRowChanged,
                                              [command] { command(Notify::SelChange); });
        } else if (auto* slider = qobject_cast<QSlider*>(child)) {
            // valueChanged covers the keyboard, the wheel, clicks on the groove and the drag;
            // sliderMoved covers the thumb while it is dragged even without tracking.
            m_connections << QObject::connect(slider, &QSlider::valueChanged, scroll);
            m_connections << QObject::connect(slider, &QSlider::sliderMoved, scroll);
        }
    }
}

QWidget* QtDialog::Item(int id) const {
    if (m_items.empty()) {
        return GetDlgItem(m_root, id); // not attached yet
    }
    for (const auto& [itemId, widget] : m_items) {
        if (itemId == id) {
            return widget;
        }
    }
    return nullptr;
}

QWidget* QtDialog::ItemHolding(QWidget* widget) const {
    // Up to the child of the root, within one window (a message box is a child of the window
    // that opened it, yet none of its controls).
    for (; widget && !widget->isWindow(); widget = widget->parentWidget()) {
        if (widget->parentWidget() == m_root) {
            // A page is a child of its window too, but no control of it.
            return DlgItemId(widget) != IDC_STATIC ? widget : nullptr;
        }
    }
    return nullptr;
}

bool QtDialog::TakesFocus(QWidget* widget) const {
    return widget->isEnabled() && widget->isVisibleTo(m_root) &&
           (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && ItemHolding(widget);
}

bool QtDialog::HasItem(int id) const {
    return Item(id) != nullptr;
}

std::string QtDialog::ItemText(int id) const {
    QWidget* w = Item(id);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QVariant text = label->property(kStaticTextProperty);
        return (text.isValid() ? text.toString() : label->text()).toStdString();
    }
    if (auto* edit = LineEdit(w)) {
        return edit->text().toStdString();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text().toStdString();
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        return combo->currentText().toStdString();
    }
    return {};
}

void QtDialog::SetItemText(int id, const std::string& text) {
    QWidget* w = Item(id);
    const QString value = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        SetStaticText(label, text);
    } else if (auto* edit = LineEdit(w)) {
        if (edit->text() != value) {
            edit->setText(value);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(value);
    }
}

void QtDialog::EnableItem(int id, bool enable) {
    if (QWidget* w = Item(id)) {
        w->setEnabled(enable);
    }
}

bool QtDialog::IsItemEnabled(int id) const {
    QWidget* w = Item(id);
    return w && w->isEnabled();
}

void QtDialog::ShowItem(int id, bool show) {
    if (QWidget* w = Item(id)) {
        w->setVisible(show);
    }
}

bool QtDialog::IsItemShown(int id) const {
    QWidget* w = Item(id);
    return w && !w->isHidden();
}

void QtDialog::FocusItem(int id) {
    QWidget* w = Item(id);
    if (!w) {
        return;
    }
    if (w->isEnabled() && !w->isHidden()) {
        w->setFocus();
        return;
    }
    // A control that cannot have it passes the focus on along the tab order, round to the
    // first control if need be, to the next one of this dialog that takes it, as Windows'
    // dialog manager does. The chain runs through the whole window: other pages' controls
    // are passed over.
    for (QWidget* next = w->nextInFocusChain(); next && next != w;
         next = next->nextInFocusChain()) {
        if (TakesFocus(next)) {
            next->setFocus();
            return;
        }
    }
}

int QtDialog::FocusedItem() const {
    // The keyboard focus: in the active window only, as on Windows.
    QWidget* control = ItemHolding(QApplication::focusWidget());
    return control ? DlgItemId(control) : 0;
}

DlgRect QtDialog::ItemRect(int id) const {
    QWidget* w = Item(id);
    if (!w) {
        return {};
    }
    const QRect r = w->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void QtDialog::MoveItem(int id, const DlgRect& rect) {
    if (QWidget* w = Item(id)) {
        w->setGeometry(rect.x, rect.y, rect.cx, rect.cy);
    }
}

void QtDialog::LimitText(int id, int nMaxChars) {
    if (QLineEdit* edit = LineEdit(Item(id))) {
        edit->setMaxLength(nMaxChars);
    }
}

void QtDialog::SetTextFilter(int id, TextFilter filter) {
    if (QLineEdit* edit = LineEdit(Item(id))) {
        edit->setValidator(filter ? new FilterValidator(filter, edit) : nullptr);
    }
}

void QtDialog::SetCheck(int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
        button->setCheckable(true);
        button->setChecked(checked);
    }
}

bool QtDialog::IsChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(Item(id));
    return button && button->isChecked();
}

void QtDialog::SetRedraw(int id, bool redraw) {
    if (QWidget* w = Item(id)) {
        w->setUpdatesEnabled(redraw);
        if (redraw) {
            w->repaint();
        }
    }
}

void QtDialog::SetTrackRange(int id, int nMin, int nMax) {
    if (auto* slider = qobject_cast<QSlider*>(Item(id))) {
        const QSignalBlocker block(slider);
        slider->setRange(nMin, nMax);
    }
}

void QtDialog::SetTrackPageSize(int id, int nPage) {
    if (auto* slider = qobject_cast<QSlider*>(Item(id))) {
        slider->setPageStep(nPage);
    }
}

void QtDialog::SetTrackPos(int id, int nPos) {
    if (auto* slider = qobject_cast<QSlider*>(Item(id))) {
        const QSignalBlocker block(slider);
        slider->setValue(nPos);
    }
}

int QtDialog::GetTrackPos(int id) const {
    auto* slider = qobject_cast<QSlider*>(Item(id));
    return slider ? slider->value() : 0;
}

void QtDialog::SetProgress(int id, int pos) {
    if (auto* bar = qobject_cast<QProgressBar*>(Item(id))) {
        // A bar ignores a value outside its range; the logic's is held at its ends instead.
        bar->setValue(std::clamp(pos, 0, PROGRESS_MAX));
    }
}

int QtDialog::GetProgress(int id) const {
    auto* bar = qobject_cast<QProgressBar*>(Item(id));
    return bar ? bar->value() : 0;
}

void QtDialog::SetItemAccessibleName(int id, const std::string& name) {
    if (QWidget* w = Item(id)) {
        SetAccessibleNameOf(w, QString::fromStdString(name));
    }
}

void QtDialog::SetItemAccessibleDescription(int id, const std::string& description) {
    if (QWidget* w = Item(id)) {
        AccessibleTarget(w)->setAccessibleDescription(QString::fromStdString(description));
    }
}

ILabelPreviewCtrl* QtDialog::LabelPreview(int id) {
    return qobject_cast<QtLabelPreview*>(Item(id));
}

IRichTextCtrl* QtDialog::RichText(int id) {
    return qobject_cast<QtRichTextView*>(Item(id));
}

IBrowseEditCtrl* QtDialog::BrowseEdit(int id) {
    return qobject_cast<QtEditBrowse*>(Item(id));
}

DlgSize QtDialog::ClientSize() const {
    return {m_root->width(), m_root->height()};
}

void QtDialog::ResizeClient(const DlgSize& size) {
    m_root->resize(size.cx, size.cy);
}

void QtDialog::MoveTo(int x, int y) {
    m_root->move(x, y);
}

void QtDialog::Show(bool show) {
    m_root->setVisible(show);
}

bool QtDialog::IsShown() const {
    return !m_root->isHidden();
}

void QtDialog::SetIcon(int nIconId) {
    if (nIconId == IDR_MAINFRAME) {
        m_root->setWindowIcon(AppIcon());
    }
}

void QtDialog::EndDialog(int result) {
    if (auto* dialog = qobject_cast<QDialog*>(m_root)) {
        dialog->done(result);
    }
}

IDialog* QtDialog::CreateChild(const DialogTemplate& tmpl, CDialogBase& logic) {
    auto* page = new QtPageWidget(m_root, tmpl);
    page->Dialog().Attach(logic);
    return &page->Dialog();
}

// A page is laid out in the templates' own dialog units (BuildDialog); it does not grow round
// its pictures.
DlgSize QtDialog::ChildClientSize(const DialogTemplate& tmpl) const {
    const DlgRect whole = DialogUnitsToPixels(kTemplateBaseUnits, 0, 0, tmpl.cx, tmpl.cy);
    return {whole.cx, whole.cy};
}

DlgRect QtDialog::ChildItemRect(const DialogTemplate& tmpl, int id) const {
    const ControlTemplate* c = tmpl.Find(id);
    return c ? DialogUnitsToPixels(kTemplateBaseUnits, c->x, c->y, c->cx, c->cy) : DlgRect{};
}

QtPageWidget::QtPageWidget(QWidget* parent, const DialogTemplate& tmpl) : QWidget(parent) {
    setVisible(false);
    // A page is opaque, like a child dialog: it covers what lies under it.
    setAutoFillBackground(true);
    BuildDialog(this, tmpl);
}

QtTopDialog::QtTopDialog(const DialogTemplate& tmpl, QWidget* parent) : QDialog(parent) {
    // The title bar's boxes as the template names them; the close box comes with the window
    // menu, as on Windows.
    Qt::WindowFlags flags = Qt::Window;
    const std::pair<std::uint32_t, Qt::WindowFlags> boxes[] = {
        {DlgFrame::Caption, Qt::WindowTitleHint},
        {DlgFrame::SystemMenu, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint},
        {DlgFrame::MinimizeBox, Qt::WindowMinimizeButtonHint},
        {DlgFrame::MaximizeBox, Qt::WindowMaximizeButtonHint},
    };
    for (const auto& [frame, hint] : boxes) {
        if (tmpl.frame & frame) {
            flags |= hint;
        }
    }
    setWindowFlags(flags);
    setWindowTitle(QString::fromStdString(tmpl.caption));
    BuildDialog(this, tmpl);
}

void QtTopDialog::keyPressEvent(QKeyEvent* event) {
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

void QtTopDialog::closeEvent(QCloseEvent* event) {
    if (CDialogBase* logic = m_dialog.Logic()) {
        logic->OnSysCommandClose();
    }
    // The window closes when the logic ended the run.
    if (isVisible()) {
        event->ignore();
    } else {
        event->accept();
    }
}

int RunQtModalDialog(CDialogBase& logic) {
    const DialogTemplate* tmpl = FindDialogTemplate(logic.DialogId());
    if (!tmpl) {
        return -1;
    }
    QtTopDialog dialog(*tmpl);
    dialog.Dialog().Attach(logic);
    return dialog.exec();
}

} // namespace brimwell
