#include "platform/windows/WinDeviceOpener.h"

#include "platform/windows/WinText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace brimwell {
namespace {

// The job goes out in pieces of this size, each its own request: a request shows no progress
// until it ends, so pieces small enough for the slowest adapter to take well within the stall
// limit make every piece taken count as progress.
constexpr std::uint32_t kWritePieceBytes = 1024;
// The whole job may take this long per byte on top of one stall limit: a device that keeps
// taking a trickle never holds the job for ever, and a 128 KiB firmware job at 100 bytes a
// second (a slow adapter) is still never cut off while data flows.
constexpr std::uint64_t kJobMsPerByte = 10;
// How long a cancelled request is given to come back.
constexpr DWORD kCancelWaitMs = 5000;

// One request in flight: its OVERLAPPED, event and bytes live together on the heap, so that a
// request the driver never gives back (a cancel that does not complete) can be left to it
// rather than freed under it.
struct PendingWrite {
    OVERLAPPED ov{};
    std::uint8_t bytes[kWritePieceBytes];
};

// A handle opened for overlapped I/O: the job is written piece by piece, each piece waited for
// at most the stall limit since the last progress, the whole job at most a limit that grows
// with its length. With a job control, each wait also wakes at its stop request; the request
// in flight is then cancelled and waited for, so that the device and the request's memory are
// let go only once the driver has given the request back.
class OverlappedHandle : public IDeviceHandle {
public:
    OverlappedHandle(HANDLE handle, std::uint32_t stallMs) : m_handle(handle), m_stallMs(stallMs) {}
    ~OverlappedHandle() override { CloseHandle(m_handle); }
    OverlappedHandle(const OverlappedHandle&) = delete;
    OverlappedHandle& operator=(const OverlappedHandle&) = delete;

    void SetControl(JobControl* control) override { m_control = control; }
    bool StoppedByRequest() const override { return m_stopped; }

    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        *written = 0;
        m_error = 0;
        m_stopped = false;
        auto* pending = new PendingWrite;
        pending->ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!pending->ov.hEvent) {
            m_error = GetLastError();
            delete pending;
            return false;
        }
        const ULONGLONG jobDeadline =
            GetTickCount64() + m_stallMs + std::uint64_t{length} * kJobMsPerByte;
        ULONGLONG lastProgress = GetTickCount64();
        std::uint32_t done = 0;
        bool stuck = false;
        while (done < length && m_error == 0) {
            if (m_control && m_control->StopRequested()) {
                m_stopped = true;
                break;
            }
            const std::uint32_t piece = std::min(length - done, kWritePieceBytes);
            std::memcpy(pending->bytes, data + done, piece);
            const ULONGLONG now = GetTickCount64();
            const ULONGLONG until = std::min(lastProgress + m_stallMs, jobDeadline);
            const DWORD waitMs = until > now ? static_cast<DWORD>(until - now) : 0;
            DWORD taken = 0;
            const PieceResult result = WritePiece(*pending, piece, waitMs, &taken);
            done += taken;
            if (m_control) {
                m_control->SetTaken(done);
            }
            if (result == PieceResult::Stopped) {
                break;
            }
            if (taken > 0) {
                lastProgress = GetTickCount64();
            } else if (result == PieceResult::Done) {
                break; // the device took nothing and gave no reason: the write ends short
            }
            if (result == PieceResult::Stuck) {
                stuck = true;
                break;
            }
            if (result == PieceResult::TimedOut &&
                (taken == 0 || GetTickCount64() >= jobDeadline)) {
                m_error = ERROR_TIMEOUT;
            }
        }
        // A last piece the device finished as the stop came has the whole job out.
        m_stopped = m_stopped && done < length;
        if (!stuck) {
            CloseHandle(pending->ov.hEvent);
            delete pending;
        } // else the driver still holds the request: its memory is left to it
        if (m_stopped) {
            m_error = ERROR_CANCELLED;
        } else if (stuck) {
            m_error = ERROR_TIMEOUT;
        }
        *written = done;
        return m_error == 0 && done == length;
    }
    std::string FailureReason() const override { return Win32ErrorText(m_error); }

