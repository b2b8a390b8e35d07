#include "hosts/win32/WinDpi.h"

#include "platform/windows/WinModule.h"

namespace brimwell {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// Windows 10 1607 and later; looked up, so that the program still starts on older systems.
GetDpiForWindowFn DpiForWindowFunction() {
    static const auto fn =
        ModuleFunction<GetDpiForWindowFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    return fn;
}

GetSystemMetricsForDpiFn MetricsForDpiFunction() {
    static const auto fn = ModuleFunction<GetSystemMetricsForDpiFn>(GetModuleHandleW(L"user32.dll"),
                                                                    "GetSystemMetricsForDpi");
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

int PhysicalFromDipKeepingCurrent(int dip, int current, int dpi) {
    return DipFromPhysical(current, dpi) == dip ? current : PhysicalFromDip(dip, dpi);
}

} // namespace brimwell
