#include "platform/windows/WinDeviceOpener.h"

#include "platform/windows/WinText.h"

#include <windows.h>

#include <string>
#include <utility>

namespace brimwell {
namespace {

// A handle opened for overlapped I/O: the write is started, then waited for at most the
// stall bound.
class OverlappedHandle : public IDeviceHandle {
public:
    OverlappedHandle(HANDLE handle, std::uint32_t stallMs) : m_handle(handle), m_stallMs(stallMs) {}
    ~OverlappedHandle() override { CloseHandle(m_handle); }
    OverlappedHandle(const OverlappedHandle&) = delete;
    OverlappedHandle& operator=(const OverlappedHandle&) = delete;

    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        *written = 0;
        m_error = 0;
        OVERLAPPED ov{};
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!ov.hEvent) {
            m_error = GetLastError();
            return false;
        }
        DWORD done = 0;
        bool ok = WriteFile(m_handle, data, length, nullptr, &ov) != 0;
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            if (WaitForSingleObject(ov.hEvent, m_stallMs) == WAIT_OBJECT_0) {
                ok = GetOverlappedResult(m_handle, &ov, &done, FALSE) != 0;
                m_error = ok ? 0 : GetLastError();
            } else {
                // Stalled: take the request back. Whatever the device took before the
                // cancel is still reported.
                CancelIoEx(m_handle, &ov);
                GetOverlappedResult(m_handle, &ov, &done, TRUE);
                ok = false;
                m_error = ERROR_TIMEOUT;
            }
        } else if (ok) {
            ok = GetOverlappedResult(m_handle, &ov, &done, FALSE) != 0;
            m_error = ok ? 0 : GetLastError();
        } else {
            m_error = GetLastError();
        }
        CloseHandle(ov.hEvent);
        *written = done;
        return ok;
    }
    std::string FailureReason() const override { return Win32ErrorText(m_error); }

private:
    HANDLE m_handle;
    std::uint32_t m_stallMs;
    DWORD m_error = 0;
};

// Standard output, written synchronously and in place.
class StdOutHandle : public IDeviceHandle {
public:
    explicit StdOutHandle(HANDLE handle) : m_handle(handle) {}
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        DWORD done = 0;
        const bool ok = WriteFile(m_handle, data, length, &done, nullptr) != 0;
        m_error = ok ? 0 : GetLastError();
        *written = done;
        return ok;
    }
    std::string FailureReason() const override { return Win32ErrorText(m_error); }

private:
    HANDLE m_handle;
    DWORD m_error = 0;
};

// A temporary file beside the target, moved over it by Commit; removed otherwise.
class ReplacingFileHandle : public IDeviceHandle {
public:
    ReplacingFileHandle(HANDLE handle, std::wstring temp, std::wstring target)
        : m_handle(handle), m_temp(std::move(temp)), m_target(std::move(target)) {}
    ~ReplacingFileHandle() override {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
        }
        if (!m_committed) {
            DeleteFileW(m_temp.c_str());
        }
    }
    ReplacingFileHandle(const ReplacingFileHandle&) = delete;
    ReplacingFileHandle& operator=(const ReplacingFileHandle&) = delete;

    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        DWORD done = 0;
        const bool ok = WriteFile(m_handle, data, length, &done, nullptr) != 0;
        m_error = ok ? 0 : GetLastError();
        *written = done;
        return ok;
    }
    bool Commit() override {
        if (m_committed) {
            return true;
        }
        m_error = 0;
        const bool flushed = FlushFileBuffers(m_handle) != 0 || Failed();
        const bool closed = CloseHandle(m_handle) != 0 || Failed();
        m_handle = INVALID_HANDLE_VALUE;
        m_committed = flushed && closed &&
                      (MoveFileExW(m_temp.c_str(), m_target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
                       Failed());
        return m_committed;
    }
    std::string FailureReason() const override { return Win32ErrorText(m_error); }

private:
    // Notes the error of the first failing step; always false.
    bool Failed() {
        if (m_error == 0) {
            m_error = GetLastError();
        }
        return false;
    }

    DWORD m_error = 0;
    HANDLE m_handle;
    std::wstring m_temp;
    std::wstring m_target;
    bool m_committed = false;
};

DeviceOpenError OpenErrorOf(DWORD error) {
    return error == ERROR_ACCESS_DENIED ? DeviceOpenError::AccessDenied : DeviceOpenError::Other;
}

} // namespace

std::unique_ptr<IDeviceHandle> WinDeviceOpener::OpenForWrite(const std::string& path) {
    m_lastError = DeviceOpenError::Other;
    m_lastReason.clear();
    if (path.empty()) {
        m_lastReason = Win32ErrorText(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    const HANDLE h = CreateFileW(
        WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD why = GetLastError();
        m_lastError = OpenErrorOf(why);
        m_lastReason = Win32ErrorText(why);
        return nullptr;
    }
    m_lastError = DeviceOpenError::None;
    return std::make_unique<OverlappedHandle>(h, m_stallMs);
}

std::unique_ptr<IDeviceHandle> WinOutputFileOpener::OpenForWrite(const std::string& path) {
    m_lastError = DeviceOpenError::Other;
    m_lastReason.clear();
    if (path == "-") {
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (out == INVALID_HANDLE_VALUE || out == nullptr) {
            m_lastReason = Win32ErrorText(out ? GetLastError() : ERROR_INVALID_HANDLE);
            return nullptr;
        }
        m_lastError = DeviceOpenError::None;
        return std::make_unique<StdOutHandle>(out);
    }
    if (path.empty()) {
        m_lastReason = Win32ErrorText(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    const std::wstring target = WideFromUtf8(path);
    // The temporary name is the target's with a suffix: same folder, so the move is a rename.
    const std::wstring temp = target + L".brimwell-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(GetTickCount()) + L".tmp";
    const HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD why = GetLastError();
        m_lastError = OpenErrorOf(why);
        m_lastReason = Win32ErrorText(why);
        return nullptr;
    }
    m_lastError = DeviceOpenError::None;
    return std::make_unique<ReplacingFileHandle>(h, temp, target);
}

} // namespace brimwell
