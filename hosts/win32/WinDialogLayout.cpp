// The places and sizes of a WinDialog and its controls. The logic speaks device-independent
// pixels, the window physical ones at its monitor's DPI (WinDpi); a dialog made from its
// template also grows where the template's dialog units leave a picture or a page cut off.
#include "hosts/win32/WinDialog.h"

#include "hosts/win32/WinDpi.h"
#include "hosts/win32/WinPictures.h"

#include <algorithm>

namespace brimwell {
namespace {

RECT ScreenRectIn(HWND hwnd, HWND parent) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

void WinDialog::ShowPicturesAtDpi() {
    for (const ControlTemplate& c : m_tmpl.controls) {
        const Control* control = IsPicture(c) ? Find(c.id) : nullptr;
        if (control) {
            ShowPicture(control->hwnd, c.imageId);
        }
    }
    GrowToShowPictures();
}

void WinDialog::GrowToShowPictures() {
    // A picture static takes its picture's size, which is never scaled; where the dialog
    // font's units make the dialog smaller than the picture with the template's margin round
    // it, the dialog grows to show it whole.
    const SIZE client = ClientPixels();
    SIZE need = client;
    for (const ControlTemplate& c : m_tmpl.controls) {
        const Control* control = Find(c.id);
        if (!control || !IsPicture(c)) {
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

void WinDialog::GrowToShowPages() {
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

RECT WinDialog::MapTemplateRect(int x, int y, int cx, int cy) const {
    // Every template has the same dialog font, so this dialog's units are its children's. The
    // position and the size are converted each on its own, as the dialog manager converts a
    // control's: converting the right and bottom edges could come out a pixel off.
    RECT r{x, y, cx, cy};
    if (m_hwnd) {
        MapDialogRect(m_hwnd, &r);
    }
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

DlgSize WinDialog::ChildClientSize(const DialogTemplate& tmpl) const {
    // As CreateChild would make it, then grow it round its pictures (GrowToShowPictures).
    const RECT whole = MapTemplateRect(0, 0, tmpl.cx, tmpl.cy);
    SIZE need{whole.right, whole.bottom};
    const int dpi = Dpi();
    for (const ControlTemplate& c : tmpl.controls) {
        if (!IsPicture(c)) {
            continue;
        }
        const SIZE picture = PictureSize(c.imageId);
        if (picture.cx <= 0 || picture.cy <= 0) {
            continue; // a static without its picture keeps the template's size
        }
        const RECT at = MapTemplateRect(c.x, c.y, 0, 0);
        const RECT margin = MapTemplateRect(0, 0, std::max(0, tmpl.cx - c.x - c.cx),
                                            std::max(0, tmpl.cy - c.y - c.cy));
        const int right = at.left + PhysicalFromDip(picture.cx, dpi);
        const int bottom = at.top + PhysicalFromDip(picture.cy, dpi);
        need.cx = std::max<LONG>(need.cx, right + margin.right);
        need.cy = std::max<LONG>(need.cy, bottom + margin.bottom);
    }
    return {DipFromPhysical(need.cx, dpi), DipFromPhysical(need.cy, dpi)};
}

DlgRect WinDialog::ChildItemRect(const DialogTemplate& tmpl, int id) const {
    const ControlTemplate* c = tmpl.Find(id);
    if (!c) {
        return {};
    }
    const RECT r = MapTemplateRect(c->x, c->y, c->cx, c->cy);
    const int dpi = Dpi();
    return {DipFromPhysical(r.left, dpi), DipFromPhysical(r.top, dpi),
            DipFromPhysical(r.right - r.left, dpi), DipFromPhysical(r.bottom - r.top, dpi)};
}

// Centres the top-level window on the work area of its monitor.
void WinDialog::CentreOnMonitor() {
    RECT window{};
    GetWindowRect(m_hwnd, &window);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &info)) {
        return;
    }
    const RECT& work = info.rcWork;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int x = work.left + std::max(0L, (work.right - work.left - width) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    const int left = PhysicalFromDipKeepingCurrent(rect.x, now.left, dpi);
    const int top = PhysicalFromDipKeepingCurrent(rect.y, now.top, dpi);
    const int width =
        std::max(0, PhysicalFromDipKeepingCurrent(rect.cx, now.right - now.left, dpi));
    const int height =
        std::max(0, PhysicalFromDipKeepingCurrent(rect.cy, now.bottom - now.top, dpi));
    if (control->browse) {
        control->browse->Move(left, top, width, height);
    } else {
        MoveWindow(control->hwnd, left, top, width, height, TRUE);
    }
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
    ResizeClientPixels({std::max(0, PhysicalFromDipKeepingCurrent(size.cx, now.cx, dpi)),
                        std::max(0, PhysicalFromDipKeepingCurrent(size.cy, now.cy, dpi))});
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
    SetWindowPos(m_hwnd, nullptr, PhysicalFromDipKeepingCurrent(x, now.left, dpi),
                 PhysicalFromDipKeepingCurrent(y, now.top, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace brimwell
