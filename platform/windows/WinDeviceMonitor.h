#pragma once
#include "platform/DeviceEnumerator.h"
#include "platform/windows/UsbPrintInterface.h"

#include <windows.h>

namespace brimwell {

// What a WM_DEVICECHANGE means for the printer list.
enum class DeviceChange {
    None,    // nothing of ours (another class, a query, a configuration change)
    Rebuild, // a printer interface arrived or was removed, or the device tree changed
};
DeviceChange ClassifyDeviceChange(WPARAM event, LPARAM data);

// Reports printer arrivals and removals: a hidden top-level window registered with
// RegisterDeviceNotificationW for the printer interface class, which also hears the
// DBT_DEVNODES_CHANGED broadcast (some drivers report only that; a message-only window would
// not hear broadcasts). A burst of messages for one plug makes one report, `quietMs` after
// the last message (0: at once).
class WinDeviceMonitor : public IDeviceMonitor {
public:
    explicit WinDeviceMonitor(unsigned quietMs = 250);
    ~WinDeviceMonitor() override;
    WinDeviceMonitor(const WinDeviceMonitor&) = delete;
    WinDeviceMonitor& operator=(const WinDeviceMonitor&) = delete;

    // A handler starts listening (the window is made on first use); none stops.
    void SetChangeHandler(std::function<void()> handler) override;

    HWND Window() const { return m_hwnd; }
    bool Registered() const { return m_notify != nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Start();
    void Stop();
    void Report();

    unsigned m_quietMs;
    HWND m_hwnd = nullptr;
    HDEVNOTIFY m_notify = nullptr;
    std::function<void()> m_handler;
};

} // namespace brimwell
