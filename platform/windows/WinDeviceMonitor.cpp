#include "platform/windows/WinDeviceMonitor.h"
#include "platform/windows/WinModule.h"

#include <dbt.h>

namespace brimwell {
namespace {

constexpr wchar_t kMonitorClass[] = L"BrimwellDeviceMonitor";
constexpr UINT_PTR kQuietTimer = 1;

} // namespace

DeviceChange ClassifyDeviceChange(WPARAM event, LPARAM data) {
    switch (event) {
    case DBT_DEVNODES_CHANGED:
        return DeviceChange::Rebuild;
    case DBT_DEVICEARRIVAL:
    case DBT_DEVICEREMOVECOMPLETE: {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
        if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
            header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) - sizeof(wchar_t)) {
            return DeviceChange::None;
        }
        const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
        return IsEqualGUID(iface->dbcc_classguid, kUsbPrintInterfaceClass) ? DeviceChange::Rebuild
                                                                           : DeviceChange::None;
    }
    default:
        return DeviceChange::None;
    }
}

WinDeviceMonitor::WinDeviceMonitor(unsigned quietMs) : m_quietMs(quietMs) {}

WinDeviceMonitor::~WinDeviceMonitor() {
    Stop();
}

void WinDeviceMonitor::SetChangeHandler(std::function<void()> handler) {
    m_handler = std::move(handler);
    if (m_handler) {
        Start();
    } else {
        Stop();
    }
}

void WinDeviceMonitor::Start() {
    if (m_hwnd) {
        return;
    }
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &WinDeviceMonitor::WindowProc;
        wc.hInstance = ThisModule();
        wc.lpszClassName = kMonitorClass;
        return RegisterClassExW(&wc);
    }();
    if (!atom) {
        return;
    }
    // Never shown, but top-level, so that the device-tree broadcast reaches it.
    m_hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kMonitorClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, ThisModule(), this);
    if (!m_hwnd) {
        return;
    }
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kUsbPrintInterfaceClass;
    m_notify = RegisterDeviceNotificationW(m_hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void WinDeviceMonitor::Stop() {
    if (m_notify) {
        UnregisterDeviceNotification(m_notify);
        m_notify = nullptr;
    }
    if (m_hwnd) {
        KillTimer(m_hwnd, kQuietTimer);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
        m_hwnd = nullptr;
    }
}

void WinDeviceMonitor::Report() {
    if (m_handler) {
        // A copy: the handler may replace itself.
        const std::function<void()> handler = m_handler;
        handler();
    }
}

LRESULT CALLBACK WinDeviceMonitor::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    auto* self = reinterpret_cast<WinDeviceMonitor*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_DEVICECHANGE:
        if (ClassifyDeviceChange(wParam, lParam) == DeviceChange::Rebuild) {
            if (self->m_quietMs == 0) {
                self->Report();
            } else {
                // Restarted by every message of the burst.
                SetTimer(hwnd, kQuietTimer, self->m_quietMs, nullptr);
            }
        }
        return TRUE; // grants any query
    case WM_TIMER:
        if (wParam == kQuietTimer) {
            KillTimer(hwnd, kQuietTimer);
            self->Report();
            return 0;
        }
        break;
    case WM_CLOSE:
        // Only the monitor ends its window (Stop): a close from outside (a program that
        // closes every top-level window of ours, the session's end) would silently end the
        // printer list's updates.
        return 0;
    case WM_NCDESTROY:
        // Destroyed all the same (the thread ended, DestroyWindow from elsewhere): the
        // registration goes with it and nothing keeps a handle that may name another window.
        if (self->m_notify) {
            UnregisterDeviceNotification(self->m_notify);
            self->m_notify = nullptr;
        }
        self->m_hwnd = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace brimwell
