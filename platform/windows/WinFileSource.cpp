#include "platform/windows/WinFileSource.h"

#include "platform/windows/WinText.h"

#include <windows.h>

#include <utility>

namespace brimwell {
namespace {

class WinReadableFile : public IReadableFile {
public:
    WinReadableFile(HANDLE handle, std::uint64_t size, std::shared_ptr<std::string> reason)
        : m_handle(handle), m_size(size), m_reason(std::move(reason)) {}
    ~WinReadableFile() override { CloseHandle(m_handle); }
    WinReadableFile(const WinReadableFile&) = delete;
    WinReadableFile& operator=(const WinReadableFile&) = delete;

    bool QuerySize(std::uint64_t* pSize) override {
        *pSize = m_size;
        return true;
    }

    // The whole request, in as many ReadFile calls as it takes. Fewer bytes than asked means
    // the file ended early.
    bool Read(std::uint8_t* pBuffer, std::uint32_t length, std::uint32_t* pRead) override {
        std::uint32_t done = 0;
        while (done < length) {
            DWORD n = 0;
            if (!ReadFile(m_handle, pBuffer + done, length - done, &n, nullptr)) {
                *m_reason = Win32ErrorText(GetLastError());
                *pRead = done;
                return false;
            }
            if (n == 0) {
                break;
            }
            done += n;
        }
        *pRead = done;
        return true;
    }

private:
    HANDLE m_handle;
    std::uint64_t m_size;
    std::shared_ptr<std::string> m_reason;
};

} // namespace

std::unique_ptr<IReadableFile> WinFileSource::OpenForRead(const std::string& path) {
    m_reason->clear();
    if (path.empty()) {
        *m_reason = Win32ErrorText(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open at all.
    const HANDLE h = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *m_reason = Win32ErrorText(GetLastError());
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h); // a device or a pipe: nothing the system calls an error
        return nullptr;
    }
    if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) {
        *m_reason = Win32ErrorText(GetLastError());
        CloseHandle(h);
        return nullptr;
    }
    return std::make_unique<WinReadableFile>(h, static_cast<std::uint64_t>(size.QuadPart),
                                             m_reason);
}

bool WinFileSource::IsRegularFile(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    // Looks at the path only, as the page's state check needs; what is read is decided when
    // the file is opened.
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

} // namespace brimwell
