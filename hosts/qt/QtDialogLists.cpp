// The list boxes and combo boxes of a QtDialog. Both kinds hold the same things (strings with
// a number each, one of them chosen) behind different widget calls: each call looks its
// control's calls up and makes the same. Changes made here raise no signal, so the logic hears
// only the user's choices.
#include "hosts/qt/QtDialog.h"

#include "hosts/qt/QtAccessible.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace brimwell {

struct QtListCalls {
    void (*reset)(QWidget* list);
    void (*add)(QWidget* list, const QString& text);
    int (*count)(const QWidget* list);
    QString (*text)(const QWidget* list, int index);
    void (*setData)(QWidget* list, int index, quintptr data);
    quintptr (*data)(const QWidget* list, int index);
    void (*setCurrent)(QWidget* list, int index);
    int (*current)(const QWidget* list);
};

namespace {

QComboBox& Combo(QWidget* w) {
    return *static_cast<QComboBox*>(w);
}
const QComboBox& Combo(const QWidget* w) {
    return *static_cast<const QComboBox*>(w);
}
QListWidget& List(QWidget* w) {
    return *static_cast<QListWidget*>(w);
}
const QListWidget& List(const QWidget* w) {
    return *static_cast<const QListWidget*>(w);
}

// After every change of a combo box's entries or choice, its chosen entry is selected in its
// list too, where a screen reader finds it; the first entry added is chosen.
constexpr QtListCalls kComboBoxCalls{
    [](QWidget* w) {
        Combo(w).clear();
        SelectChosenEntryInList(Combo(w));
    },
    [](QWidget* w, const QString& text) {
        Combo(w).addItem(text);
        SelectChosenEntryInList(Combo(w));
    },
    [](const QWidget* w) { return Combo(w).count(); },
    [](const QWidget* w, int index) { return Combo(w).itemText(index); },
    [](QWidget* w, int index, quintptr data) {
        Combo(w).setItemData(index, QVariant::fromValue(data));
    },
    [](const QWidget* w, int index) { return Combo(w).itemData(index).value<quintptr>(); },
    [](QWidget* w, int index) {
        Combo(w).setCurrentIndex(index);
        SelectChosenEntryInList(Combo(w));
    },
    [](const QWidget* w) { return Combo(w).currentIndex(); },
};

// An entry's number is kept in its item's user data.
constexpr QtListCalls kListBoxCalls{
    [](QWidget* w) { List(w).clear(); },
    [](QWidget* w, const QString& text) { List(w).addItem(text); },
    [](const QWidget* w) { return List(w).count(); },
    [](const QWidget* w, int index) {
        const QListWidgetItem* item = List(w).item(index);
        return item ? item->text() : QString();
    },
    [](QWidget* w, int index, quintptr data) {
        if (QListWidgetItem* item = List(w).item(index)) {
            item->setData(Qt::UserRole, QVariant::fromValue(data));
        }
    },
    [](const QWidget* w, int index) {
        const QListWidgetItem* item = List(w).item(index);
        return item ? item->data(Qt::UserRole).value<quintptr>() : quintptr{0};
    },
    [](QWidget* w, int index) { List(w).setCurrentRow(index); },
    [](const QWidget* w) { return List(w).currentRow(); },
};

} // namespace

const QtListCalls* QtDialog::ListCallsOf(const QWidget* control) {
    if (qobject_cast<const QComboBox*>(control)) {
        return &kComboBoxCalls;
    }
    if (qobject_cast<const QListWidget*>(control)) {
        return &kListBoxCalls;
    }
    return nullptr;
}

void QtDialog::ResetContent(int id) {
    QWidget* w = Item(id);
    if (const QtListCalls* list = ListCallsOf(w)) {
        const QSignalBlocker block(w);
        list->reset(w);
    }
}

int QtDialog::AddString(int id, const std::string& text) {
    QWidget* w = Item(id);
    const QtListCalls* list = ListCallsOf(w);
    if (!list) {
        return -1;
    }
    const QSignalBlocker block(w);
    list->add(w, QString::fromStdString(text));
    return list->count(w) - 1;
}

int QtDialog::GetCount(int id) const {
    QWidget* w = Item(id);
    const QtListCalls* list = ListCallsOf(w);
    return list ? list->count(w) : 0;
}

std::string QtDialog::GetString(int id, int index) const {
    QWidget* w = Item(id);
    const QtListCalls* list = ListCallsOf(w);
    return list ? list->text(w, index).toStdString() : std::string();
}

void QtDialog::SetItemData(int id, int index, std::uintptr_t data) {
    QWidget* w = Item(id);
    if (const QtListCalls* list = ListCallsOf(w)) {
        list->setData(w, index, static_cast<quintptr>(data));
    }
}

std::uintptr_t QtDialog::GetItemData(int id, int index) const {
    QWidget* w = Item(id);
    const QtListCalls* list = ListCallsOf(w);
    return list ? static_cast<std::uintptr_t>(list->data(w, index)) : 0;
}

void QtDialog::SetCurSel(int id, int index) {
    QWidget* w = Item(id);
    if (const QtListCalls* list = ListCallsOf(w)) {
        const QSignalBlocker block(w);
        list->setCurrent(w, index);
    }
}

int QtDialog::GetCurSel(int id) const {
    QWidget* w = Item(id);
    const QtListCalls* list = ListCallsOf(w);
    return list ? list->current(w) : -1;
}

} // namespace brimwell
