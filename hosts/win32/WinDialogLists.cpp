// The list boxes and combo boxes of a WinDialog. Both kinds hold the same things (strings
// with a number each, one of them chosen) behind different message numbers: each call looks
// its control's messages up and sends the same.
#include "hosts/win32/WinDialog.h"

#include "platform/windows/WinText.h"

namespace brimwell {

struct ListMessages {
    UINT reset, add, count, textLen, text, setData, getData, setSel, getSel;
};

namespace {

constexpr ListMessages kComboBoxMessages{CB_RESETCONTENT, CB_ADDSTRING, CB_GETCOUNT,
                                         CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_SETITEMDATA,
                                         CB_GETITEMDATA,  CB_SETCURSEL, CB_GETCURSEL};
constexpr ListMessages kListBoxMessages{LB_RESETCONTENT, LB_ADDSTRING, LB_GETCOUNT,
                                        LB_GETTEXTLEN,   LB_GETTEXT,   LB_SETITEMDATA,
                                        LB_GETITEMDATA,  LB_SETCURSEL, LB_GETCURSEL};

} // namespace

const ListMessages* WinDialog::ListMessagesOf(const Control* control) {
    if (!control) {
        return nullptr;
    }
    switch (control->cls) {
    case CtlClass::ComboBox:
        return &kComboBoxMessages;
    case CtlClass::ListBox:
        return &kListBoxMessages;
    default:
        return nullptr;
    }
}

void WinDialog::ResetContent(int id) {
    const Control* control = Find(id);
    if (const ListMessages* list = ListMessagesOf(control)) {
        SendMessageW(control->hwnd, list->reset, 0, 0);
    }
}

int WinDialog::AddString(int id, const std::string& text) {
    const Control* control = Find(id);
    const ListMessages* list = ListMessagesOf(control);
    if (!list) {
        return -1;
    }
    const std::wstring wide = WideFromUtf8(text);
    const LRESULT index =
        SendMessageW(control->hwnd, list->add, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

int WinDialog::GetCount(int id) const {
    const Control* control = Find(id);
    const ListMessages* list = ListMessagesOf(control);
    const LRESULT count = list ? SendMessageW(control->hwnd, list->count, 0, 0) : 0;
    return count < 0 ? 0 : static_cast<int>(count);
}

std::string WinDialog::GetString(int id, int index) const {
    const Control* control = Find(id);
    const ListMessages* list = ListMessagesOf(control);
    if (!list || index < 0) {
        return {};
    }
    const LRESULT length =
        SendMessageW(control->hwnd, list->textLen, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control->hwnd, list->text, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return Utf8FromWide(text);
}

void WinDialog::SetItemData(int id, int index, std::uintptr_t data) {
    const Control* control = Find(id);
    const ListMessages* list = ListMessagesOf(control);
    if (list && index >= 0) {
        SendMessageW(control->hwnd, list->setData, static_cast<WPARAM>(index),
                     static_cast<LPARAM>(data));
    }
}

std::uintptr_t WinDialog::GetItemData(int id, int index) const {
    const Control* control = Find(id);
    const ListMessages* list = ListMessagesOf(control);
    if (!list || index < 0 || index >= GetCount(id)) {
        return 0;
    }
    const LRESULT data = SendMessageW(control->hwnd, list->getData, static_cast<WPARAM>(index), 0);
    // CB_ERR and LB_ERR (-1) read as none.
    return data == -1 ? 0 : static_cast<std::uintptr_t>(data);
}

void WinDialog::SetCurSel(int id, int index) {
    const Control* control = Find(id);
    // Selecting from code raises no notification in Win32.
    if (const ListMessages* list = ListMessagesOf(control)) {
        SendMessageW(control->hwnd, list->setSel, static_cast<WPARAM>(index), 0);
    }
}

int WinDialog::GetCurSel(int id) const {
    const Control* control = Find(id);
    const ListMessages* list = ListMessagesOf(control);
    const LRESULT index = list ? SendMessageW(control->hwnd, list->getSel, 0, 0) : -1;
    return index < 0 ? -1 : static_cast<int>(index);
}

} // namespace brimwell
