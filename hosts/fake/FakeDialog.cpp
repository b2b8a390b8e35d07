#include "hosts/fake/FakeDialog.h"

#include "text/Utf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace brimwell::fake {
namespace {

// The dialog whose control took the keyboard focus last.
const FakeDialog* g_focusDialog = nullptr;

// A closed drop-down list is as high as the templates' edits; its template height is that of
// the dropped list.
constexpr int kClosedComboUnits = 14;

} // namespace

DlgRect TemplateRectInPixels(int x, int y, int cx, int cy) {
    return DialogUnitsToPixels(kTemplateBaseUnits, x, y, cx, cy);
}

namespace {

DlgRect ControlRectInPixels(const ControlTemplate& c) {
    return TemplateRectInPixels(c.x, c.y, c.cx,
                                c.cls == CtlClass::ComboBox ? kClosedComboUnits : c.cy);
}

} // namespace

std::int32_t FakeDialog::RichView::StreamIn(int nFormat, EditStream& es) {
    if (nFormat != STREAM_FORMAT_RTF && nFormat != STREAM_FORMAT_TEXT) {
        es.dwError = 0;
        return 0;
    }
    ++streams;
    format = nFormat;
    content = ReadEditStream(es);
    return static_cast<std::int32_t>(content.size());
}

FakeDialog::FakeDialog(const DialogTemplate& tmpl) {
    const DlgRect whole = TemplateRectInPixels(0, 0, tmpl.cx, tmpl.cy);
    size = {whole.cx, whole.cy};
    for (const ControlTemplate& c : tmpl.controls) {
        if (c.id == IDC_STATIC) {
            continue;
        }
        tabOrder.push_back(c.id);
        Item& item = items[c.id];
        item.cls = c.cls;
        item.style = c.style;
        item.text = c.text;
        item.shown = (c.style & CtlStyle::Hidden) == 0;
        item.rect = ControlRectInPixels(c);
        switch (c.cls) {
        case CtlClass::LabelPreview:
            item.preview = std::make_unique<Preview>();
            break;
        case CtlClass::RichEdit:
            item.richText = std::make_unique<RichView>();
            break;
        case CtlClass::EditBrowse:
            item.browse = std::make_unique<BrowseButton>();
            break;
        default:
            break;
        }
    }
}

FakeDialog::~FakeDialog() {
    children.clear();
    if (g_focusDialog == this) {
        g_focusDialog = nullptr;
    }
    if (m_logic) {
        m_logic->AttachDialog(nullptr);
    }
}

void FakeDialog::Create(CDialogBase& logic) {
    m_logic = &logic;
    logic.AttachDialog(this);
    logic.OnInitDialog();
}

IDialog* FakeDialog::CreateChild(const DialogTemplate& tmpl, CDialogBase& logic) {
    if (refuseChildren) {
        return nullptr;
    }
    children.push_back(std::make_unique<FakeDialog>(tmpl));
    FakeDialog* child = children.back().get();
    child->Create(logic);
    return child;
}

DlgSize FakeDialog::ChildClientSize(const DialogTemplate& tmpl) const {
    const DlgRect whole = TemplateRectInPixels(0, 0, tmpl.cx, tmpl.cy);
    return {whole.cx, whole.cy};
}

DlgRect FakeDialog::ChildItemRect(const DialogTemplate& tmpl, int id) const {
    const ControlTemplate* c = tmpl.Find(id);
    return c ? ControlRectInPixels(*c) : DlgRect{};
}

FakeDialog* FakeDialog::Child(const CDialogBase& logic) const {
    for (const auto& child : children) {
        if (child->m_logic == &logic) {
            return child.get();
        }
    }
    return nullptr;
}

FakeDialog::Item* FakeDialog::Find(int id) {
    auto it = items.find(id);
    return it == items.end() ? nullptr : &it->second;
}

const FakeDialog::Item* FakeDialog::Find(int id) const {
    auto it = items.find(id);
    return it == items.end() ? nullptr : &it->second;
}

FakeDialog::Item& FakeDialog::At(int id) {
    Item* item = Find(id);
    if (!item) {
        std::fprintf(stderr, "FakeDialog: no control %d\n", id);
        std::abort();
    }
    return *item;
}

bool FakeDialog::TakesInput(int id) const {
    const Item* item = Find(id);
    return item && item->enabled && item->shown;
}

void FakeDialog::Changed(int id) {
    if (m_logic) {
        m_logic->OnCommand(id, Notify::EditChanged);
    }
}

bool FakeDialog::Click(int id) {
    if (!TakesInput(id) || At(id).cls != CtlClass::Button) {
        return false;
    }
    if (m_logic) {
        m_logic->OnCommand(id, Notify::Clicked);
    }
    return true;
}

