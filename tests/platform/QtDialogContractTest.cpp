// The dialog contract (support/DialogContract.h) on the Qt host: the dialog is a top-level
// QtTopDialog, and the user's part is played with key and click events on its widgets.
#include "hosts/qt/DialogBuilder.h"
#include "hosts/qt/QtDialog.h"
#include "hosts/qt/QtEditBrowse.h"
#include "support/DialogContract.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTest>

namespace brimwell::test {
namespace {

class QtHost {
public:
    QtHost(const DialogTemplate& tmpl, CDialogBase& logic) : m_window(tmpl) {
        m_window.setResult(-1);
        m_window.Dialog().Attach(logic);
    }
    IDialog& Dialog() { return m_window.Dialog(); }
    void Show() {
        m_window.show();
        QApplication::setActiveWindow(&m_window);
    }
    DlgRect TemplateRect(int x, int y, int cx, int cy) const {
        return DialogUnitsToPixels(kTemplateBaseUnits, x, y, cx, cy);
    }
    void Close() { m_window.close(); }
    int EndResult() const { return m_window.result(); }

    static bool Click(IDialog& dialog, int id) {
        auto* button = Usable<QAbstractButton>(dialog, id);
        if (button) {
            button->click();
        }
        return button;
    }
    static bool Type(IDialog& dialog, int id, const std::string& text) {
        QLineEdit* edit = EditAtEnd(dialog, id);
        if (edit) {
            QTest::keyClicks(edit, QString::fromStdString(text));
        }
        return edit;
    }
    static bool Paste(IDialog& dialog, int id, const std::string& text) {
        QLineEdit* edit = EditAtEnd(dialog, id);
        if (edit) {
            edit->insert(QString::fromStdString(text));
        }
        return edit;
    }
    static bool ChooseNext(IDialog& dialog, int id) {
        QWidget* list = Usable<QListWidget>(dialog, id);
        if (!list) {
            list = Usable<QComboBox>(dialog, id);
        }
        if (list) {
            QTest::keyClick(list, Qt::Key_Down);
        }
        return list;
    }
    static bool Step(IDialog& dialog, int id, TrackStep step) {
        auto* slider = Usable<QSlider>(dialog, id);
        if (!slider) {
            return false;
        }
        // The keys of Up, Down, PageUp, PageDown, ToMin and ToMax, in TrackStep's order.
        static const Qt::Key kKeys[] = {Qt::Key_Right,    Qt::Key_Left, Qt::Key_PageUp,
                                        Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        const Qt::Key key = kKeys[static_cast<int>(step)];
        QTest::keyClick(slider, key);
        return true;
    }
    static bool Browse(IDialog& dialog, int id) {
        auto* browse = Usable<QtEditBrowse>(dialog, id);
        if (!browse || !browse->BrowseButton()->isEnabled()) {
            return false;
        }
        browse->BrowseButton()->click();
        return true;
    }
    static bool FocusByUser(IDialog& dialog, int id) {
        QWidget* control = Usable<QWidget>(dialog, id);
        if (control) {
            control->setFocus(Qt::MouseFocusReason);
        }
        return control;
    }

private:
    // The control, when the user can reach it: enabled and not hidden.
    template <class T>
    static T* Usable(IDialog& dialog, int id) {
        T* control = GetDlgItemAs<T>(static_cast<QtDialog&>(dialog).Root(), id);
        return control && control->isEnabled() && !control->isHidden() ? control : nullptr;
    }
    static QLineEdit* EditAtEnd(IDialog& dialog, int id) {
        QLineEdit* edit = Usable<QLineEdit>(dialog, id);
        if (auto* browse = Usable<QtEditBrowse>(dialog, id)) {
            edit = browse->Edit();
        }
        if (edit) {
            edit->end(false);
        }
        return edit;
    }

    QtTopDialog m_window;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, DialogContract, QtHost);

} // namespace
} // namespace brimwell::test
