#pragma once
#include "platform/DeviceEnumerator.h"

#include <memory>

namespace brimwell {

// Present printer-class interfaces on Linux: udev devices of subsystem "usbmisc" whose
// kernel name starts with "lp" (the usblp driver). The device path is the node
// (/dev/usb/lpN); the vendor and product and the location come from the parent USB device.
class UdevEnumerator : public IDeviceEnumerator {
public:
    bool Enumerate(std::vector<RawDeviceInterface>& out) override;
};

// Arrival and removal of lp interfaces, from a udev netlink monitor whose descriptor is
// watched by the Qt event loop. No thread and no polling. If the monitor cannot be set up,
// nothing is reported.
class UdevMonitor : public IDeviceMonitor {
public:
    UdevMonitor();
    ~UdevMonitor() override;
    void SetChangeHandler(std::function<void()> handler) override;
    bool IsListening() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace brimwell
