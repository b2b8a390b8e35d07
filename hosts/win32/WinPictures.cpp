#include "hosts/win32/WinPictures.h"

#include "draw/WinImaging.h"
#include "draw/WinPreviewPainter.h"
#include "hosts/win32/WinDpi.h"
#include "platform/windows/WinModule.h"

#include <objbase.h>

#include <cstdint>
#include <cstring>
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

// The bytes of the program's RCDATA resource `id` (a picture as PNG); empty when there is
// none.
std::pair<const unsigned char*, DWORD> PngResource(int id) {
    HMODULE module = ThisModule();
    constexpr WORD kRcData = 10; // RT_RCDATA, spelt for the wide-character call
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kRcData));
    HGLOBAL held = found ? LoadResource(module, found) : nullptr;
    const void* data = held ? LockResource(held) : nullptr;
    if (!data) {
        return {nullptr, 0};
    }
    return {static_cast<const unsigned char*>(data), SizeofResource(module, found)};
}

std::uint32_t BigEndian32(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

} // namespace

SIZE PictureSize(int id) {
    // The signature, then the IHDR chunk with the width and the height, big-endian.
    static const unsigned char kPngStart[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                              0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    const auto [bytes, length] = PngResource(id);
    if (!bytes || length < sizeof kPngStart + 8 ||
        std::memcmp(bytes, kPngStart, sizeof kPngStart) != 0) {
        return {0, 0};
    }
    const std::uint32_t width = BigEndian32(bytes + 16);
    const std::uint32_t height = BigEndian32(bytes + 20);
    if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff) {
        return {0, 0};
    }
    return {static_cast<LONG>(width), static_cast<LONG>(height)};
}

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
    const auto [png, length] = PngResource(id);
    HBITMAP bitmap = png ? DecodePngDib(png, length) : nullptr;
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
