#pragma once
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

// The hardware identifier formed from a USB device's idVendor, idProduct and bcdDevice
// attributes: "USB\VID_1203&PID_0126&REV_0100" (upper-case hex; REV part only when known).
std::string MakeHardwareId(const std::string& idVendor, const std::string& idProduct,
                           const std::string& bcdDevice);

} // namespace brimwell
