#pragma once
// A dialog host for tests: builds one record per template control, answers the logic's calls
// from those records, and plays the user's part (click, type, choose, scroll, browse, close)
// by delivering the notifications a real host would. No toolkit, no window.
#include "logo/LabelPreviewCtrl.h"
#include "ui/Dialog.h"
#include "ui/DialogBase.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brimwell::fake {

class FakeDialog final : public IDialog {
public:
    // The label preview: keeps what it was asked to draw.
    struct Preview final : ILabelPreviewCtrl {
        PreviewTextExtents LabelTextExtents() const override { return extents; }
        void SetSteps(std::vector<PreviewStep> s, const CLogoFmtHandler* l) override {
            steps = std::move(s);
            logo = l;
            ++draws;
        }
        // As a label font measures the texts: the cable line longest, the three "etc." alike.
        PreviewTextExtents extents{330, 130, 170, 50, 50, 50};
        std::vector<PreviewStep> steps;
        const CLogoFmtHandler* logo = nullptr;
        int draws = 0;
    };
    // The rich-text view: reads the stream as a real view does (refusing a format it does not
    // know) and keeps the bytes.
    struct RichView final : IRichTextCtrl {
        std::int32_t StreamIn(int nFormat, EditStream& es) override;
        std::string content;
        int format = 0;
        int streams = 0;
    };
    struct BrowseButton final : IBrowseEditCtrl {
        void SetBrowseHandler(std::function<void()> handler) override {
            onBrowse = std::move(handler);
        }
        void SetBrowseName(const std::string& n) override { name = n; }
        std::function<void()> onBrowse;
        std::string name;
    };

    struct Item {
        CtlClass cls = CtlClass::Static;
        std::uint32_t style = 0;
        std::string text;
        bool enabled = true;
        bool shown = true;
        DlgRect rect;
        int limit = -1; // characters; -1 none
        TextFilter filter = nullptr;
        bool checked = false;
        std::vector<std::string> strings;
        std::vector<std::uintptr_t> data;
        int curSel = -1;
        int redrawOff = 0; // SetRedraw(false) calls not yet matched
        std::string accessibleName;
        std::string accessibleDescription;
        int trackMin = 0, trackMax = 100, trackPage = 20, trackPos = 0;
        int progress = 0;
        std::unique_ptr<Preview> preview;
        std::unique_ptr<RichView> richText;
        std::unique_ptr<BrowseButton> browse;
    };

    // Builds the controls of `tmpl`, placed in pixels of the templates' 6 x 13 base units (a
    // drop-down list as high as its closed box), the dialog hidden.
    explicit FakeDialog(const DialogTemplate& tmpl);
    ~FakeDialog();
    FakeDialog(const FakeDialog&) = delete;
    FakeDialog& operator=(const FakeDialog&) = delete;

    // What a host does before a modal run: attaches `logic` and runs its OnInitDialog.
    void Create(CDialogBase& logic);

    // The user's part. Each returns false, and delivers nothing, when the control is missing,
    // disabled or hidden.
    bool Click(int id);
    // Types `text` at the end of an edit's text: cut to the limit, then filtered; EditChanged.
    bool Type(int id, const std::string& text);
    // Replaces an edit's whole text as the user would (select all, type).
    bool Retype(int id, const std::string& text);
    bool Choose(int id, int index);
    // Moves a trackbar's thumb to `pos` (kept inside the range): OnHScroll.
    bool Scroll(int id, int pos);
    bool Browse(int id);
    // Puts the keyboard focus on a control, as a click into it does.
    bool TakeFocus(int id);
    void Close();

    Item* Find(int id);
    const Item* Find(int id) const;
    Item& At(int id); // aborts the test program on a missing id
    FakeDialog* Child(const CDialogBase& logic) const;

    // IDialog
    bool HasItem(int id) const override;
    std::string ItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void ShowItem(int id, bool show) override;
    bool IsItemShown(int id) const override;
    void FocusItem(int id) override;
    // The focused control while the keyboard focus is in this dialog, else 0.
    int FocusedItem() const override;
    void SetProgress(int id, int pos) override;
    int GetProgress(int id) const override;
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
    void SetItemAccessibleName(int id, const std::string& name) override;
    void SetItemAccessibleDescription(int id, const std::string& description) override;
    ILabelPreviewCtrl* LabelPreview(int id) override;
    IRichTextCtrl* RichText(int id) override;
    IBrowseEditCtrl* BrowseEdit(int id) override;
    DlgSize ClientSize() const override { return size; }
    void ResizeClient(const DlgSize& s) override { size = s; }
    void MoveTo(int x, int y) override {
        left = x;
        top = y;
    }
    void Show(bool show) override { shown = show; }
    bool IsShown() const override { return shown; }
    void SetIcon(int nIconId) override { icon = nIconId; }
    void EndDialog(int result) override { endResult = result; }
    IDialog* CreateChild(const DialogTemplate& tmpl, CDialogBase& logic) override;
    DlgSize ChildClientSize(const DialogTemplate& tmpl) const override;
    DlgRect ChildItemRect(const DialogTemplate& tmpl, int id) const override;
    void Detach() override { m_logic = nullptr; }

    std::map<int, Item> items;
    std::vector<int> tabOrder; // the controls' ids in template order
    DlgSize size;
    int left = 0;
    int top = 0;
    bool shown = false;
    int icon = 0;
    // Id of the control that has or last had the focus in this dialog, 0 none. The keyboard
    // focus is one for all dialogs: it is in the dialog whose control took it last.
    int focus = 0;
    std::optional<int> endResult;
    std::vector<std::unique_ptr<FakeDialog>> children;
    // Set to make CreateChild fail.
    bool refuseChildren = false;

private:
    bool TakesInput(int id) const;
    bool Focusable(int id) const;
    // The next control after id, in template order and round again, that can take focus; 0.
    int NextFocusable(int id) const;
    void Changed(int id);
    // The item of a list box or a combo box; nullptr for any other id.
    Item* FindList(int id);
    const Item* FindList(int id) const;
    void Focus(int id);

    CDialogBase* m_logic = nullptr;
};

// A template rectangle in pixels of the templates' base units (6 x 13), as the Qt host places
// controls.
DlgRect TemplateRectInPixels(int x, int y, int cx, int cy);

} // namespace brimwell::fake
