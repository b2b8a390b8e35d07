#pragma once
#include "platform/UsbId.h"

#include <functional>
#include <optional>
#include <string>

namespace brimwell {

// Pure rules over the names udev reports, kept apart from the libudev calls so that tables
// can test them.
// Whether a udev device is a printer-class interface: the usblp driver's "lpN" nodes of
// subsystem "usbmisc" (the same subsystem also holds hiddevN and others).
bool IsPrinterInterface(const std::string& subsystem, const std::string& sysname);

// Whether a device event is the arrival ("add") or removal ("remove") of a printer-class
// interface. Decided from the names alone: on removal the parent USB device may already be
// gone from sysfs, so none of its attributes can be consulted.
bool IsPrinterInterfaceEvent(const std::string& action, const std::string& subsystem,
                             const std::string& sysname);

// One read from the device-event socket: an event (and whether it is a printer-interface
// arrival or removal), or nothing, with the error number the read left.
struct MonitorRead {
    bool got = false;
    bool ours = false;
    int error = 0;
};

// Reads through next() until the socket has nothing more and tells whether the printer list
// must be rebuilt: one of the events was ours, or events were lost (the receive buffer overran
// and the read failed with anything but "try again" or "interrupted"), since any lost event
// may have been ours. One rebuild covers a whole burst.
bool DrainNeedsRebuild(const std::function<MonitorRead()>& next);

// The vendor and product of a USB device from its idVendor and idProduct attributes, which
// the kernel writes as four hex digits ("1203", "067b"). nullopt when either attribute is
// missing (nullptr) or is not one to four hex digits.
std::optional<UsbId> UsbIdFromAttributes(const char* idVendor, const char* idProduct);

} // namespace brimwell
