#include "hosts/win32/WinPictures.h"

#include "draw/WinImaging.h"
#include "draw/WinPreviewPainter.h"
#include "hosts/win32/WinDpi.h"
#include "platform/windows/WinModule.h"

#include <objbase.h>

#include <map>
#include <utility>

namespace brimwell {
namespace {

// `source` drawn into a new 24-bit DIB section of width x height, smoothed (HALFTONE): a
// photograph and anti-aliased lettering, not dots that must stay crisp.
HBITMAP Resampled(HBITMAP source, int width, int height) {
    void* bits = nullptr;
    HBITMAP target = MakeTopDownDib(width, height, 24, &bits);
    if (!target) {
        return nullptr;
    }
    BITMAP from{};
    GetObjectW(source, sizeof from, &from);
    HDC src = CreateCompatibleDC(nullptr);
    HDC dst = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = SelectObject(src, source);
    HGDIOBJ oldDst = SelectObject(dst, target);
    SetStretchBltMode(dst, HALFTONE);
    SetBrushOrgEx(dst, 0, 0, nullptr);
    StretchBlt(dst, 0, 0, width, height, src, 0, 0, from.bmWidth, from.bmHeight, SRCCOPY);
    GdiFlush();
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteDC(src);
    DeleteDC(dst);
    return target;
}

} // namespace

HBITMAP LoadPictureDib(int id) {
    static std::map<int, HBITMAP> loaded;
    const auto it = loaded.find(id);
    if (it != loaded.end()) {
        return it->second;
    }
    // WIC is a COM component. The window's thread takes part in COM apartment-threaded (the
    // shell's dialogs and the accessibility annotations want it so) and stays in it; a thread
    // already in COM keeps its apartment.
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com; // S_FALSE or RPC_E_CHANGED_MODE: COM is already there
    HBITMAP bitmap = nullptr;
    HMODULE module = ThisModule();
    constexpr WORD kRcData = 10; // RT_RCDATA, spelt for the wide-character call
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kRcData))) {
        const HGLOBAL held = LoadResource(module, found);
        const void* png = held ? LockResource(held) : nullptr;
        bitmap = DecodePngDib(png, SizeofResource(module, found));
    }
    loaded[id] = bitmap;
    return bitmap;
}

HBITMAP PictureForDpi(int id, int dpi) {
    HBITMAP base = LoadPictureDib(id);
    if (!base || dpi == kDipsPerInch) {
        return base;
    }
    static std::map<std::pair<int, int>, HBITMAP> made;
    const auto key = std::make_pair(id, dpi);
    const auto it = made.find(key);
    if (it != made.end()) {
        return it->second;
    }
    BITMAP size{};
    GetObjectW(base, sizeof size, &size);
    const int width = PhysicalFromDip(size.bmWidth, dpi);
    const int height = PhysicalFromDip(size.bmHeight, dpi);
    // Above 96 DPI from the picture drawn at twice the size, as the Linux host does; shrunk,
    // it stays as sharp as the screen allows.
    HBITMAP source = base;
    if (dpi > kDipsPerInch) {
        if (HBITMAP large = LoadPictureDib(id + kDoubleSizePicture)) {
            source = large;
        }
    }
    BITMAP from{};
    GetObjectW(source, sizeof from, &from);
    HBITMAP picture = from.bmWidth == width && from.bmHeight == height
                          ? source
                          : Resampled(source, width, height);
    if (!picture) {
        picture = base;
    }
    made[key] = picture;
    return picture;
}

void ShowPicture(HWND hwnd, int imageId) {
    if (HBITMAP picture = PictureForDpi(imageId, WindowDpi(hwnd))) {
        SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace brimwell
