#pragma once
#include "platform/DeviceOpener.h"

namespace brimwell {

// Opens an existing device node write-only; never creates it. A vanished /dev/usb/lp0 must
// fail to open rather than become a plain file that swallows the job.
class PosixDeviceOpener : public IDeviceOpener {
public:
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;
};

// Creates or truncates a plain file ("-" is standard output): the command-line companion's
// --output destination.
class OutputFileOpener : public IDeviceOpener {
public:
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;
};

} // namespace brimwell
