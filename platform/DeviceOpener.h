#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace brimwell {

// An open printer device. Closing is destruction, so no path can leak a descriptor.
class IDeviceHandle {
public:
    virtual ~IDeviceHandle() = default;
    // One write request for the whole buffer. Returns false when the request failed;
    // *written receives how many bytes the device took (a short count is the caller's
    // business to judge).
    virtual bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) = 0;
};

// Opens a device path for writing; nullptr when it cannot be opened.
class IDeviceOpener {
public:
    virtual ~IDeviceOpener() = default;
    virtual std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) = 0;
};

} // namespace brimwell
