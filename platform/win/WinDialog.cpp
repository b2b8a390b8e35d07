#include "platform/win/WinDialog.h"

#include "platform/win/WinDialogTemplate.h"
#include "platform/win/WinDpi.h"
#include "platform/win/WinServices.h"
#include "platform/win/WinText.h"

#include <commctrl.h>

#include <algorithm>

namespace brimwell {
namespace {

constexpr UINT_PTR kIdleTimer = 0xB1D1;
bool g_exitWhenIdle = false;

HINSTANCE ThisModule() {
    return GetModuleHandleW(nullptr);
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return text;
}

bool IsEditClass(CtlClass cls) {
    return cls == CtlClass::Edit || cls == CtlClass::EditBrowse;
}

RECT ScreenRectIn(HWND hwnd, HWND parent) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Centres a top-level window on the work area of its monitor.
void CentreOnMonitor(HWND hwnd) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info)) {
        return;
    }
    const RECT& work = info.rcWork;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int x = work.left + std::max(0L, (work.right - work.left - width) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// The browse button of a file-browse edit: enabled while it has a handler (and the edit is
// enabled); the click runs the handler.
class WinDialog::BrowseButton final : public IBrowseEditCtrl {
public:
    BrowseButton(HWND edit, HWND button) : m_edit(edit), m_button(button) {}
    void SetBrowseHandler(std::function<void()> onBrowse) override {
        m_onBrowse = std::move(onBrowse);
        UpdateButton();
    }
    void UpdateButton() const { EnableWindow(m_button, m_onBrowse && IsWindowEnabled(m_edit)); }
    void Click() const {
        if (m_onBrowse) {
            const std::function<void()> run = m_onBrowse;
            run();
        }
    }
    HWND Button() const { return m_button; }

private:
    HWND m_edit;
    HWND m_button;
    std::function<void()> m_onBrowse;
};

struct WinDialog::Control {
    int id = IDC_STATIC;
    CtlClass cls = CtlClass::Static;
    HWND hwnd = nullptr;
    TextFilter filter = nullptr;
    bool filtering = false; // the filter is putting its result back
    std::wstring lastText;  // an edit's text at its last notification
    std::unique_ptr<WinRichText> rich;
    std::unique_ptr<BrowseButton> browse;
};

WinDialog::WinDialog(const DialogTemplate& tmpl, bool topLevel)
    : m_tmpl(tmpl), m_topLevel(topLevel) {}

WinDialog::~WinDialog() {
    if (m_hwnd && !m_modal) {
        DestroyWindow(m_hwnd); // detaches this and every child page from its logic
    }
    if (m_logic) {
        m_logic->AttachDialog(nullptr);
        m_logic = nullptr;
    }
}

bool WinDialog::Create(CDialogBase& logic, HWND parent) {
    RegisterWinControls();
    m_logic = &logic;
    const std::vector<std::uint16_t> bytes =
        BuildDialogTemplateEx(m_tmpl, m_topLevel ? DialogKind::TopLevel : DialogKind::Child);
    HWND hwnd =
        CreateDialogIndirectParamW(ThisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                   parent, &WinDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) {
        m_logic = nullptr;
        return false;
    }
    return true;
}

int WinDialog::RunModal(CDialogBase& logic) {
    RegisterWinControls();
    m_logic = &logic;
    m_modal = true;
    const std::vector<std::uint16_t> bytes = BuildDialogTemplateEx(m_tmpl, DialogKind::TopLevel);
    const INT_PTR result =
        DialogBoxIndirectParamW(ThisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                nullptr, &WinDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return static_cast<int>(result);
}

INT_PTR CALLBACK WinDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<WinDialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->OnInit(hwnd);
        // A page leaves the focus where it is; the main window lets the dialog manager put
        // it on its first control.
        return self->m_topLevel ? TRUE : FALSE;
    }
    auto* self = reinterpret_cast<WinDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) {
        return FALSE;
    }
    return self->OnMessage(msg, wParam, lParam);
}

