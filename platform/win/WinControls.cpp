#include "platform/win/WinControls.h"

#include "platform/TextLinks.h"

#include "platform/win/WinDialogTemplate.h"
#include "platform/win/WinDpi.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <map>

namespace brimwell {
namespace {

HINSTANCE ThisModule() {
    return GetModuleHandleW(nullptr);
}

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

HFONT PreviewFont(const char* face, int cell, int dpi) {
    // A positive height asks for the cell height (internal leading included).
    const int height = MulDiv(cell, dpi, 96);
    std::wstring name(face, face + std::strlen(face));
    // TrueType first: a bitmap face of the same name (Wine's "MS Sans Serif") has only a few
    // fixed sizes, none with this cell.
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, name.c_str());
}

HFONT TurnedFont(HFONT label) {
    LOGFONTW lf{};
    GetObjectW(label, sizeof lf, &lf);
    // Turned a quarter clockwise: runs down, the tops of the letters to the right.
    lf.lfEscapement = 2700;
    lf.lfOrientation = 2700;
    return CreateFontIndirectW(&lf);
}

std::wstring Latin1(const char* text) {
    std::wstring out;
    for (const char* p = text; p && *p; ++p) {
        out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return out;
}

// Refuses what would change a read-only rich edit: typed characters, pasting, cutting,
// clearing, undoing and dropped files.
LRESULT CALLBACK ReadOnlyRichEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR) {
    switch (msg) {
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

HBITMAP MakeLogoDib(const CLogoFmtHandler& logo) {
    if (!logo.IsLoaded() || logo.GetWidth() <= 0 || logo.GetHeight() <= 0 || !logo.GetPixels()) {
        return nullptr;
    }
    // The holder's description is laid out as BITMAPINFO with its two colours (0 black,
    // 1 white) and top-down rows padded to 32 bits, as a DIB section wants them.
    BITMAPINFO* info =
        reinterpret_cast<BITMAPINFO*>(const_cast<LogoBitmapInfo*>(&logo.GetBitmapInfo()));
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        if (dib) {
            DeleteObject(dib);
        }
        return nullptr;
    }
    const std::size_t bytes =
        static_cast<std::size_t>(logo.GetStride()) * static_cast<std::size_t>(logo.GetHeight());
    std::memcpy(bits, logo.GetPixels(), bytes);
    return dib;
}

PreviewGdiFonts::PreviewGdiFonts(int dpiValue)
    : label(PreviewFont(PREVIEW_LABEL_FACE, PREVIEW_LABEL_CELL, dpiValue)),
      message(PreviewFont(PREVIEW_MESSAGE_FACE, PREVIEW_MESSAGE_CELL, dpiValue)), dpi(dpiValue) {}

PreviewGdiFonts::~PreviewGdiFonts() {
    DeleteObject(label);
    DeleteObject(message);
}

PreviewTextExtents MeasureLabelTexts(HDC hdc, const PreviewGdiFonts& fonts) {
    PreviewTextExtents extents{};
    HGDIOBJ old = SelectObject(hdc, fonts.label);
    for (std::size_t i = 0; i < PREVIEW_LABEL_TEXT_COUNT; ++i) {
        const std::wstring text = Latin1(PREVIEW_LABEL_TEXTS[i].text);
        SIZE size{};
        GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
        extents[i] = DipFromPhysical(size.cx, fonts.dpi);
    }
    SelectObject(hdc, old);
    return extents;
}

void PaintPreviewSteps(HDC hdc, const std::vector<PreviewStep>& steps, HBITMAP logo,
                       const PreviewGdiFonts& fonts, COLORREF ink) {
    const int dpi = fonts.dpi;
    const auto px = [dpi](int dip) { return PhysicalFromDip(dip, dpi); };
    const int saved = SaveDC(hdc);
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, RGB(255, 255, 255));
    SetTextColor(hdc, ink);
    for (const PreviewStep& step : steps) {
        // The step's rectangle by its edges, in this surface's pixels.
        const RECT box{px(step.x), px(step.y), px(step.x + step.width), px(step.y + step.height)};
        switch (step.kind) {
        case PreviewStepKind::LabelArea:
            if (step.width > 0 && step.height > 0) {
                HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
                FillRect(hdc, &box, white);
                HBRUSH outline = CreateSolidBrush(ink);
                FrameRect(hdc, &box, outline);
                DeleteObject(outline);
            }
            break;
        case PreviewStepKind::Image:
            if (logo) {
                HDC source = CreateCompatibleDC(hdc);
                HGDIOBJ old = SelectObject(source, logo);
                BITMAP bm{};
                GetObjectW(logo, sizeof bm, &bm);
                // Dot for dot, or each dot a square of whole pixels: a printer logo's dots
                // stay even, as the printer prints them.
                const int scale = WholePictureScale(dpi);
                // A one-bit source takes the destination's text and background colours for
                // its 0 and 1 bits: black and white, as the logo's own colours.
                SetTextColor(hdc, RGB(0, 0, 0));
                if (scale == 1) {
                    BitBlt(hdc, box.left, box.top, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
                } else {
                    SetStretchBltMode(hdc, COLORONCOLOR);
                    StretchBlt(hdc, box.left, box.top, bm.bmWidth * scale, bm.bmHeight * scale,
                               source, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
                }
                SetTextColor(hdc, ink);
                SelectObject(source, old);
                DeleteDC(source);
            }
            break;
        case PreviewStepKind::TurnedText: {
            HFONT turned = TurnedFont(fonts.label);
            HGDIOBJ old = SelectObject(hdc, turned);
            SetTextAlign(hdc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
            const std::wstring text = Latin1(step.text);
            TextOutW(hdc, box.left, box.top, text.c_str(), static_cast<int>(text.size()));
            SelectObject(hdc, old);
            DeleteObject(turned);
            break;
        }
        case PreviewStepKind::Message:
            if (step.width > 0 && step.height > 0 && step.text) {
                HGDIOBJ old = SelectObject(hdc, fonts.message);
                RECT wrap = box;
                const int length = MultiByteToWideChar(CP_UTF8, 0, step.text, -1, nullptr, 0);
                std::wstring text(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
                MultiByteToWideChar(CP_UTF8, 0, step.text, -1, &text[0], length);
                DrawTextW(hdc, text.c_str(), -1, &wrap,
                          DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
                SelectObject(hdc, old);
            }
            break;
        }
    }
    RestoreDC(hdc, saved);
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

std::vector<std::pair<std::size_t, std::size_t>> FindAddresses(const std::wstring& text) {
    return brimwell::FindAddresses(std::u16string(text.begin(), text.end()));
}

std::wstring AddressTarget(const std::wstring& address) {
    const std::u16string target =
        brimwell::AddressTarget(std::u16string(address.begin(), address.end()));
    return std::wstring(target.begin(), target.end());
}

namespace {

UrlOpener& CurrentOpener() {
    static UrlOpener opener = [](const std::wstring& target) {
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    return opener;
}

} // namespace

UrlOpener SetUrlOpener(UrlOpener opener) {
    UrlOpener old = std::move(CurrentOpener());
    CurrentOpener() = std::move(opener);
    return old;
}

void OpenUrl(const std::wstring& target) {
    // Only what an address in the text can become: never a program or a file.
    if (!IsOpenableTarget(std::u16string(target.begin(), target.end()))) {
        return;
    }
    if (const UrlOpener& opener = CurrentOpener()) {
        opener(target);
    }
}

bool OnRichEditLink(const ENLINK& link) {
    if (link.msg != WM_LBUTTONUP || link.chrg.cpMin < 0 || link.chrg.cpMax <= link.chrg.cpMin) {
        return false;
    }
    HWND edit = link.nmhdr.hwndFrom;
    // A click, not the end of a selection drag.
    CHARRANGE selection{};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    if (selection.cpMax != selection.cpMin) {
        return false;
    }
    std::wstring text(static_cast<std::size_t>(link.chrg.cpMax - link.chrg.cpMin) + 1, L'\0');
    TEXTRANGEW range{};
    range.chrg = link.chrg;
    range.lpstrText = &text[0];
    const LRESULT copied = SendMessageW(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    const std::wstring target = AddressTarget(text);
    if (target.empty()) {
        return false;
    }
    OpenUrl(target);
    return true;
}

namespace {

// Marks the addresses in the control's text as links (CFE_LINK), so that a click on one
// reaches its dialog as EN_LINK. RichEdit's own detection (EM_AUTOURLDETECT) finds web
// addresses but not e-mail addresses; this finds both, as the Linux window does.
void MarkAddresses(HWND hwnd) {
    GETTEXTLENGTHEX lengthOf{GTL_DEFAULT | GTL_NUMCHARS, 1200};
    const LRESULT length =
        SendMessageW(hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthOf), 0);
    if (length <= 0) {
        return;
    }
    // Paragraphs end in a lone CR, so that an index here is a character position there.
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT copied = SendMessageW(hwnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    CHARRANGE kept{};
    SendMessageW(hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    for (const auto& [start, end] : FindAddresses(text)) {
        CHARRANGE range{static_cast<LONG>(start), static_cast<LONG>(end)};
        SendMessageW(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_LINK;
        format.dwEffects = CFE_LINK;
        SendMessageW(hwnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
    SendMessageW(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
}

} // namespace

void WinRichText::MakeReadOnly(HWND hwnd) {
    SendMessageW(hwnd, EM_SETREADONLY, TRUE, 0);
    SendMessageW(hwnd, EM_AUTOURLDETECT, TRUE, 0);
    const LRESULT mask = SendMessageW(hwnd, EM_GETEVENTMASK, 0, 0);
    SendMessageW(hwnd, EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask) | ENM_LINK);
    DragAcceptFiles(hwnd, FALSE);
    SetWindowSubclass(hwnd, &ReadOnlyRichEditProc, 1, 0);
}

std::int32_t WinRichText::StreamInto(HWND edit, int nFormat, EditStream& es) {
    StreamContext ctx;
    ctx.es = &es;
    EDITSTREAM native{};
    native.dwCookie = reinterpret_cast<DWORD_PTR>(&ctx);
    native.pfnCallback = &StreamInCallback;
    const WPARAM format = nFormat == STREAM_FORMAT_RTF ? SF_RTF : SF_TEXT;
    SendMessageW(edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&native));
    MarkAddresses(edit);
    es.dwError = ctx.error;
    return static_cast<std::int32_t>(ctx.total);
}

std::int32_t WinRichText::StreamIn(int nFormat, EditStream& es) {
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

namespace {

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

bool WinRichText::Realize() {
    if (m_realized) {
        return true;
    }
    // The class comes with the DLL, loaded the first time a rich-text view is shown.
    static const bool loaded = LoadLibraryW(L"Riched20.dll") != nullptr;
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
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(standIn))),
        GetModuleHandleW(nullptr), nullptr);
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
        SendMessageW(edit, EM_STREAMIN, m_pendingFormat == STREAM_FORMAT_RTF ? SF_RTF : SF_TEXT,
                     reinterpret_cast<LPARAM>(&native));
        MarkAddresses(edit);
        m_pending = false;
        m_document.clear();
        m_document.shrink_to_fit();
    }
    return true;
}

HBITMAP LoadPictureDib(int id) {
    static std::map<int, HBITMAP> loaded;
    const auto it = loaded.find(id);
    if (it != loaded.end()) {
        return it->second;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(ThisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    loaded[id] = bitmap;
    return bitmap;
}

} // namespace brimwell
