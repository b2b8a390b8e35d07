#include "ui/DialogBase.h"

namespace brimwell {
namespace {

// The dialog of logic that has no window: no controls, and nothing happens.
class NoDialog final : public IDialog {
public:
    bool HasItem(int) const override { return false; }
    std::string ItemText(int) const override { return {}; }
    void SetItemText(int, const std::string&) override {}
    void EnableItem(int, bool) override {}
    bool IsItemEnabled(int) const override { return false; }
    void ShowItem(int, bool) override {}
    bool IsItemShown(int) const override { return false; }
    void FocusItem(int) override {}
    int FocusedItem() const override { return 0; }
    DlgRect ItemRect(int) const override { return {}; }
    void MoveItem(int, const DlgRect&) override {}
    void LimitText(int, int) override {}
    void SetTextFilter(int, TextFilter) override {}
    void SetCheck(int, bool) override {}
    bool IsChecked(int) const override { return false; }
    void ResetContent(int) override {}
    int AddString(int, const std::string&) override { return -1; }
    int GetCount(int) const override { return 0; }
    std::string GetString(int, int) const override { return {}; }
    void SetItemData(int, int, std::uintptr_t) override {}
    std::uintptr_t GetItemData(int, int) const override { return 0; }
    void SetCurSel(int, int) override {}
    int GetCurSel(int) const override { return -1; }
    void SetRedraw(int, bool) override {}
    void SetTrackRange(int, int, int) override {}
    void SetTrackPageSize(int, int) override {}
    void SetTrackPos(int, int) override {}
    int GetTrackPos(int) const override { return 0; }
    void SetProgress(int, int) override {}
    int GetProgress(int) const override { return 0; }
    void SetItemAccessibleName(int, const std::string&) override {}
    void SetItemAccessibleDescription(int, const std::string&) override {}
    ILabelPreviewCtrl* LabelPreview(int) override { return nullptr; }
    IRichTextCtrl* RichText(int) override { return nullptr; }
    IBrowseEditCtrl* BrowseEdit(int) override { return nullptr; }
    DlgSize ClientSize() const override { return {}; }
    void ResizeClient(const DlgSize&) override {}
    void MoveTo(int, int) override {}
    void Show(bool) override {}
    bool IsShown() const override { return false; }
    void SetIcon(int) override {}
    void EndDialog(int) override {}
    IDialog* CreateChild(const DialogTemplate&, CDialogBase&) override { return nullptr; }
    DlgSize ChildClientSize(const DialogTemplate&) const override { return {}; }
    DlgRect ChildItemRect(const DialogTemplate&, int) const override { return {}; }
    void Detach() override {}
};

} // namespace

CDialogBase::~CDialogBase() {
    if (m_pDlg) {
        m_pDlg->Detach();
    }
}

IDialog& CDialogBase::Dialog() const {
    static NoDialog none;
    return m_pDlg ? *m_pDlg : static_cast<IDialog&>(none);
}

} // namespace brimwell
