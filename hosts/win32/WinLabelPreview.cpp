#include "hosts/win32/WinLabelPreview.h"

#include "hosts/win32/WinDialogTemplate.h"
#include "hosts/win32/WinDpi.h"
#include "platform/windows/WinModule.h"

#include <new>

namespace brimwell {
namespace {

LRESULT CALLBACK LabelPreviewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(new (std::nothrow) WinLabelPreview(hwnd)));
        break;
    case WM_NCDESTROY:
        delete WinLabelPreview::FromWindow(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1; // every paint covers the whole control
    case WM_DPICHANGED_AFTERPARENT:
        // Moved to a monitor of another DPI: the dialog manager has placed and sized the
        // control anew; the fonts follow.
        if (WinLabelPreview* preview = WinLabelPreview::FromWindow(hwnd)) {
            preview->DpiChanged();
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        if (const WinLabelPreview* preview = WinLabelPreview::FromWindow(hwnd)) {
            preview->Paint(hdc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterWinControls() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &LabelPreviewProc;
        wc.hInstance = ThisModule();
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = kLabelPreviewClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

WinLabelPreview::WinLabelPreview(HWND hwnd)
    : m_hwnd(hwnd), m_fonts(std::make_unique<PreviewGdiFonts>(WindowDpi(hwnd))) {}

void WinLabelPreview::DpiChanged() {
    const int dpi = WindowDpi(m_hwnd);
    if (dpi != m_fonts->dpi) {
        m_fonts = std::make_unique<PreviewGdiFonts>(dpi);
    }
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

WinLabelPreview::~WinLabelPreview() {
    if (m_logo) {
        DeleteObject(m_logo);
    }
}

WinLabelPreview* WinLabelPreview::FromWindow(HWND hwnd) {
    wchar_t name[64] = {};
    if (!hwnd || !GetClassNameW(hwnd, name, 64) || lstrcmpiW(name, kLabelPreviewClass) != 0) {
        return nullptr;
    }
    return reinterpret_cast<WinLabelPreview*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

PreviewTextExtents WinLabelPreview::LabelTextExtents() const {
    HDC hdc = GetDC(m_hwnd);
    const PreviewTextExtents extents = MeasureLabelTexts(hdc, *m_fonts);
    ReleaseDC(m_hwnd, hdc);
    return extents;
}

void WinLabelPreview::SetSteps(std::vector<PreviewStep> steps, const CLogoFmtHandler* logo) {
    m_steps = std::move(steps);
    if (m_logo) {
        DeleteObject(m_logo);
    }
    m_logo = logo ? MakeLogoDib(*logo) : nullptr;
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void WinLabelPreview::Paint(HDC hdc) const {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    // Drawn off screen first, so that the preview does not flicker while it is rebuilt.
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP canvas = CreateCompatibleBitmap(hdc, width, height);
    HGDIOBJ old = SelectObject(memory, canvas);
    FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
    PaintPreviewSteps(memory, m_steps, m_logo, *m_fonts, GetSysColor(COLOR_BTNTEXT));
    BitBlt(hdc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
}

} // namespace brimwell
