#include "hosts/win32/WinDialog.h"

#include "hosts/win32/WinAccessibility.h"
#include "hosts/win32/WinDialogTemplate.h"
#include "hosts/win32/WinDpi.h"
#include "hosts/win32/WinLabelPreview.h"
#include "hosts/win32/WinLinks.h"
#include "hosts/win32/WinPictures.h"
#include "hosts/win32/WinWaitCursor.h"
#include "platform/windows/WinModule.h"
#include "platform/windows/WinText.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace brimwell {
namespace {

constexpr UINT_PTR kIdleTimer = 0xB1D1;
bool g_exitWhenIdle = false;
HWND g_mainWindow = nullptr;

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

} // namespace

WinDialog::WinDialog(const DialogTemplate& tmpl, bool topLevel)
    : m_tmpl(tmpl), m_topLevel(topLevel) {}

WinDialog::~WinDialog() {
    if (m_hwnd && !m_modal) {
        DestroyWindow(m_hwnd); // detaches this and every child page from its logic
    }
    DetachLogic();
}

void WinDialog::DetachLogic() {
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
        if (IsPicture(c)) {
            ShowPicture(control.hwnd, c.imageId);
        } else if (c.cls == CtlClass::RichEdit) {
            // A stand-in until the dialog is first shown.
            control.rich = std::make_unique<WinRichTextView>(control.hwnd, RichEditStyle(c));
        } else if (c.cls == CtlClass::EditBrowse) {
            control.browse = std::make_unique<WinEditBrowse>(
                control.hwnd, GetDlgItem(hwnd, BrowseButtonId(c.id)));
        }
        if (IsEditClass(c.cls)) {
            control.lastText = WindowText(control.hwnd);
        }
        if (c.cls == CtlClass::LabelPreview) {
            SetAccessibleGraphicRole(control.hwnd);
        }
        if (c.cls == CtlClass::Progress) {
            // The control's own scale is 0 to 100: the logic's is finer.
            SendMessageW(control.hwnd, PBM_SETRANGE32, 0, PROGRESS_MAX);
        }
        control.accessibleName = WideFromUtf8(c.accessibleName);
        Annotate(control);
        m_controls.push_back(std::move(control));
    }
    GrowToShowPictures();
    if (m_logic) {
        m_logic->AttachDialog(this);
        m_logic->OnInitDialog();
    }
    if (m_topLevel) {
        g_mainWindow = hwnd;
        // Focus rectangles and keyboard cues shown from the start, not only once a key has
        // been pressed: the focused function list shows which row has the focus.
        SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                     0);
        GrowToShowPages();
        CentreOnMonitor();
        if (g_exitWhenIdle) {
            // A timer message comes only once nothing else, painting included, is pending.
            SetTimer(hwnd, kIdleTimer, 1, nullptr);
        }
    }
}

INT_PTR WinDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        // Without a control: IDOK and IDCANCEL from Enter and Escape (and the close of a
        // dialog without a close handler); nothing happens.
        if (lParam != 0) {
            OnControlCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        }
        return TRUE;
    case WM_HSCROLL:
        if (lParam != 0) {
            OnTrackbarScroll(reinterpret_cast<HWND>(lParam));
        }
        return TRUE;
    case WM_NOTIFY:
        return lParam != 0 ? OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) : FALSE;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_CLOSE:
        // A close that did not come through the window menu (the session, another program).
        if (m_topLevel && m_logic) {
            m_logic->OnSysCommandClose();
        }
        return TRUE;
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_TIMER:
        return OnTimer(wParam);
    case WM_QUERYENDSESSION:
        return OnQueryEndSession();
    case WM_DPICHANGED:
        if (m_topLevel && lParam != 0) {
            OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_SHOWWINDOW:
        if (wParam) {
            RealizeRichText();
        }
        return FALSE;
    case WM_DESTROY:
        DetachLogic();
        return FALSE;
    case WM_NCDESTROY:
        ForgetWindow();
        return FALSE;
    default:
        return FALSE;
    }
}

void WinDialog::OnTrackbarScroll(HWND control) {
    const int id = GetDlgCtrlID(control);
    const Control* found = Find(id);
    if (found && found->cls == CtlClass::Trackbar && m_logic) {
        m_logic->OnHScroll(id, static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0)));
    }
}

INT_PTR WinDialog::OnNotify(const NMHDR& header) {
    if (header.code != EN_LINK) {
        return FALSE;
    }
    const Control* control = Find(static_cast<int>(header.idFrom));
    if (control && control->rich && control->hwnd == header.hwndFrom &&
        OnRichEditLink(reinterpret_cast<const ENLINK&>(header))) {
        // Handled: the control does not go on with the click.
        SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    return FALSE;
}

INT_PTR WinDialog::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != SC_CLOSE) {
        return FALSE;
    }
    // The window menu's Close (and the close box, and Alt+F4) goes to the logic, which
    // decides; the window does not close by itself.
    if (m_logic) {
        m_logic->OnSysCommandClose();
    }
    SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, 0);
    return TRUE;
}

INT_PTR WinDialog::OnSetCursor() {
    if (!WaitCursorShown()) {
        return FALSE;
    }
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

INT_PTR WinDialog::OnTimer(WPARAM timer) {
    if (timer != kIdleTimer) {
        return FALSE;
    }
    KillTimer(m_hwnd, kIdleTimer);
    EndDialog(DLG_RESULT_CANCEL);
    return TRUE;
}

// Log-off or shut-down asks every top-level window first: the main window answers what its
// logic says (no, while a job runs that must not be cut off); a page is never asked.
INT_PTR WinDialog::OnQueryEndSession() {
    if (!m_topLevel || !m_logic || m_logic->OnQueryEndSession()) {
        return FALSE; // the default answer: the session may end
    }
    SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, FALSE);
    return TRUE;
}

