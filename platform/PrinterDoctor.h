#pragma once
#include "platform/UsbId.h"

#include <functional>
#include <string>
#include <vector>

namespace brimwell {

// What `brimwell-cli doctor` reads about the system, gathered by a probe of each system
// (platform/linux, platform/windows) and judged by pure code above it. A probe only reads: it
// may open a device for writing, to learn whether it can be, but never writes to it.

// Whether a USB vendor and product are a device the utility lists; the probe asks it, so that
// it looks closer only at our devices.
using UsbIdFilter = std::function<bool(UsbId id)>;

// The outcome of opening a device node or interface for writing.
struct OpenProbe {
    bool tried = false;
    bool opened = false;
    int error = 0;      // errno on Linux, the Win32 error code on Windows
    std::string reason; // the system's own text for the error
    bool accessDenied = false;
};

// Linux: one USB device of ours on the bus.
struct PosixUsbDevice {
    std::string position;          // the bus position, the USB device's kernel name ("1-1.4")
    UsbId usbId;                   // its vendor and product (idVendor, idProduct)
    bool printerInterface = false; // it has an interface of the printer class (07)
    std::string driver;            // the driver bound to that interface; "" none
    std::string node;              // "/dev/usb/lp0"; "" when there is none
    OpenProbe open;
    // Access to the node, read when it exists.
    std::string nodeGroup;      // the group owning the node ("lp")
    bool groupWritable = false; // the node's group may write it
    bool aclForUser = false;    // an access-control entry lets this user write (uaccess)
    bool inGroupNow = false;    // the running session has the node's group
    bool inGroupListed = false; // the group database lists this user in the node's group
    // Other processes this user can see holding the node open: "name (pid N)".
    std::vector<std::string> holders;
};

struct PosixBusFacts {
    bool enumerated = false; // udev answered
    std::string user;        // the user running the program
    std::vector<PosixUsbDevice> devices;
    bool usblpLoaded = false;            // /sys/module/usblp exists
    std::vector<std::string> blacklists; // modprobe.d files that keep usblp from loading
    std::vector<std::string> rules;      // installed udev rule files naming our devices
};

// Windows: one present device with one of our hardware identifiers.
struct WinUsbDevice {
    std::string instanceId;  // "USB\VID_1203&PID_0126\5&2D8F0A3&0&1"
    UsbId usbId;             // read from its first hardware identifier
    std::string description; // the name Device Manager shows
    bool hasProblem = false;
    unsigned long problem = 0; // the CM_PROB_ code when hasProblem
    std::string service;       // the driver service bound ("usbprint", "WinUSB"); "" none
    bool printerInterface = false;
    std::string interfacePath;
    OpenProbe open;
};

struct WinBusFacts {
    bool enumerated = false; // SetupAPI answered
    std::vector<WinUsbDevice> devices;
};

struct DoctorFacts {
    bool windows = false; // which of the two holds the facts
    PosixBusFacts posix;
    WinBusFacts win;
};

class IDoctorProbe {
public:
    virtual ~IDoctorProbe() = default;
    virtual DoctorFacts Gather(const UsbIdFilter& ours) = 0;
};

} // namespace brimwell