void WinDialog::OnInit(HWND hwnd) {
    m_hwnd = hwnd;
    m_controls.clear();
    for (const ControlTemplate& c : m_tmpl.controls) {
        if (c.id == IDC_STATIC) {
            continue;
        }
        Control control;
        control.id = c.id;
        control.cls = c.cls;
        control.hwnd = GetDlgItem(hwnd, c.id);
        if (!control.hwnd) {
            continue;
        }
        if (c.cls == CtlClass::Static && (c.style & CtlStyle::Bitmap)) {
            if (HBITMAP picture = LoadPictureDib(c.imageId)) {
                SendMessageW(control.hwnd, STM_SETIMAGE, IMAGE_BITMAP,
                             reinterpret_cast<LPARAM>(picture));
            }
            // A picture stands over what it overlaps (the banner over the about text).
            SetWindowPos(control.hwnd, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        } else if (c.cls == CtlClass::RichEdit) {
            // A stand-in until the dialog is first shown.
            control.rich = std::make_unique<WinRichText>(control.hwnd, RichEditStyle(c));
        } else if (c.cls == CtlClass::EditBrowse) {
            control.browse = std::make_unique<BrowseButton>(control.hwnd,
                                                            GetDlgItem(hwnd, BrowseButtonId(c.id)));
        }
        if (IsEditClass(c.cls)) {
            control.lastText = WindowText(control.hwnd);
        }
        m_controls.push_back(std::move(control));
    }
    HoldPicturesWhole();
    if (m_logic) {
        m_logic->AttachDialog(this);
        m_logic->OnInitDialog();
    }
    if (m_topLevel) {
        // Focus rectangles and keyboard cues shown from the start, not only once a key has
        // been pressed: the focused function list shows which row has the focus.
        SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                     0);
        HoldPagesWhole();
        CentreOnMonitor(hwnd);
        if (g_exitWhenIdle) {
            // A timer message comes only once nothing else, painting included, is pending.
            SetTimer(hwnd, kIdleTimer, 1, nullptr);
        }
    }
}

void WinDialog::HoldPicturesWhole() {
    // A picture static takes its picture's size, which is never scaled; where the dialog
    // font's units make the dialog smaller than the picture with the template's margin round
    // it, the dialog grows to show it whole.
    const SIZE client = ClientPixels();
    SIZE need = client;
    for (const ControlTemplate& c : m_tmpl.controls) {
        const Control* control = Find(c.id);
        if (!control || c.cls != CtlClass::Static || !(c.style & CtlStyle::Bitmap)) {
            continue;
        }
        RECT margin{0, 0, std::max(0, m_tmpl.cx - c.x - c.cx), std::max(0, m_tmpl.cy - c.y - c.cy)};
        MapDialogRect(m_hwnd, &margin);
        const RECT picture = ScreenRectIn(control->hwnd, m_hwnd);
        need.cx = std::max<LONG>(need.cx, picture.right + margin.right);
        need.cy = std::max<LONG>(need.cy, picture.bottom + margin.bottom);
    }
    if (need.cx != client.cx || need.cy != client.cy) {
        ResizeClientPixels(need);
    }
}

void WinDialog::HoldPagesWhole() {
    // The main window shows every page whole, also one that grew past the template's size
    // (a picture, the logo pages' preview).
    const SIZE client = ClientPixels();
    SIZE need = client;
    for (const auto& child : m_children) {
        if (child->m_hwnd) {
            const RECT page = ScreenRectIn(child->m_hwnd, m_hwnd);
            need.cx = std::max<LONG>(need.cx, page.right);
            need.cy = std::max<LONG>(need.cy, page.bottom);
        }
    }
    if (need.cx != client.cx || need.cy != client.cy) {
        ResizeClientPixels(need);
    }
}

INT_PTR WinDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (lParam == 0) {
            // IDOK and IDCANCEL from Enter and Escape (and the close of a dialog without a
            // close handler): nothing happens.
            return TRUE;
        }
        OnControlCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_HSCROLL:
        if (lParam != 0) {
            HWND control = reinterpret_cast<HWND>(lParam);
            const int id = GetDlgCtrlID(control);
            const Control* found = Find(id);
            if (found && found->cls == CtlClass::Trackbar && m_logic) {
                m_logic->OnHScroll(id, static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0)));
            }
        }
        return TRUE;
    case WM_SHOWWINDOW:
        if (wParam) {
            RealizeRichText();
        }
        return FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->code == EN_LINK) {
            const Control* control = Find(static_cast<int>(header->idFrom));
            if (control && control->rich && control->hwnd == header->hwndFrom &&
                OnRichEditLink(*reinterpret_cast<const ENLINK*>(lParam))) {
                // Handled: the control does not go on with the click.
                SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, 1);
                return TRUE;
            }
        }
        return FALSE;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            if (m_logic) {
                m_logic->OnSysCommandClose();
            }
            SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        // A close that did not come through the window menu (the session, another program).
        if (m_topLevel && m_logic) {
            m_logic->OnSysCommandClose();
        }
        return TRUE;
    case WM_SETCURSOR:
        if (WaitCursorShown()) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_TIMER:
        if (wParam == kIdleTimer) {
            KillTimer(m_hwnd, kIdleTimer);
            EndDialog(DLG_RESULT_CANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (m_logic) {
            m_logic->AttachDialog(nullptr);
            m_logic = nullptr;
        }
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
        m_hwnd = nullptr;
        m_controls.clear();
        return FALSE;
    default:
        return FALSE;
    }
}

