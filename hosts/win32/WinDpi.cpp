#include "hosts/win32/WinDpi.h"

namespace brimwell {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Windows 10 1607 and later; looked up, so that the program still starts on older systems.
GetDpiForWindowFn DpiForWindowFunction() {
    static const GetDpiForWindowFn fn = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                            reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    return fn;
}

using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

GetSystemMetricsForDpiFn MetricsForDpiFunction() {
    static const GetSystemMetricsForDpiFn fn = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetSystemMetricsForDpiFn>(reinterpret_cast<void (*)()>(
                            GetProcAddress(user32, "GetSystemMetricsForDpi")))
                      : nullptr;
    }();
    return fn;
}

int ScreenLogPixelsX() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

} // namespace

int SystemMetricAtDpi(int index, int dpi) {
    if (const GetSystemMetricsForDpiFn fn = MetricsForDpiFunction()) {
        return fn(index, static_cast<UINT>(dpi));
    }
    return GetSystemMetrics(index);
}

int WindowDpi(HWND hwnd) {
    int dpi = 0;
    if (hwnd) {
        if (const GetDpiForWindowFn fn = DpiForWindowFunction()) {
            dpi = static_cast<int>(fn(hwnd));
        }
    }
    if (dpi <= 0) {
        dpi = ScreenLogPixelsX();
    }
    return dpi > 0 ? dpi : kDipsPerInch;
}

int PhysicalFromDip(int dip, int dpi) {
    return dpi == kDipsPerInch || dpi <= 0 ? dip : MulDiv(dip, dpi, kDipsPerInch);
}

int DipFromPhysical(int physical, int dpi) {
    return dpi == kDipsPerInch || dpi <= 0 ? physical : MulDiv(physical, kDipsPerInch, dpi);
}

int PhysicalFromDipKeepingCurrent(int dip, int current, int dpi) {
    return DipFromPhysical(current, dpi) == dip ? current : PhysicalFromDip(dip, dpi);
}

int WholePictureScale(int dpi) {
    return dpi > kDipsPerInch ? dpi / kDipsPerInch : 1;
}

} // namespace brimwell
