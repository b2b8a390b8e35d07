#pragma once
#include "platform/DeviceOpener.h"

#include <cstdint>

namespace brimwell {

// How long one write may wait for the printer to take the job before it counts as failed: a
// printer that is switched off or out of ribbon holds the request, and without a bound the
// program would hang with it.
inline constexpr std::uint32_t kDeviceStallMs = 15000;

// Opens a printer's device interface path for writing with CreateFileW: write access, others
// may read, sequential, and only if the path exists. A vanished device must fail to open
// rather than become a plain file that swallows the job. Each write is one WriteFile request,
// cancelled and reported failed when the device has not finished it within the stall bound.
class WinDeviceOpener : public IDeviceOpener {
public:
    explicit WinDeviceOpener(std::uint32_t stallMs = kDeviceStallMs) : m_stallMs(stallMs) {}
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;

private:
    std::uint32_t m_stallMs;
};

// Creates or truncates a plain file ("-" is standard output, written as raw bytes): the
// command-line companion's --output destination.
class WinOutputFileOpener : public IDeviceOpener {
public:
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;
};

} // namespace brimwell