void WinDialog::RealizeRichText() {
    for (Control& control : m_controls) {
        if (control.rich && !control.rich->Realized() && control.rich->Realize()) {
            control.hwnd = control.rich->Hwnd();
        }
    }
}

void WinDialog::OnControlCommand(int id, int code, HWND hwnd) {
    for (Control& control : m_controls) {
        if (control.browse && control.browse->Button() == hwnd) {
            if (code == BN_CLICKED) {
                control.browse->Click();
            }
            return;
        }
    }
    Control* control = Find(id);
    if (!control || control->hwnd != hwnd) {
        return;
    }
    switch (control->cls) {
    case CtlClass::Button:
        if (code == BN_CLICKED && m_logic) {
            m_logic->OnCommand(id, Notify::Clicked);
        }
        break;
    case CtlClass::Edit:
    case CtlClass::EditBrowse:
        if (code != EN_CHANGE || control->filtering) {
            break;
        }
        if (control->filter && !m_settingText) {
            RunFilter(*control);
        }
        {
            std::wstring now = WindowText(control->hwnd);
            if (now == control->lastText) {
                break; // the filter took the change back
            }
            control->lastText = std::move(now);
        }
        if (m_logic) {
            m_logic->OnCommand(id, Notify::EditChanged);
        }
        break;
    case CtlClass::ListBox:
        if (code == LBN_SELCHANGE && m_logic) {
            m_logic->OnCommand(id, Notify::SelChange);
        }
        break;
    case CtlClass::ComboBox:
        if (code == CBN_SELCHANGE && m_logic) {
            m_logic->OnCommand(id, Notify::SelChange);
        }
        break;
    default:
        break;
    }
}