void WinDialog::ForgetWindow() {
    if (g_mainWindow == m_hwnd) {
        g_mainWindow = nullptr;
    }
    SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
    m_hwnd = nullptr;
    m_controls.clear();
}

void WinDialog::Annotate(const Control& control) {
    if (!control.accessibleName.empty()) {
        SetAccessibleName(control.hwnd, control.accessibleName);
    }
    if (!control.accessibleDescription.empty()) {
        SetAccessibleDescription(control.hwnd, control.accessibleDescription);
    }
}

void WinDialog::RealizeRichText() {
    for (Control& control : m_controls) {
        if (control.rich && !control.rich->Realized() && control.rich->Realize()) {
            control.hwnd = control.rich->Hwnd();
            Annotate(control);
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
    HWND hwnd = Item(id);
    if (!hwnd) {
        return;
    }
    HWND root = GetAncestor(m_hwnd, GA_ROOT);
    if (!root) {
        root = m_hwnd;
    }
    // A control that cannot take the focus (the Stop button hidden as its job ends) hands it
    // on as Tab would, across the pages too; the focus is never left on a dead control.
    const auto takesFocus = [](HWND w) {
        return (GetWindowLongW(w, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
    };
    if (!takesFocus(hwnd)) {
        hwnd = GetNextDlgTabItem(root, hwnd, FALSE);
        if (!hwnd || !takesFocus(hwnd)) {
            return;
        }
    }
    // Through the dialog manager, so that the default button follows the focus.
    SendMessageW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), TRUE);
}

int WinDialog::FocusedItem() const {
    HWND focus = GetFocus();
    if (!focus) {
        return 0;
    }
    for (const Control& control : m_controls) {
        // A combo box's or a rich-text view's focus may be in a window inside it; a browse
        // edit's button is part of its item.
        if (control.hwnd == focus || IsChild(control.hwnd, focus) ||
            (control.browse && control.browse->Button() == focus)) {
            return control.id;
        }
    }
    return 0;
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

void WinDialog::SetProgress(int id, int pos) {
    const Control* control = Find(id);
    if (control && control->cls == CtlClass::Progress) {
        SendMessageW(control->hwnd, PBM_SETPOS,
                     static_cast<WPARAM>(std::clamp(pos, 0, PROGRESS_MAX)), 0);
    }
}

int WinDialog::GetProgress(int id) const {
    const Control* control = Find(id);
    if (!control || control->cls != CtlClass::Progress) {
        return 0;
    }
    return static_cast<int>(SendMessageW(control->hwnd, PBM_GETPOS, 0, 0));
}

void WinDialog::SetItemAccessibleName(int id, const std::string& name) {
    if (Control* control = Find(id)) {
        control->accessibleName = WideFromUtf8(name);
        SetAccessibleName(control->hwnd, control->accessibleName);
    }
}

void WinDialog::SetItemAccessibleDescription(int id, const std::string& description) {
    if (Control* control = Find(id)) {
        control->accessibleDescription = WideFromUtf8(description);
        SetAccessibleDescription(control->hwnd, control->accessibleDescription);
    }
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

void WinDialog::Show(bool show) {
    if (m_hwnd) {
        ShowWindow(m_hwnd, show ? (m_topLevel ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    }
}

bool WinDialog::IsShown() const {
    return m_hwnd && (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void WinDialog::SetIcon(int nIconId) {
    m_iconId = nIconId;
    if (!m_hwnd) {
        return;
    }
    // At the window's DPI: the system's metrics are those of the primary monitor at start,
    // not those of the monitor a per-monitor aware window stands on.
    const int dpi = WindowDpi(m_hwnd);
    const auto load = [nIconId, dpi](int cx, int cy) {
        return static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(nIconId), IMAGE_ICON,
                                             SystemMetricAtDpi(cx, dpi), SystemMetricAtDpi(cy, dpi),
                                             LR_SHARED));
    };
    if (HICON big = load(SM_CXICON, SM_CYICON)) {
        SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    if (HICON small = load(SM_CXSMICON, SM_CYSMICON)) {
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
}

// Moved to a monitor of another scale: the window takes the size and place the system
// suggests (the dialog manager scales the controls and fonts of a per-monitor aware dialog),
// then the pages and pictures are fitted again, the icon is taken at the new DPI and
// everything, the preview and the rich-text views too, is painted again at the new scale.
void WinDialog::OnDpiChanged(const RECT& suggested) {
    SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The welcome and about pictures drawn for the new DPI (the double-size drawing above
    // 96 DPI), on the pages first, so that the window then grows round the pages.
    for (const auto& child : m_children) {
        if (child->m_hwnd) {
            child->ShowPicturesAtDpi();
        }
    }
    ShowPicturesAtDpi();
    GrowToShowPages();
    // The logic sizes the window for the pages not made yet as well.
    if (m_logic) {
        m_logic->OnDpiChanged();
    }
    if (m_iconId != 0) {
        SetIcon(m_iconId);
    }
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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

HWND MainWindow() {
    return g_mainWindow;
}

void SetExitWhenIdle(bool exit) {
    g_exitWhenIdle = exit;
}

} // namespace brimwell
