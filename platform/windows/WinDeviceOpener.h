#pragma once
#include "platform/DeviceOpener.h"

#include <cstdint>
#include <string>

namespace brimwell {

// Opens a printer's device interface path for writing with CreateFileW: write access, others
// may read, sequential, and only if the path exists. A vanished device must fail to open
// rather than become a plain file that swallows the job. A write goes out as a series of small
// WriteFile requests; a request the device has not finished within the stall bound since the
// last progress is cancelled (a printer switched off or out of ribbon holds the request;
// without a bound the program would hang with it). Every piece taken restarts the bound, so a
// slow printer is not a stalled one; the whole write is bounded too, by a limit that grows
// with its length.
class WinDeviceOpener : public IDeviceOpener {
public:
    explicit WinDeviceOpener(std::uint32_t stallMs = DEVICE_STALL_LIMIT_MS) : m_stallMs(stallMs) {}
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;
    DeviceOpenError LastOpenError() const override { return m_lastError; }
    std::string LastOpenReason() const override { return m_lastReason; }

private:
    std::uint32_t m_stallMs;
    DeviceOpenError m_lastError = DeviceOpenError::None;
    std::string m_lastReason;
};

// The command-line companion's output files. "-" is standard output, written as raw bytes.
// Any other path is written to a temporary file beside it, which replaces the path only when
// the whole job was written (Commit); a failed or abandoned job removes the temporary file and
// leaves an existing file untouched. A replaced file keeps its attributes and security.
class WinOutputFileOpener : public IDeviceOpener {
public:
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override;
    DeviceOpenError LastOpenError() const override { return m_lastError; }
    std::string LastOpenReason() const override { return m_lastReason; }

private:
    DeviceOpenError m_lastError = DeviceOpenError::None;
    std::string m_lastReason;
};

} // namespace brimwell