void WinDialog::RunFilter(Control& control) {
    const std::wstring before = WindowText(control.hwnd);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(control.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    std::u16string text(before.begin(), before.end());
    std::size_t caret = std::min<std::size_t>(end, text.size());
    control.filter(text, caret);
    const std::wstring after(text.begin(), text.end());
    caret = std::min(caret, after.size());
    if (after != before) {
        control.filtering = true;
        SetWindowTextW(control.hwnd, after.c_str());
        control.filtering = false;
    }
    if (after != before || caret != end) {
        SendMessageW(control.hwnd, EM_SETSEL, caret, caret);
    }
}

WinDialog::Control* WinDialog::Find(int id) {
    if (id == IDC_STATIC) {
        return nullptr;
    }
    for (Control& control : m_controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

const WinDialog::Control* WinDialog::Find(int id) const {
    return const_cast<WinDialog*>(this)->Find(id);
}

HWND WinDialog::Item(int id) const {
    const Control* control = Find(id);
    return control ? control->hwnd : nullptr;
}

bool WinDialog::HasItem(int id) const {
    return Item(id) != nullptr;
}

std::string WinDialog::ItemText(int id) const {
    const Control* control = Find(id);
    if (!control || control->cls == CtlClass::ListBox || control->cls == CtlClass::RichEdit) {
        return {};
    }
    return Utf8FromWide(WindowText(control->hwnd));
}

void WinDialog::SetItemText(int id, const std::string& text) {
    Control* control = Find(id);
    if (!control) {
        return;
    }
    const std::wstring wide = WideFromUtf8(text);
    switch (control->cls) {
    case CtlClass::Edit:
    case CtlClass::EditBrowse:
        // The same text again changes nothing and tells nobody.
        if (WindowText(control->hwnd) == wide) {
            return;
        }
        m_settingText = true;
        SetWindowTextW(control->hwnd, wide.c_str());
        m_settingText = false;
        break;
    case CtlClass::Static:
    case CtlClass::Button:
        SetWindowTextW(control->hwnd, wide.c_str());
        break;
    default:
        break;
    }
}

void WinDialog::EnableItem(int id, bool enable) {
    Control* control = Find(id);
    if (!control) {
        return;
    }
    EnableWindow(control->hwnd, enable);
    if (control->browse) {
        control->browse->UpdateButton();
    }
}

bool WinDialog::IsItemEnabled(int id) const {
    HWND hwnd = Item(id);
    return hwnd && IsWindowEnabled(hwnd);
}

void WinDialog::ShowItem(int id, bool show) {
    Control* control = Find(id);
    if (!control) {
        return;
    }
    ShowWindow(control->hwnd, show ? SW_SHOWNA : SW_HIDE);
    if (control->browse) {
        ShowWindow(control->browse->Button(), show ? SW_SHOWNA : SW_HIDE);
    }
}

bool WinDialog::IsItemShown(int id) const {
    HWND hwnd = Item(id);
    return hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void WinDialog::FocusItem(int id) {
    if (HWND hwnd = Item(id)) {
        // Through the dialog manager, so that the default button follows the focus.
        HWND root = GetAncestor(m_hwnd, GA_ROOT);
        SendMessageW(root ? root : m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), TRUE);
    }
}

int WinDialog::Dpi() const {
    return WindowDpi(m_hwnd);
}

RECT WinDialog::ItemPixels(const Control& control) const {
    RECT r = ScreenRectIn(control.hwnd, m_hwnd);
    if (control.browse) {
        const RECT button = ScreenRectIn(control.browse->Button(), m_hwnd);
        UnionRect(&r, &r, &button);
    }
    return r;
}

DlgRect WinDialog::ItemRect(int id) const {
    const Control* control = Find(id);
    if (!control) {
        return {};
    }
    const RECT r = ItemPixels(*control);
    const int dpi = Dpi();
    return {DipFromPhysical(r.left, dpi), DipFromPhysical(r.top, dpi),
            DipFromPhysical(r.right - r.left, dpi), DipFromPhysical(r.bottom - r.top, dpi)};
}

void WinDialog::MoveItem(int id, const DlgRect& rect) {
    const Control* control = Find(id);
    if (!control) {
        return;
    }
    // The place and the size each scaled (so that 610 device-independent pixels are 915
    // physical ones at 144 DPI, wherever the control stands), and each kept as it is where
    // the logic left it as it read it.
    const RECT now = ItemPixels(*control);
    const int dpi = Dpi();
    const int left = PhysicalKeeping(rect.x, now.left, dpi);
    const int top = PhysicalKeeping(rect.y, now.top, dpi);
    const int width = std::max(0, PhysicalKeeping(rect.cx, now.right - now.left, dpi));
    const int height = std::max(0, PhysicalKeeping(rect.cy, now.bottom - now.top, dpi));
    if (control->browse) {
        const RECT button = ScreenRectIn(control->browse->Button(), m_hwnd);
        const int buttonWidth = std::min<int>(button.right - button.left, width / 2);
        MoveWindow(control->hwnd, left, top, width - buttonWidth, height, TRUE);
        MoveWindow(control->browse->Button(), left + width - buttonWidth, top, buttonWidth, height,
                   TRUE);
        return;
    }
    MoveWindow(control->hwnd, left, top, width, height, TRUE);
}

void WinDialog::LimitText(int id, int nMaxChars) {
    const Control* control = Find(id);
    if (control && IsEditClass(control->cls)) {
        SendMessageW(control->hwnd, EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, nMaxChars)), 0);
    }
}

void WinDialog::SetTextFilter(int id, TextFilter filter) {
    Control* control = Find(id);
    if (control && IsEditClass(control->cls)) {
        control->filter = filter;
    }
}

void WinDialog::SetCheck(int id, bool checked) {
    const Control* control = Find(id);
    if (control && control->cls == CtlClass::Button) {
        SendMessageW(control->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool WinDialog::IsChecked(int id) const {
    const Control* control = Find(id);
    return control && control->cls == CtlClass::Button &&
           SendMessageW(control->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WinDialog::ResetContent(int id) {
    const Control* control = Find(id);
    if (!control) {
        return;
    }
    if (control->cls == CtlClass::ComboBox) {
        SendMessageW(control->hwnd, CB_RESETCONTENT, 0, 0);
    } else if (control->cls == CtlClass::ListBox) {
        SendMessageW(control->hwnd, LB_RESETCONTENT, 0, 0);
    }
}

int WinDialog::AddString(int id, const std::string& text) {
    const Control* control = Find(id);
    if (!control) {
        return -1;
    }
    const std::wstring wide = WideFromUtf8(text);
    LRESULT index = -1;
    if (control->cls == CtlClass::ComboBox) {
        index =
            SendMessageW(control->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    } else if (control->cls == CtlClass::ListBox) {
        index =
            SendMessageW(control->hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    return index < 0 ? -1 : static_cast<int>(index);
}

int WinDialog::GetCount(int id) const {
    const Control* control = Find(id);
    if (!control) {
        return 0;
    }
    LRESULT count = 0;
    if (control->cls == CtlClass::ComboBox) {
        count = SendMessageW(control->hwnd, CB_GETCOUNT, 0, 0);
    } else if (control->cls == CtlClass::ListBox) {
        count = SendMessageW(control->hwnd, LB_GETCOUNT, 0, 0);
    }
    return count < 0 ? 0 : static_cast<int>(count);
}

std::string WinDialog::GetString(int id, int index) const {
    const Control* control = Find(id);
    if (!control || index < 0) {
        return {};
    }
    UINT lengthMsg = 0;
    UINT textMsg = 0;
    if (control->cls == CtlClass::ComboBox) {
        lengthMsg = CB_GETLBTEXTLEN;
        textMsg = CB_GETLBTEXT;
    } else if (control->cls == CtlClass::ListBox) {
        lengthMsg = LB_GETTEXTLEN;
        textMsg = LB_GETTEXT;
    } else {
        return {};
    }
    const LRESULT length = SendMessageW(control->hwnd, lengthMsg, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control->hwnd, textMsg, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return Utf8FromWide(text);
}

void WinDialog::SetItemData(int id, int index, std::uintptr_t data) {
    const Control* control = Find(id);
    if (!control || index < 0) {
        return;
    }
    if (control->cls == CtlClass::ComboBox) {
        SendMessageW(control->hwnd, CB_SETITEMDATA, static_cast<WPARAM>(index),
                     static_cast<LPARAM>(data));
    } else if (control->cls == CtlClass::ListBox) {
        SendMessageW(control->hwnd, LB_SETITEMDATA, static_cast<WPARAM>(index),
                     static_cast<LPARAM>(data));
    }
}

std::uintptr_t WinDialog::GetItemData(int id, int index) const {
    const Control* control = Find(id);
    if (!control || index < 0 || index >= GetCount(id)) {
        return 0;
    }
    LRESULT data = 0;
    if (control->cls == CtlClass::ComboBox) {
        data = SendMessageW(control->hwnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    } else if (control->cls == CtlClass::ListBox) {
        data = SendMessageW(control->hwnd, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    }
    // CB_ERR and LB_ERR (-1) read as none.
    return data == -1 ? 0 : static_cast<std::uintptr_t>(data);
}

void WinDialog::SetCurSel(int id, int index) {
    const Control* control = Find(id);
    if (!control) {
        return;
    }
    // Selecting from code raises no notification in Win32.
    if (control->cls == CtlClass::ComboBox) {
        SendMessageW(control->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else if (control->cls == CtlClass::ListBox) {
        SendMessageW(control->hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

int WinDialog::GetCurSel(int id) const {
    const Control* control = Find(id);
    if (!control) {
        return -1;
    }
    LRESULT index = -1;
    if (control->cls == CtlClass::ComboBox) {
        index = SendMessageW(control->hwnd, CB_GETCURSEL, 0, 0);
    } else if (control->cls == CtlClass::ListBox) {
        index = SendMessageW(control->hwnd, LB_GETCURSEL, 0, 0);
    }
    return index < 0 ? -1 : static_cast<int>(index);
}

void WinDialog::SetRedraw(int id, bool redraw) {
    if (HWND hwnd = Item(id)) {
        SendMessageW(hwnd, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
        if (redraw) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
    }
}

void WinDialog::SetTrackRange(int id, int nMin, int nMax) {
    const Control* control = Find(id);
    if (control && control->cls == CtlClass::Trackbar) {
        SendMessageW(control->hwnd, TBM_SETRANGEMIN, FALSE, nMin);
        SendMessageW(control->hwnd, TBM_SETRANGEMAX, TRUE, nMax);
    }
}

void WinDialog::SetTrackPageSize(int id, int nPage) {
    const Control* control = Find(id);
    if (control && control->cls == CtlClass::Trackbar) {
        SendMessageW(control->hwnd, TBM_SETPAGESIZE, 0, nPage);
    }
}

void WinDialog::SetTrackPos(int id, int nPos) {
    const Control* control = Find(id);
    if (control && control->cls == CtlClass::Trackbar) {
        SendMessageW(control->hwnd, TBM_SETPOS, TRUE, nPos);
    }
}

int WinDialog::GetTrackPos(int id) const {
    const Control* control = Find(id);
    if (!control || control->cls != CtlClass::Trackbar) {
        return 0;
    }
    return static_cast<int>(SendMessageW(control->hwnd, TBM_GETPOS, 0, 0));
}

ILabelPreviewCtrl* WinDialog::LabelPreview(int id) {
    const Control* control = Find(id);
    return control && control->cls == CtlClass::LabelPreview
               ? WinLabelPreview::FromWindow(control->hwnd)
               : nullptr;
}

IRichTextCtrl* WinDialog::RichText(int id) {
    const Control* control = Find(id);
    return control ? control->rich.get() : nullptr;
}

IBrowseEditCtrl* WinDialog::BrowseEdit(int id) {
    const Control* control = Find(id);
    return control ? control->browse.get() : nullptr;
}

SIZE WinDialog::ClientPixels() const {
    RECT r{};
    if (!m_hwnd || !GetClientRect(m_hwnd, &r)) {
        return {0, 0};
    }
    return {r.right - r.left, r.bottom - r.top};
}

void WinDialog::ResizeClientPixels(SIZE size) {
    if (!m_hwnd) {
        return;
    }
    RECT window{};
    RECT client{};
    GetWindowRect(m_hwnd, &window);
    GetClientRect(m_hwnd, &client);
    // The frame (caption, borders) as it is now, whatever the DPI and the theme.
    const int frameX = (window.right - window.left) - (client.right - client.left);
    const int frameY = (window.bottom - window.top) - (client.bottom - client.top);
    SetWindowPos(m_hwnd, nullptr, 0, 0, size.cx + frameX, size.cy + frameY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DlgSize WinDialog::ClientSize() const {
    const SIZE size = ClientPixels();
    const int dpi = Dpi();
    return {DipFromPhysical(size.cx, dpi), DipFromPhysical(size.cy, dpi)};
}

void WinDialog::ResizeClient(const DlgSize& size) {
    if (!m_hwnd) {
        return;
    }
    const SIZE now = ClientPixels();
    const int dpi = Dpi();
    ResizeClientPixels({std::max(0, PhysicalKeeping(size.cx, now.cx, dpi)),
                        std::max(0, PhysicalKeeping(size.cy, now.cy, dpi))});
}

void WinDialog::MoveTo(int x, int y) {
    if (!m_hwnd) {
        return;
    }
    const int dpi = Dpi();
    RECT now{};
    if (HWND parent = GetParent(m_hwnd); parent && !m_topLevel) {
        now = ScreenRectIn(m_hwnd, parent);
    } else {
        GetWindowRect(m_hwnd, &now);
    }
    SetWindowPos(m_hwnd, nullptr, PhysicalKeeping(x, now.left, dpi),
                 PhysicalKeeping(y, now.top, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinDialog::Show(bool show) {
    if (m_hwnd) {
        ShowWindow(m_hwnd, show ? (m_topLevel ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    }
}

bool WinDialog::IsShown() const {
    return m_hwnd && (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void WinDialog::SetIcon(int nIconId) {
    if (!m_hwnd) {
        return;
    }
    const auto load = [nIconId](int cx, int cy) {
        return static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(nIconId), IMAGE_ICON,
                                             GetSystemMetrics(cx), GetSystemMetrics(cy),
                                             LR_SHARED));
    };
    if (HICON big = load(SM_CXICON, SM_CYICON)) {
        SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    if (HICON small = load(SM_CXSMICON, SM_CYSMICON)) {
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
}

void WinDialog::EndDialog(int result) {
    m_endResult = result;
    if (m_topLevel && m_hwnd) {
        ::EndDialog(m_hwnd, result);
    }
}

IDialog* WinDialog::CreateChild(const DialogTemplate& tmpl, CDialogBase& logic) {
    if (!m_hwnd) {
        return nullptr;
    }
    auto child = std::make_unique<WinDialog>(tmpl, false);
    if (!child->Create(logic, m_hwnd)) {
        return nullptr;
    }
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

int RunWinModalDialog(CDialogBase& logic) {
    const DialogTemplate* tmpl = FindDialogTemplate(logic.DialogId());
    if (!tmpl) {
        return -1;
    }
    WinDialog dialog(*tmpl, true);
    return dialog.RunModal(logic);
}

void SetExitWhenIdle(bool exit) {
    g_exitWhenIdle = exit;
}

} // namespace brimwell
