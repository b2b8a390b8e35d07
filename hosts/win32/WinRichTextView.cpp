#include "hosts/win32/WinRichTextView.h"

#include "hosts/win32/WinDialogTemplate.h"
#include "hosts/win32/WinLinks.h"
#include "platform/windows/WinModule.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace brimwell {
namespace {

// Lines wrap within the visible box: the formatting rectangle is the client area, which the
// always-present scroll bar is not part of. Left to itself the control formats for its
// window's whole width, scroll bar included (seen under Wine), and hides the lines' last
// letters under the scroll bar.
void WrapToClientArea(HWND hwnd) {
    RECT client{};
    if (GetClientRect(hwnd, &client) && client.right > 0) {
        SendMessageW(hwnd, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&client));
    }
}

// Refuses what would change a read-only rich edit: typed characters, pasting, cutting,
// clearing, undoing and dropped files. Tab and Shift+Tab go to the dialog, which moves the
// focus on: a multi-line rich edit asks for every key, Tab included, and would keep the
// focus for ever, since nothing can be typed into it anyway.
LRESULT CALLBACK ReadOnlyRichEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR) {
    switch (msg) {
    case WM_GETDLGCODE: {
        LRESULT code = DefSubclassProc(hwnd, msg, wParam, lParam);
        code &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB) {
            code &= ~static_cast<LRESULT>(DLGC_WANTMESSAGE);
        }
        return code;
    }
    case WM_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case WM_DROPFILES:
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE || wParam == VK_BACK ||
            (wParam == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000))) {
            return 0;
        }
        break;
    case WM_SIZE: {
        const LRESULT done = DefSubclassProc(hwnd, msg, wParam, lParam);
        WrapToClientArea(hwnd);
        return done;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &ReadOnlyRichEditProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

struct StreamContext {
    EditStream* es = nullptr;
    std::size_t total = 0;
    std::uint32_t error = 0;
};

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb) {
    auto* ctx = reinterpret_cast<StreamContext*>(cookie);
    *pcb = 0;
    const std::size_t left = RICHTEXT_MAX_STREAM - ctx->total;
    if (left == 0 || cb <= 0) {
        return 0;
    }
    const std::int32_t ask = static_cast<std::int32_t>(std::min<std::size_t>(
        {static_cast<std::size_t>(cb), static_cast<std::size_t>(RICHTEXT_STREAM_PIECE), left}));
    std::int32_t handed = 0;
    const std::uint32_t error = ctx->es->pfnCallback(ctx->es->dwCookie, buffer, ask, &handed);
    if (error != 0) {
        ctx->error = error;
        return error;
    }
    // A callback that claims more than it was asked for gets only what fits the piece.
    handed = std::clamp(handed, 0, ask);
    ctx->total += static_cast<std::size_t>(handed);
    *pcb = handed;
    return 0;
}

DWORD CALLBACK ReadKept(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb) {
    auto* source = reinterpret_cast<std::pair<const std::string*, std::size_t>*>(cookie);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(0L, cb)),
                                                source->first->size() - source->second);
    std::memcpy(buffer, source->first->data() + source->second, n);
    source->second += n;
    *pcb = static_cast<LONG>(n);
    return 0;
}

} // namespace

void WinRichTextView::MakeReadOnly(HWND hwnd) {
    SendMessageW(hwnd, EM_SETREADONLY, TRUE, 0);
    SendMessageW(hwnd, EM_AUTOURLDETECT, TRUE, 0);
    const LRESULT mask = SendMessageW(hwnd, EM_GETEVENTMASK, 0, 0);
    SendMessageW(hwnd, EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask) | ENM_LINK);
    DragAcceptFiles(hwnd, FALSE);
    SetWindowSubclass(hwnd, &ReadOnlyRichEditProc, 1, 0);
    WrapToClientArea(hwnd);
}

