#include "platform/win/WinDeviceOpener.h"

#include "platform/win/WinText.h"

#include <windows.h>

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
        OVERLAPPED ov{};
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!ov.hEvent) {
            return false;
        }
        DWORD done = 0;
        bool ok = WriteFile(m_handle, data, length, nullptr, &ov) != 0;
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            if (WaitForSingleObject(ov.hEvent, m_stallMs) == WAIT_OBJECT_0) {
                ok = GetOverlappedResult(m_handle, &ov, &done, FALSE) != 0;
            } else {
                // Stalled: take the request back. Whatever the device took before the
                // cancel is still reported.
                CancelIoEx(m_handle, &ov);
                GetOverlappedResult(m_handle, &ov, &done, TRUE);
                ok = false;
            }
        } else if (ok) {
            ok = GetOverlappedResult(m_handle, &ov, &done, FALSE) != 0;
        }
        CloseHandle(ov.hEvent);
        *written = done;
        return ok;
    }

private:
    HANDLE m_handle;
    std::uint32_t m_stallMs;
};

// A plain file or standard output, written synchronously.
class FileHandle : public IDeviceHandle {
public:
    FileHandle(HANDLE handle, bool owned) : m_handle(handle), m_owned(owned) {}
    ~FileHandle() override {
        if (m_owned) {
            CloseHandle(m_handle);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        DWORD done = 0;
        const bool ok = WriteFile(m_handle, data, length, &done, nullptr) != 0;
        *written = done;
        return ok;
    }

private:
    HANDLE m_handle;
    bool m_owned;
};

} // namespace

std::unique_ptr<IDeviceHandle> WinDeviceOpener::OpenForWrite(const std::string& path) {
    if (path.empty()) {
        return nullptr;
    }
    const HANDLE h = CreateFileW(
        WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<OverlappedHandle>(h, m_stallMs);
}

std::unique_ptr<IDeviceHandle> WinOutputFileOpener::OpenForWrite(const std::string& path) {
    if (path == "-") {
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (out == INVALID_HANDLE_VALUE || out == nullptr) {
            return nullptr;
        }
        return std::make_unique<FileHandle>(out, false);
    }
    if (path.empty()) {
        return nullptr;
    }
    const HANDLE h = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<FileHandle>(h, true);
}

} // namespace brimwell
