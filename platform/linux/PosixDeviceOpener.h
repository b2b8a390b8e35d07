#pragma once
#include "platform/DeviceOpener.h"
#include "platform/Ticks.h"
#include "platform/linux/PosixCalls.h"

namespace brimwell {

// Opens an existing device node write-only and never creates it: a vanished /dev/usb/lp0
// must fail to open rather than become a plain file that swallows the job. The node is
// opened non-blocking, so a node that would make the open wait (a FIFO nobody reads) fails
// at once, and every write is bounded: a device that takes no byte for `stallLimitMs` ends
// the job with a write failure.
class PosixDeviceOpener : public IDeviceOpener {
public:
    // Without `ticks`, the system's monotonic clock times the stall.
    explicit PosixDeviceOpener(IPosixCalls& calls = SystemPosixCalls(),
                               ITickSource* ticks = nullptr,
                               std::uint32_t stallLimitMs = DEVICE_STALL_LIMIT_MS);
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;
    DeviceOpenError LastOpenError() const override { return m_lastError; }
    std::string LastOpenReason() const override { return m_lastReason; }

private:
    IPosixCalls& m_calls;
    ITickSource& m_ticks;
    std::uint32_t m_stallLimitMs;
    DeviceOpenError m_lastError = DeviceOpenError::None;
    std::string m_lastReason;
};

// The command-line companion's output files. "-" is standard output. Any other path is
// written to a temporary file beside it, which replaces the path only when the whole job
// was written (Commit); a failed or abandoned job removes the temporary file and leaves an
// existing file untouched. A path that exists and is no regular file (a FIFO, a character
// device such as /dev/null) is written in place, as a device is.
class OutputFileOpener : public IDeviceOpener {
public:
    explicit OutputFileOpener(IPosixCalls& calls = SystemPosixCalls(), ITickSource* ticks = nullptr,
                              std::uint32_t stallLimitMs = DEVICE_STALL_LIMIT_MS);
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;
    DeviceOpenError LastOpenError() const override { return m_lastError; }
    std::string LastOpenReason() const override { return m_lastReason; }

private:
    IPosixCalls& m_calls;
    ITickSource& m_ticks;
    std::uint32_t m_stallLimitMs;
    DeviceOpenError m_lastError = DeviceOpenError::None;
    std::string m_lastReason;
};

} // namespace brimwell