bool FakeDialog::Type(int id, const std::string& typed) {
    if (!TakesInput(id)) {
        return false;
    }
    Item& item = At(id);
    std::u16string text = Utf16FromUtf8(item.text);
    std::u16string insert = Utf16FromUtf8(typed);
    if (item.limit >= 0) {
        const std::size_t room =
            text.size() < static_cast<std::size_t>(item.limit) ? item.limit - text.size() : 0;
        insert.resize(std::min(insert.size(), room));
    }
    text += insert;
    std::size_t caret = text.size();
    if (item.filter) {
        item.filter(text, caret);
    }
    const std::string now = Utf8FromUtf16(text);
    if (now != item.text) {
        item.text = now;
        Changed(id);
    }
    return true;
}

bool FakeDialog::Retype(int id, const std::string& text) {
    if (!TakesInput(id)) {
        return false;
    }
    if (!At(id).text.empty()) {
        At(id).text.clear();
        Changed(id);
    }
    return Type(id, text);
}

bool FakeDialog::Choose(int id, int index) {
    if (!TakesInput(id)) {
        return false;
    }
    Item& item = At(id);
    if (index < 0 || index >= static_cast<int>(item.strings.size())) {
        return false;
    }
    item.curSel = index;
    if (m_logic) {
        m_logic->OnCommand(id, Notify::SelChange);
    }
    return true;
}

bool FakeDialog::Scroll(int id, int pos) {
    if (!TakesInput(id)) {
        return false;
    }
    Item& item = At(id);
    item.trackPos = std::clamp(pos, item.trackMin, std::max(item.trackMin, item.trackMax));
    if (m_logic) {
        m_logic->OnHScroll(id, item.trackPos);
    }
    return true;
}

bool FakeDialog::Browse(int id) {
    Item* item = Find(id);
    if (!TakesInput(id) || !item->browse || !item->browse->onBrowse) {
        return false;
    }
    item->browse->onBrowse();
    return true;
}

bool FakeDialog::TakeFocus(int id) {
    if (!TakesInput(id)) {
        return false;
    }
    Focus(id);
    return true;
}

void FakeDialog::Focus(int id) {
    focus = id;
    g_focusDialog = this;
}

int FakeDialog::FocusedItem() const {
    return g_focusDialog == this ? focus : 0;
}

void FakeDialog::Close() {
    if (m_logic) {
        m_logic->OnSysCommandClose();
    }
}

bool FakeDialog::HasItem(int id) const {
    return Find(id) != nullptr;
}

std::string FakeDialog::ItemText(int id) const {
    const Item* item = Find(id);
    if (item && item->cls == CtlClass::ComboBox) {
        // A drop-down list shows its chosen entry.
        return GetString(id, item->curSel);
    }
    return item ? item->text : std::string();
}

void FakeDialog::SetItemText(int id, const std::string& text) {
    Item* item = Find(id);
    if (!item || item->text == text) {
        return;
    }
    switch (item->cls) {
    case CtlClass::Static:
    case CtlClass::Button:
        item->text = text;
        break;
    case CtlClass::Edit:
    case CtlClass::EditBrowse:
        item->text = text;
        Changed(id);
        break;
    default: // the other controls show no text of their own
        break;
    }
}

void FakeDialog::EnableItem(int id, bool enable) {
    if (Item* item = Find(id)) {
        item->enabled = enable;
        if (!enable && focus == id) {
            focus = NextFocusable(id); // as a real host passes the focus of a disabled control on
        }
    }
}

bool FakeDialog::Focusable(int id) const {
    const Item* item = Find(id);
    return item && item->enabled && item->shown && (item->style & CtlStyle::TabStop) != 0;
}

int FakeDialog::NextFocusable(int id) const {
    const auto at = std::find(tabOrder.begin(), tabOrder.end(), id);
    if (at == tabOrder.end()) {
        return 0;
    }
    const auto start = static_cast<std::size_t>(at - tabOrder.begin());
    for (std::size_t step = 1; step < tabOrder.size(); ++step) {
        const int next = tabOrder[(start + step) % tabOrder.size()];
        if (Focusable(next)) {
            return next;
        }
    }
    return 0;
}

bool FakeDialog::IsItemEnabled(int id) const {
    const Item* item = Find(id);
    return item && item->enabled;
}

void FakeDialog::ShowItem(int id, bool show) {
    if (Item* item = Find(id)) {
        item->shown = show;
    }
}

bool FakeDialog::IsItemShown(int id) const {
    const Item* item = Find(id);
    return item && item->shown;
}

void FakeDialog::FocusItem(int id) {
    // A control that is enabled and shown takes it, a tab stop or not; any other hands it on to
    // the next tab stop that can take it, and with none the focus stays where it is.
    if (TakesInput(id)) {
        Focus(id);
    } else if (const int next = HasItem(id) ? NextFocusable(id) : 0) {
        Focus(next);
    }
}

void FakeDialog::SetProgress(int id, int pos) {
    Item* item = Find(id);
    if (item && item->cls == CtlClass::Progress) {
        item->progress = std::clamp(pos, 0, PROGRESS_MAX);
    }
}

