#pragma once
#include "ui/DialogBase.h"

#include <QDialog>
#include <QList>
#include <QWidget>
#include <utility>
#include <vector>

namespace brimwell {

// The calls a list control answers to, by its kind (QtDialogLists.cpp).
struct QtListCalls;

// The Qt host of one dialog's logic: the controls are the widgets DialogBuilder made from the
// template, found by control id among the root widget's children; Qt's signals become the
// logic's notifications (clicked, text changed, the user's choice in a list, slider moves).
// Its members are kept in two files: QtDialog.cpp and QtDialogLists.cpp (list boxes and combo
// boxes).
class QtDialog final : public IDialog {
public:
    explicit QtDialog(QWidget* root) : m_root(root) {}
    ~QtDialog();
    QtDialog(const QtDialog&) = delete;
    QtDialog& operator=(const QtDialog&) = delete;

    // Routes the controls' signals to `logic`, attaches it and runs its OnInitDialog.
    void Attach(CDialogBase& logic);
    CDialogBase* Logic() const { return m_logic; }
    QWidget* Root() const { return m_root; }

    bool HasItem(int id) const override;
    std::string ItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void ShowItem(int id, bool show) override;
    bool IsItemShown(int id) const override;
    void FocusItem(int id) override;
    int FocusedItem() const override;
    DlgRect ItemRect(int id) const override;
    void MoveItem(int id, const DlgRect& rect) override;
    void LimitText(int id, int nMaxChars) override;
    void SetTextFilter(int id, TextFilter filter) override;
    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void ResetContent(int id) override;
    int AddString(int id, const std::string& text) override;
    int GetCount(int id) const override;
    std::string GetString(int id, int index) const override;
    void SetItemData(int id, int index, std::uintptr_t data) override;
    std::uintptr_t GetItemData(int id, int index) const override;
    void SetCurSel(int id, int index) override;
    int GetCurSel(int id) const override;
    void SetRedraw(int id, bool redraw) override;
    void SetTrackRange(int id, int nMin, int nMax) override;
    void SetTrackPageSize(int id, int nPage) override;
    void SetTrackPos(int id, int nPos) override;
    int GetTrackPos(int id) const override;
    void SetProgress(int id, int pos) override;
    int GetProgress(int id) const override;
    void SetItemAccessibleName(int id, const std::string& name) override;
    void SetItemAccessibleDescription(int id, const std::string& description) override;
    ILabelPreviewCtrl* LabelPreview(int id) override;
    IRichTextCtrl* RichText(int id) override;
    IBrowseEditCtrl* BrowseEdit(int id) override;
    DlgSize ClientSize() const override;
    void ResizeClient(const DlgSize& size) override;
    void MoveTo(int x, int y) override;
    void Show(bool show) override;
    bool IsShown() const override;
    void SetIcon(int nIconId) override;
    void EndDialog(int result) override;
    IDialog* CreateChild(const DialogTemplate& tmpl, CDialogBase& logic) override;
    DlgSize ChildClientSize(const DialogTemplate& tmpl) const override;
    DlgRect ChildItemRect(const DialogTemplate& tmpl, int id) const override;
    void Detach() override { m_logic = nullptr; }

private:
    QWidget* Item(int id) const;
    // The control of this dialog that is `widget` or holds it (a browse edit's edit), or
    // nullptr when it lies outside them (another window, a page in this one).
    QWidget* ItemHolding(QWidget* widget) const;
    // Whether `widget`, a control or a widget inside one, can take the focus now: enabled, shown
    // within this dialog, and reached by Tab.
    bool TakesFocus(QWidget* widget) const;
    void ConnectControls();
    // The calls of `control`'s kind; nullptr when it is no list box or combo box.
    static const QtListCalls* ListCallsOf(const QWidget* control);

    QWidget* m_root;
    CDialogBase* m_logic = nullptr;
    QList<QMetaObject::Connection> m_connections;
    // The controls by id, in template order: made once, as a dialog's controls never change.
    std::vector<std::pair<int, QWidget*>> m_items;
};

// A page: a child window of the main window, opaque like a child dialog.
class QtPageWidget : public QWidget {
    Q_OBJECT
public:
    QtPageWidget(QWidget* parent, const DialogTemplate& tmpl);
    QtDialog& Dialog() { return m_dialog; }

private:
    QtDialog m_dialog{this};
};

// A top-level dialog run modally: Enter and Escape do nothing; the close command goes to the
// logic, which ends the run.
class QtTopDialog : public QDialog {
    Q_OBJECT
public:
    explicit QtTopDialog(const DialogTemplate& tmpl, QWidget* parent = nullptr);
    QtDialog& Dialog() { return m_dialog; }

protected:
    void accept() override {} // Enter does nothing
    void reject() override {} // Escape does nothing
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QtDialog m_dialog{this};
};

// Runs `logic` in a modal top-level dialog made from its template; the dialog's result.
int RunQtModalDialog(CDialogBase& logic);

} // namespace brimwell
