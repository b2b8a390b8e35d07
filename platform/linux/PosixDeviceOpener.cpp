#include "platform/linux/PosixDeviceOpener.h"

#include "platform/linux/SystemClock.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell {
namespace {

class SystemCalls : public IPosixCalls {
public:
    int Open(const char* path, int flags, mode_t mode) override {
        return ::open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, std::size_t length) override {
        return ::write(fd, data, length);
    }
    int PollWritable(int fd, int stopFd, int timeoutMs) override {
        pollfd p[2] = {{fd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
        return ::poll(p, stopFd >= 0 ? 2 : 1, timeoutMs);
    }
    int Close(int fd) override { return ::close(fd); }
};

ITickSource& TicksOr(ITickSource* ticks) {
    static SystemTicks system;
    return ticks ? *ticks : system;
}

DeviceOpenError OpenErrorOf(int error) {
    return error == EACCES || error == EPERM ? DeviceOpenError::AccessDenied
                                             : DeviceOpenError::Other;
}

// Holds SIGPIPE and SIGXFSZ back while a job is written: a FIFO whose reader went away and
// a file that reaches the size limit (ulimit -f) then fail the write with EPIPE or EFBIG
// instead of ending the program. A signal the writes raised is taken away afterwards; one
// that was pending before is left alone.
class ScopedWriteSignalsHeld {
public:
    ScopedWriteSignalsHeld() {
        sigemptyset(&m_held);
        sigaddset(&m_held, SIGPIPE);
        sigaddset(&m_held, SIGXFSZ);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        m_pipeWasPending = sigismember(&pending, SIGPIPE) == 1;
        m_sizeWasPending = sigismember(&pending, SIGXFSZ) == 1;
        pthread_sigmask(SIG_BLOCK, &m_held, &m_previous);
    }
    ~ScopedWriteSignalsHeld() {
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        Consume(pending, SIGPIPE, m_pipeWasPending);
        Consume(pending, SIGXFSZ, m_sizeWasPending);
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    ScopedWriteSignalsHeld(const ScopedWriteSignalsHeld&) = delete;
    ScopedWriteSignalsHeld& operator=(const ScopedWriteSignalsHeld&) = delete;

private:
    static void Consume(const sigset_t& pending, int sig, bool wasPending) {
        if (wasPending || sigismember(&pending, sig) != 1) {
            return;
        }
        sigset_t one;
        sigemptyset(&one);
        sigaddset(&one, sig);
        const timespec now{0, 0};
        while (sigtimedwait(&one, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    sigset_t m_held;
    sigset_t m_previous;
    bool m_pipeWasPending = false;
    bool m_sizeWasPending = false;
};

// The longest pause between two tries of a device that poll calls writable but whose write
// still answers EAGAIN (some drivers do, while the printer is busy).
constexpr std::uint32_t kBusyBackOffMaxMs = 50;

// Writes the whole buffer to fd, continuing after partial writes so that the bytes go out
// as one contiguous stream. A descriptor in non-blocking mode that has no room is waited
// for with poll; when poll calls it writable and the write still has no room, the next try
// waits a little longer each time (1 ms doubling to kBusyBackOffMaxMs) rather than spinning a
// core. When no byte has gone out for stallLimitMs, the write fails. A write that
// takes nothing and reports no error ends the write short.
// *error receives the errno of a failure (ETIMEDOUT for a stall, ECANCELED for a stop the
// job control asked for), 0 for none or a short write the system gave no reason for. The job
// control, when there is one, hears of every byte taken, and its stop descriptor wakes a wait.
bool WriteAll(IPosixCalls& calls, ITickSource& ticks, std::uint32_t stallLimitMs, int fd,
              JobControl* control, const std::uint8_t* data, std::uint32_t length,
              std::uint32_t* written, int* error) {
    const ScopedWriteSignalsHeld signalsHeld;
    const int stopFd = control ? control->StopFd() : -1;
    auto stopRequested = [control] { return control && control->StopRequested(); };
    std::uint32_t done = 0;
    std::uint32_t lastProgress = ticks.GetTickCount();
    auto stalled = [&] {
        return static_cast<std::uint32_t>(ticks.GetTickCount() - lastProgress) >= stallLimitMs;
    };
    bool failed = false;
    bool pollSaidWritable = false;
    std::uint32_t backOffMs = 0;
    *error = 0;
    while (done < length && !failed) {
        if (stopRequested()) {
            failed = true;
            *error = ECANCELED;
            break;
        }
        const std::size_t chunk = std::min<std::size_t>(length - done, SSIZE_MAX);
        const ssize_t n = calls.Write(fd, data + done, chunk);
        if (n > 0) {
            done += static_cast<std::uint32_t>(n);
            if (control) {
                control->SetTaken(done);
            }
            lastProgress = ticks.GetTickCount();
            pollSaidWritable = false;
            backOffMs = 0;
        } else if (n == 0) {
            break;
        } else if (errno == EINTR) {
            failed = stalled();
            *error = failed ? ETIMEDOUT : 0;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (pollSaidWritable) {
                backOffMs = std::min(backOffMs == 0 ? 1 : backOffMs * 2, kBusyBackOffMaxMs);
                const auto waited = static_cast<std::uint32_t>(ticks.GetTickCount() - lastProgress);
                if (waited < stallLimitMs) {
                    ticks.Sleep(std::min(backOffMs, stallLimitMs - waited));
                }
            }
            pollSaidWritable = false;
            // No room: wait until there is, or until the device has stalled too long.
            for (;;) {
                const auto waited = static_cast<std::uint32_t>(ticks.GetTickCount() - lastProgress);
                if (waited >= stallLimitMs) {
                    failed = true;
                    *error = ETIMEDOUT;
                    break;
                }
                const int ready = calls.PollWritable(
                    fd, stopFd,
                    static_cast<int>(std::min<std::uint32_t>(stallLimitMs - waited, INT_MAX)));
                if (stopRequested()) {
                    failed = true;
                    *error = ECANCELED;
                    break;
                }
                if (ready > 0) {
                    pollSaidWritable = true;
                    break;
                }
                if (ready < 0 && errno != EINTR) {
                    failed = true;
                    *error = errno;
                    break;
                }
            }
        } else {
            failed = true; // EIO, ENODEV (unplugged), ENOSPC, EPIPE, EFBIG, ...
            *error = errno;
        }
    }
    *written = done;
    return !failed && done == length;
}

// Waits until nothing written to fd is still on its way: a zero-length write answers EAGAIN
// while the USB printer driver has a transfer in flight and 0 once it has none (a pipe, a
// terminal or a file answers 0 at once), and poll wakes when the transfer completes. The
// driver kills a transfer still in flight when its node is closed, so a job is reported sent
// only after this. Bounded like a write: a transfer that has not completed after
// stallLimitMs fails with ETIMEDOUT; a stop request ends it with ECANCELED.
bool DrainAll(IPosixCalls& calls, ITickSource& ticks, std::uint32_t stallLimitMs, int fd,
              JobControl* control, int* error) {
    const ScopedWriteSignalsHeld signalsHeld;
    const int stopFd = control ? control->StopFd() : -1;
    const std::uint32_t start = ticks.GetTickCount();
    static const std::uint8_t kNothing = 0;
    *error = 0;
    for (;;) {
        if (control && control->StopRequested()) {
            *error = ECANCELED;
            return false;
        }
        if (calls.Write(fd, &kNothing, 0) >= 0) {
            return true;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            *error = errno; // ENODEV: unplugged while the last transfer was on its way
            return false;
        }
        const auto waited = static_cast<std::uint32_t>(ticks.GetTickCount() - start);
        if (waited >= stallLimitMs) {
            *error = ETIMEDOUT;
            return false;
        }
        if (errno == EINTR) {
            continue;
        }
        const int ready = calls.PollWritable(
            fd, stopFd, static_cast<int>(std::min<std::uint32_t>(stallLimitMs - waited, INT_MAX)));
        if (ready < 0 && errno != EINTR) {
            *error = errno;
            return false;
        }
    }
}

// A device node, standard output or a file written in place.
class FdHandle : public IDeviceHandle {
public:
    FdHandle(int fd, bool owned, IPosixCalls& calls, ITickSource& ticks, std::uint32_t stallLimitMs)
        : m_fd(fd), m_owned(owned), m_calls(calls), m_ticks(ticks), m_stallLimitMs(stallLimitMs) {}
    ~FdHandle() override {
        if (m_owned) {
            m_calls.Close(m_fd);
        }
    }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        return WriteAll(m_calls, m_ticks, m_stallLimitMs, m_fd, m_control, data, length, written,
                        &m_error);
    }
    bool Drain() override {
        return DrainAll(m_calls, m_ticks, m_stallLimitMs, m_fd, m_control, &m_error);
    }
    void SetControl(JobControl* control) override { m_control = control; }
    bool StoppedByRequest() const override { return m_error == ECANCELED; }
    std::string FailureReason() const override { return ErrnoText(m_error); }

private:
    int m_fd;
    int m_error = 0;
    JobControl* m_control = nullptr;
    bool m_owned;
    IPosixCalls& m_calls;
    ITickSource& m_ticks;
    std::uint32_t m_stallLimitMs;
};

// Makes what was renamed into `dir` last through a crash: the folder's entry reaches the disk.
// Best effort: a file system that cannot sync a folder (EINVAL) has nothing to make final.
void SyncFolder(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A temporary file beside the target, renamed over it by Commit; removed otherwise.
class ReplacingFileHandle : public IDeviceHandle {
public:
    ReplacingFileHandle(int fd, std::string tempPath, std::string target, IPosixCalls& calls,
                        ITickSource& ticks, std::uint32_t stallLimitMs)
        : m_fd(fd), m_tempPath(std::move(tempPath)), m_target(std::move(target)), m_calls(calls),
          m_ticks(ticks), m_stallLimitMs(stallLimitMs) {}
    ~ReplacingFileHandle() override {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (!m_committed) {
            ::unlink(m_tempPath.c_str());
        }
    }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        if (m_fd < 0) {
            *written = 0;
            m_error = EBADF;
            return false;
        }
        return WriteAll(m_calls, m_ticks, m_stallLimitMs, m_fd, m_control, data, length, written,
                        &m_error);
    }
    void SetControl(JobControl* control) override { m_control = control; }
    bool StoppedByRequest() const override { return m_error == ECANCELED; }
    bool Commit() override {
        if (m_fd < 0) {
            return m_committed;
        }
        // The data reaches the disk before the name changes, so that a crash leaves either
        // the old file or the whole new one.
        m_error = 0;
        const bool synced = ::fsync(m_fd) == 0 || Failed();
        const bool closed = ::close(m_fd) == 0 || Failed();
        m_fd = -1;
        m_committed =
            synced && closed && (::rename(m_tempPath.c_str(), m_target.c_str()) == 0 || Failed());
        if (m_committed) {
            const auto slash = m_target.rfind('/');
            SyncFolder(slash == std::string::npos ? std::string(".")
                                                  : m_target.substr(0, slash + 1));
        }
        return m_committed;
    }
    std::string FailureReason() const override { return ErrnoText(m_error); }

private:
    // Notes the errno of the first failing step; always false.
    bool Failed() {
        if (m_error == 0) {
            m_error = errno;
        }
        return false;
    }

    int m_fd;
    int m_error = 0;
    std::string m_tempPath;
    std::string m_target;
    IPosixCalls& m_calls;
    ITickSource& m_ticks;
    std::uint32_t m_stallLimitMs;
    JobControl* m_control = nullptr;
    bool m_committed = false;
};

// Opens an existing node for writing, as a device is written. No O_CREAT: a missing node is
// an error. O_NONBLOCK: the open itself never waits (a FIFO without a reader fails with
// ENXIO), and the writes are bounded by poll.
std::unique_ptr<IDeviceHandle> OpenNode(IPosixCalls& calls, ITickSource& ticks,
                                        std::uint32_t stallLimitMs, const std::string& path,
                                        DeviceOpenError& error, std::string& reason) {
    const int fd = calls.Open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK, 0);
    if (fd < 0) {
        const int why = errno;
        error = OpenErrorOf(why);
        reason = ErrnoText(why);
        return nullptr;
    }
    error = DeviceOpenError::None;
    reason.clear();
    return std::make_unique<FdHandle>(fd, true, calls, ticks, stallLimitMs);
}

// The mode a newly created file gets: 0666 less the umask, as open(O_CREAT) would give. The
// umask is read from /proc, never by setting it: umask() changes it for the whole process,
// and the window's other threads create files too. Without /proc, 0644 (the usual umask 022).
mode_t NewFileMode() {
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value & 0777);
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

} // namespace

IPosixCalls& SystemPosixCalls() {
    static SystemCalls calls;
    return calls;
}

PosixDeviceOpener::PosixDeviceOpener(IPosixCalls& calls, ITickSource* ticks,
                                     std::uint32_t stallLimitMs)
    : m_calls(calls), m_ticks(TicksOr(ticks)), m_stallLimitMs(stallLimitMs) {}

std::unique_ptr<IDeviceHandle> PosixDeviceOpener::OpenForWrite(const std::string& path) {
    m_lastError = DeviceOpenError::Other;
    if (path.empty()) {
        m_lastReason = ErrnoText(ENOENT); // what open("") says
        return nullptr;
    }
    return OpenNode(m_calls, m_ticks, m_stallLimitMs, path, m_lastError, m_lastReason);
}

OutputFileOpener::OutputFileOpener(IPosixCalls& calls, ITickSource* ticks,
                                   std::uint32_t stallLimitMs)
    : m_calls(calls), m_ticks(TicksOr(ticks)), m_stallLimitMs(stallLimitMs) {}

std::unique_ptr<IDeviceHandle> OutputFileOpener::OpenForWrite(const std::string& path) {
    m_lastError = DeviceOpenError::Other;
    m_lastReason.clear();
    if (path == "-") {
        m_lastError = DeviceOpenError::None;
        return std::make_unique<FdHandle>(STDOUT_FILENO, false, m_calls, m_ticks, m_stallLimitMs);
    }
    if (path.empty() || path.back() == '/') {
        // What open(O_CREAT) says of them.
        m_lastReason = ErrnoText(path.empty() ? ENOENT : EISDIR);
        return nullptr;
    }
    std::string target = path;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        return OpenNode(m_calls, m_ticks, m_stallLimitMs, path, m_lastError, m_lastReason);
    }
    if (exists) {
        // Through a symbolic link, the file it names is replaced and the link stays.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const auto slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = (slash == std::string::npos ? std::string() : dir) + "." + base + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int why = errno;
        m_lastError = OpenErrorOf(why);
        m_lastReason = ErrnoText(why);
        return nullptr;
    }
    // Created private (mkostemp: 0600), then given its mode: the permissions of the file it
    // replaces, or those of a new file. A mode that cannot be given fails the open.
    if (::fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode()) != 0) {
        const int why = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        m_lastError = OpenErrorOf(why);
        m_lastReason = ErrnoText(why);
        return nullptr;
    }
    m_lastError = DeviceOpenError::None;
    return std::make_unique<ReplacingFileHandle>(fd, std::move(temp), std::move(target), m_calls,
                                                 m_ticks, m_stallLimitMs);
}

} // namespace brimwell
