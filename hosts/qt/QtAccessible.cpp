#include "hosts/qt/QtAccessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QItemSelectionModel>

namespace brimwell {
namespace {

// A drop-down list: its name is its label's, its value the chosen entry, its one child the
// list of entries; pressing it opens the list.
class ComboAccessible final : public QAccessibleWidget {
public:
    explicit ComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return Combo()->currentText();
        }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == Combo()->view() ? 0 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction()) {
            Combo()->showPopup();
        }
    }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("brimwell::QtLabelPreview")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    if (className == QLatin1String("QComboBox")) {
        if (auto* combo = qobject_cast<QComboBox*>(object); combo && !combo->isEditable()) {
            return new ComboAccessible(combo);
        }
    }
    return nullptr;
}

} // namespace

void SelectChosenEntryInList(QComboBox& combo) {
    if (QItemSelectionModel* selection = combo.view()->selectionModel()) {
        selection->setCurrentIndex(
            combo.model()->index(combo.currentIndex(), combo.modelColumn(), combo.rootModelIndex()),
            QItemSelectionModel::ClearAndSelect);
    }
}

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace brimwell
