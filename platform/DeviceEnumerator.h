#pragma once
#include "platform/UsbId.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brimwell {

// One present device interface of the printer class, as the system reports it. A property
// that could not be read is empty (std::nullopt); such a device is not listed.
struct RawDeviceInterface {
    std::string devicePath;              // what a job opens (/dev/usb/lpN on Linux)
    std::optional<std::string> location; // location information; must be readable
    std::optional<UsbId> usbId;          // the USB device's vendor and product
};

class IDeviceEnumerator {
public:
    virtual ~IDeviceEnumerator() = default;
    // Fills out with the present devices in enumeration order. Returns false when the
    // system refused the query (then out is left empty).
    virtual bool Enumerate(std::vector<RawDeviceInterface>& out) = 0;
};

// Reports arrival and removal of printer-class device interfaces. A monitor that could
// not be set up reports nothing.
class IDeviceMonitor {
public:
    virtual ~IDeviceMonitor() = default;
    virtual void SetChangeHandler(std::function<void()> handler) = 0;
};

} // namespace brimwell
