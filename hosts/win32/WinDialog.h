#pragma once
// The Win32 host of the window logic: each dialog (the main window and every page) is made by
// the dialog manager from the shared template (WinDialogTemplate), and its dialog procedure
// turns the controls' notifications into the logic's calls. Its members are kept in three
// files: WinDialog.cpp (the window, its messages and the controls' text and state),
// WinDialogLayout.cpp (places and sizes at the window's DPI) and WinDialogLists.cpp (list
// boxes and combo boxes).
#include "hosts/win32/WinEditBrowse.h"
#include "hosts/win32/WinRichTextView.h"
#include "ui/DialogBase.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace brimwell {

// The messages a list control answers to, by its kind (WinDialogLists.cpp).
struct ListMessages;

class WinDialog final : public IDialog {
public:
    WinDialog(const DialogTemplate& tmpl, bool topLevel);
    ~WinDialog();
    WinDialog(const WinDialog&) = delete;
    WinDialog& operator=(const WinDialog&) = delete;

    // Creates the window (a modeless top-level dialog, or a hidden child of `parent`), attaches
    // `logic` and runs its OnInitDialog. False when the window cannot be made.
    bool Create(CDialogBase& logic, HWND parent);
    // Runs the top-level dialog modally; its result (-1 when it cannot be made).
    int RunModal(CDialogBase& logic);

    HWND Hwnd() const { return m_hwnd; }
    HWND Item(int id) const;
    CDialogBase* Logic() const { return m_logic; }
    // The result EndDialog was called with, or -1.
    int EndResult() const { return m_endResult; }
    const std::vector<std::unique_ptr<WinDialog>>& Children() const { return m_children; }

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
    // A control of the template, as the host keeps it.
    struct Control {
        int id = IDC_STATIC;
        CtlClass cls = CtlClass::Static;
        HWND hwnd = nullptr;
        TextFilter filter = nullptr;
        bool filtering = false; // the filter is putting its result back
        std::wstring lastText;  // an edit's text at its last notification
        std::unique_ptr<WinRichTextView> rich;
        std::unique_ptr<WinEditBrowse> browse;
        // What a screen reader is told besides what Windows finds itself: kept, as a rich-text
        // view gets a new window when it is first shown.
        std::wstring accessibleName;
        std::wstring accessibleDescription;
    };

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInit(HWND hwnd);
    void DetachLogic();

    // The dialog procedure, and its handler of each message that needs more than a line; a
    // handler's INT_PTR is the procedure's answer (TRUE: handled).
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnControlCommand(int id, int code, HWND control);
    void OnTrackbarScroll(HWND control);
    INT_PTR OnNotify(const NMHDR& header);
    INT_PTR OnSysCommand(WPARAM command);
    INT_PTR OnSetCursor();
    INT_PTR OnTimer(WPARAM timer);
    INT_PTR OnQueryEndSession();
    void OnDpiChanged(const RECT& suggested);
    // The window is gone (WM_NCDESTROY): nothing of it is kept.
    void ForgetWindow();

    // Makes the RichEdit of every rich-text view not yet made (the dialog is being shown).
    void RealizeRichText();
    static void Annotate(const Control& control);
    void RunFilter(Control& control);
    Control* Find(int id);
    const Control* Find(int id) const;
    // The messages of `control`'s kind; nullptr when it is no list box or combo box.
    static const ListMessages* ListMessagesOf(const Control* control);

    // The window's DPI, and sizes and places in its physical pixels (the interface's are
    // device-independent).
    int Dpi() const;
    RECT ItemPixels(const Control& control) const;
    SIZE ClientPixels() const;
    void ResizeClientPixels(SIZE size);
    // The pictures again at the window's DPI (after a move to a monitor with another DPI),
    // then the dialog grown to show them.
    void ShowPicturesAtDpi();
    // The dialog grows where a picture or a page would not show whole in it.
    void GrowToShowPictures();
    void GrowToShowPages();
    // A rectangle in dialog units of a template, in this dialog's physical pixels.
    RECT MapTemplateRect(int x, int y, int cx, int cy) const;
    void CentreOnMonitor();

    DialogTemplate m_tmpl;
    bool m_topLevel;
    bool m_modal = false;
    int m_iconId = 0;
    bool m_settingText = false;
    HWND m_hwnd = nullptr;
    CDialogBase* m_logic = nullptr;
    int m_endResult = -1;
    std::vector<Control> m_controls;
    std::vector<std::unique_ptr<WinDialog>> m_children;
};

// Runs `logic` in a modal top-level dialog made from its template: the ModalDialogRunner of
// the Windows program. The dialog's result, or -1 when it cannot be made.
int RunWinModalDialog(CDialogBase& logic);

// The window of the top-level dialog that is up (the main window), or nullptr: the owner of the
// message boxes and the window that shows why a running job holds the session up.
HWND MainWindow();

// With this set, a top-level dialog ends itself (with DLG_RESULT_CANCEL) as soon as it has
// been shown and painted and the program is idle: for timing the start-up.
void SetExitWhenIdle(bool exit);

} // namespace brimwell