private:
    enum class PieceResult { Done, TimedOut, Failed, Stuck, Stopped };

    // Starts one request and waits for it at most waitMs, or until a stop is requested. A
    // request that ends at the moment of the time-out counts as done; one that took part of
    // the piece before its cancel reports what it took.
    PieceResult WritePiece(PendingWrite& pending, DWORD piece, DWORD waitMs, DWORD* taken) {
        *taken = 0;
        OVERLAPPED& ov = pending.ov;
        ResetEvent(ov.hEvent);
        ov.Internal = ov.InternalHigh = 0;
        ov.Offset = ov.OffsetHigh = 0;
        if (!WriteFile(m_handle, pending.bytes, piece, nullptr, &ov) &&
            GetLastError() != ERROR_IO_PENDING) {
            m_error = GetLastError();
            return PieceResult::Failed;
        }
        // The request's own event first: a request that has ended counts, even when the stop
        // came at the same moment.
        const HANDLE stop = m_control ? static_cast<HANDLE>(m_control->StopEvent()) : nullptr;
        const HANDLE events[] = {ov.hEvent, stop};
        const DWORD woke = WaitForMultipleObjects(stop ? 2 : 1, events, FALSE, waitMs);
        bool timedOut = false;
        if (woke != WAIT_OBJECT_0) {
            m_stopped = woke == WAIT_OBJECT_0 + 1;
            timedOut = !m_stopped;
            // Cancelled from this thread, which issued it, and waited for: only a request the
            // driver has given back has its bytes counted and its memory freed.
            CancelIoEx(m_handle, &ov);
            if (WaitForSingleObject(ov.hEvent, kCancelWaitMs) != WAIT_OBJECT_0) {
                return PieceResult::Stuck;
            }
        }
        const bool completed = GetOverlappedResult(m_handle, &ov, taken, FALSE) != 0;
        const DWORD why = completed ? 0 : GetLastError();
        if (m_stopped) {
            return PieceResult::Stopped; // *taken is what went out before the cancel
        }
        if (completed) {
            return *taken == 0 && timedOut ? PieceResult::TimedOut : PieceResult::Done;
        }
        if (why == ERROR_OPERATION_ABORTED) {
            return PieceResult::TimedOut; // cancelled by us, *taken is what went out before
        }
        m_error = why;
        return PieceResult::Failed;
    }

    HANDLE m_handle;
    std::uint32_t m_stallMs;
    JobControl* m_control = nullptr;
    DWORD m_error = 0;
    bool m_stopped = false;
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
        // The temporary file was created as one (kept in memory where it can); the file the
        // user gets is an ordinary one.
        FILE_BASIC_INFO basic{}; // times of 0 stay as they are
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        const bool plain =
            SetFileInformationByHandle(m_handle, FileBasicInfo, &basic, sizeof basic) != 0 ||
            Failed();
        const bool closed = CloseHandle(m_handle) != 0 || Failed();
        m_handle = INVALID_HANDLE_VALUE;
        m_committed = flushed && plain && closed && (PutInPlace() || Failed());
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

    // A file that exists is replaced with ReplaceFileW, which keeps its security and its
    // other properties, and it keeps its attributes; a new file is the temporary one renamed.
    bool PutInPlace() {
        const DWORD attributes = GetFileAttributesW(m_target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (ReplaceFileW(m_target.c_str(), m_temp.c_str(), nullptr,
                             REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                             nullptr)) {
                SetFileAttributesW(m_target.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_TEMPORARY});
                return true;
            }
            if (GetLastError() != ERROR_FILE_NOT_FOUND) {
                return false; // the target went away meanwhile: then it is a new file
            }
        }
        return MoveFileExW(m_temp.c_str(), m_target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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
