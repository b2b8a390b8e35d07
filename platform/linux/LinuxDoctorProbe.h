#pragma once
#include "platform/PrinterDoctor.h"
#include "platform/linux/PosixCalls.h"

namespace brimwell {

// What `doctor` reads on Linux: the USB devices of ours from udev (whether or not a printer
// driver is bound), the driver of each one's printer-class interface and its /dev/usb/lpN
// node, whether the node opens for writing (through `calls`, closed again at once), the
// node's group and access-control entries, the processes holding it open (/proc), the
// modprobe.d files that keep usblp from loading, and the installed udev rules naming our
// devices.
class LinuxDoctorProbe : public IDoctorProbe {
public:
    explicit LinuxDoctorProbe(IPosixCalls& calls = SystemPosixCalls()) : m_calls(calls) {}
    DoctorFacts Gather(const UsbIdFilter& ours) override;

private:
    IPosixCalls& m_calls;
};

} // namespace brimwell