int FakeDialog::GetProgress(int id) const {
    const Item* item = Find(id);
    return item && item->cls == CtlClass::Progress ? item->progress : 0;
}

DlgRect FakeDialog::ItemRect(int id) const {
    const Item* item = Find(id);
    return item ? item->rect : DlgRect{};
}

void FakeDialog::MoveItem(int id, const DlgRect& rect) {
    if (Item* item = Find(id)) {
        item->rect = rect;
    }
}

void FakeDialog::LimitText(int id, int nMaxChars) {
    if (Item* item = Find(id)) {
        item->limit = nMaxChars;
    }
}

void FakeDialog::SetTextFilter(int id, TextFilter filter) {
    if (Item* item = Find(id)) {
        item->filter = filter;
    }
}

void FakeDialog::SetCheck(int id, bool checked) {
    if (Item* item = Find(id)) {
        item->checked = checked;
    }
}

bool FakeDialog::IsChecked(int id) const {
    const Item* item = Find(id);
    return item && item->checked;
}

FakeDialog::Item* FakeDialog::FindList(int id) {
    Item* item = Find(id);
    return item && (item->cls == CtlClass::ListBox || item->cls == CtlClass::ComboBox) ? item
                                                                                       : nullptr;
}

const FakeDialog::Item* FakeDialog::FindList(int id) const {
    return const_cast<FakeDialog*>(this)->FindList(id);
}

void FakeDialog::ResetContent(int id) {
    if (Item* item = FindList(id)) {
        item->strings.clear();
        item->data.clear();
        item->curSel = -1;
    }
}

int FakeDialog::AddString(int id, const std::string& text) {
    Item* item = FindList(id);
    if (!item) {
        return -1;
    }
    item->strings.push_back(text);
    item->data.push_back(0);
    return static_cast<int>(item->strings.size()) - 1;
}

int FakeDialog::GetCount(int id) const {
    const Item* item = FindList(id);
    return item ? static_cast<int>(item->strings.size()) : 0;
}

std::string FakeDialog::GetString(int id, int index) const {
    const Item* item = FindList(id);
    if (!item || index < 0 || index >= static_cast<int>(item->strings.size())) {
        return {};
    }
    return item->strings[static_cast<std::size_t>(index)];
}

void FakeDialog::SetItemData(int id, int index, std::uintptr_t data) {
    Item* item = FindList(id);
    if (item && index >= 0 && index < static_cast<int>(item->data.size())) {
        item->data[static_cast<std::size_t>(index)] = data;
    }
}

std::uintptr_t FakeDialog::GetItemData(int id, int index) const {
    const Item* item = FindList(id);
    if (!item || index < 0 || index >= static_cast<int>(item->data.size())) {
        return 0;
    }
    return item->data[static_cast<std::size_t>(index)];
}

void FakeDialog::SetCurSel(int id, int index) {
    if (Item* item = FindList(id)) {
        item->curSel = index >= 0 && index < static_cast<int>(item->strings.size()) ? index : -1;
    }
}

int FakeDialog::GetCurSel(int id) const {
    const Item* item = FindList(id);
    return item ? item->curSel : -1;
}

void FakeDialog::SetRedraw(int id, bool redraw) {
    if (Item* item = Find(id)) {
        item->redrawOff += redraw ? -1 : 1;
    }
}

void FakeDialog::SetTrackRange(int id, int nMin, int nMax) {
    if (Item* item = Find(id)) {
        item->trackMin = nMin;
        item->trackMax = nMax;
        item->trackPos = std::clamp(item->trackPos, nMin, std::max(nMin, nMax));
    }
}

void FakeDialog::SetTrackPageSize(int id, int nPage) {
    if (Item* item = Find(id)) {
        item->trackPage = nPage;
    }
}

void FakeDialog::SetTrackPos(int id, int nPos) {
    if (Item* item = Find(id)) {
        item->trackPos = std::clamp(nPos, item->trackMin, std::max(item->trackMin, item->trackMax));
    }
}

int FakeDialog::GetTrackPos(int id) const {
    const Item* item = Find(id);
    return item ? item->trackPos : 0;
}

ILabelPreviewCtrl* FakeDialog::LabelPreview(int id) {
    Item* item = Find(id);
    return item ? item->preview.get() : nullptr;
}

IRichTextCtrl* FakeDialog::RichText(int id) {
    Item* item = Find(id);
    return item ? item->richText.get() : nullptr;
}

void FakeDialog::SetItemAccessibleName(int id, const std::string& name) {
    if (Item* item = Find(id)) {
        item->accessibleName = name;
    }
}

void FakeDialog::SetItemAccessibleDescription(int id, const std::string& description) {
    if (Item* item = Find(id)) {
        item->accessibleDescription = description;
    }
}

IBrowseEditCtrl* FakeDialog::BrowseEdit(int id) {
    Item* item = Find(id);
    return item ? item->browse.get() : nullptr;
}

} // namespace brimwell::fake
