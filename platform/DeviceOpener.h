#pragma once
#include "platform/JobControl.h"

#include <cstdint>
#include <memory>
#include <string>

namespace brimwell {

// How long a job waits for a device that takes no byte at all before it gives up with a
// write failure. Any progress starts the wait anew: a slow printer is not a stalled one.
inline constexpr std::uint32_t DEVICE_STALL_LIMIT_MS = 15000;

// Why a device did not open, as far as the user can act on it.
enum class DeviceOpenError {
    None,
    AccessDenied, // the user lacks the permission (EACCES, EPERM; access denied on Windows)
    Other,        // missing, busy, not a device that takes a job, ...
};

// An open printer device or output file. Closing is destruction, so no path can leak a
// descriptor.
class IDeviceHandle {
public:
    virtual ~IDeviceHandle() = default;
    // Sends the whole buffer as one contiguous byte stream. Returns false when the device
    // failed or took no byte for DEVICE_STALL_LIMIT_MS; *written receives how many bytes it
    // took (a short count is the caller's business to judge).
    // With a job control set, the write reports the bytes taken to it as they go and ends
    // early, false, when a stop is requested (StoppedByRequest then says so).
    virtual bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) = 0;
    // Waits until the device has really taken what was written: a device that queues a
    // write and returns (the Linux USB printer driver queues one transfer and kills it on
    // close) is waited for here, bounded like a write; false, with its reason, when the
    // device failed, stalled or a stop was requested. A file or pipe has nothing to wait for.
    virtual bool Drain() { return true; }
    // The job control whose stop request ends a write or a drain, and which hears of the bytes
    // taken; nullptr for none. It outlives the handle's use of it.
    virtual void SetControl(JobControl* /*control*/) {}
    // Whether the last Write or Drain failed because a stop was requested.
    virtual bool StoppedByRequest() const { return false; }
    // Makes what was written final. A file takes the place of its target only here; a file
    // handle destroyed without a successful commit leaves the target as it was and no
    // temporary file behind. A device has nothing to make final.
    virtual bool Commit() { return true; }
    // The system's own words for why the last Write or Commit failed ("No space left on
    // device"); empty when the system gave none (a device that took nothing and said nothing).
    virtual std::string FailureReason() const { return {}; }
};

// Opens a device path for writing; nullptr when it cannot be opened, and then
// LastOpenError says why.
class IDeviceOpener {
public:
    virtual ~IDeviceOpener() = default;
    virtual std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) = 0;
    virtual DeviceOpenError LastOpenError() const { return DeviceOpenError::Other; }
    // The system's own words for why the last OpenForWrite failed ("Permission denied");
    // empty when the system gave none.
    virtual std::string LastOpenReason() const { return {}; }
};

} // namespace brimwell