namespace {

// EM_STREAMIN's format: plain text states its code page, Windows-1252, so the bytes read the
// same whatever the system's ANSI code page is.
WPARAM NativeStreamFormat(int nFormat) {
    if (nFormat == STREAM_FORMAT_RTF) {
        return SF_RTF;
    }
    constexpr WPARAM kWindows1252 = 1252;
    return (kWindows1252 << 16) | SF_USECODEPAGE | SF_TEXT;
}

} // namespace

std::int32_t WinRichTextView::StreamInto(HWND edit, int nFormat, EditStream& es) {
    StreamContext ctx;
    ctx.es = &es;
    EDITSTREAM native{};
    native.dwCookie = reinterpret_cast<DWORD_PTR>(&ctx);
    native.pfnCallback = &StreamInCallback;
    SendMessageW(edit, EM_STREAMIN, NativeStreamFormat(nFormat), reinterpret_cast<LPARAM>(&native));
    MarkAddresses(edit);
    es.dwError = ctx.error;
    return static_cast<std::int32_t>(ctx.total);
}

std::int32_t WinRichTextView::StreamIn(int nFormat, EditStream& es) {
    es.dwError = 0;
    if (!es.pfnCallback || (nFormat != STREAM_FORMAT_RTF && nFormat != STREAM_FORMAT_TEXT)) {
        return 0;
    }
    if (m_realized) {
        return StreamInto(m_hwnd, nFormat, es);
    }
    // Read whole now, in the same pieces and within the same bound as the control reads.
    std::string document;
    std::uint8_t piece[RICHTEXT_STREAM_PIECE];
    while (document.size() < RICHTEXT_MAX_STREAM) {
        const std::int32_t ask = static_cast<std::int32_t>(
            std::min<std::size_t>(RICHTEXT_STREAM_PIECE, RICHTEXT_MAX_STREAM - document.size()));
        std::int32_t handed = 0;
        const std::uint32_t error = es.pfnCallback(es.dwCookie, piece, ask, &handed);
        if (error != 0) {
            // As the control does: what came before the failure is shown.
            es.dwError = error;
            break;
        }
        handed = std::clamp(handed, 0, ask);
        if (handed == 0) {
            break;
        }
        document.append(reinterpret_cast<const char*>(piece), static_cast<std::size_t>(handed));
    }
    m_document = std::move(document);
    m_pendingFormat = nFormat;
    m_pending = true;
    return static_cast<std::int32_t>(m_document.size());
}

bool WinRichTextView::Realize() {
    if (m_realized) {
        return true;
    }
    // The class comes with the DLL, loaded (from the system folder only) the first time a
    // rich-text view is shown.
    static const bool loaded = LoadSystemLibrary(L"Riched20.dll") != nullptr;
    if (!loaded) {
        return false;
    }
    HWND standIn = m_hwnd;
    HWND parent = GetParent(standIn);
    RECT r{};
    GetWindowRect(standIn, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    const LONG standInStyle = GetWindowLongW(standIn, GWL_STYLE);
    const DWORD style = (m_style & ~(WS_VISIBLE | WS_DISABLED)) |
                        (static_cast<DWORD>(standInStyle) & (WS_VISIBLE | WS_DISABLED));
    HWND edit = CreateWindowExW(
        0, kRichEditClass, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(standIn))), ThisModule(),
        nullptr);
    if (!edit) {
        return false;
    }
    // In the stand-in's place in the tab and drawing order, in the dialog's font.
    SetWindowPos(edit, standIn, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(edit, WM_SETFONT, static_cast<WPARAM>(SendMessageW(parent, WM_GETFONT, 0, 0)),
                 FALSE);
    MakeReadOnly(edit);
    DestroyWindow(standIn);
    m_hwnd = edit;
    m_realized = true;
    if (m_pending) {
        std::pair<const std::string*, std::size_t> source{&m_document, 0};
        EDITSTREAM native{};
        native.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
        native.pfnCallback = &ReadKept;
        SendMessageW(edit, EM_STREAMIN, NativeStreamFormat(m_pendingFormat),
                     reinterpret_cast<LPARAM>(&native));
        MarkAddresses(edit);
        m_pending = false;
        m_document.clear();
        m_document.shrink_to_fit();
    }
    return true;
}

} // namespace brimwell
