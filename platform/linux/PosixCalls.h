#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <sys/types.h>

namespace brimwell {

// The system calls through which jobs reach a device node or a file, behind one small
// interface so that tests can produce every error a device can give (EINTR, EAGAIN, EIO,
// ENODEV, a stall) without a device that really misbehaves. Each returns what the system
// call returns and leaves errno set as it does.
class IPosixCalls {
public:
    virtual ~IPosixCalls() = default;
    virtual int Open(const char* path, int flags, mode_t mode) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t length) = 0;
    // Waits until fd can take more bytes, or until stopFd (when not -1) becomes readable:
    // > 0 when either happened (fd may also have failed), 0 on time-out, < 0 on error. For a
    // USB printer node "can take more" means that no transfer is in flight: the driver
    // queues one transfer per write and reports POLLOUT only once it has completed.
    virtual int PollWritable(int fd, int stopFd, int timeoutMs) = 0;
    // Closes fd. For a USB printer node this kills a transfer still in flight, so a job is
    // drained (see PollWritable) before its node is closed.
    virtual int Close(int fd) = 0;
};

// The real system calls.
IPosixCalls& SystemPosixCalls();

// The system's text for an errno value ("No such file or directory"); empty for 0.
inline std::string ErrnoText(int error) {
    return error == 0 ? std::string() : std::string(std::strerror(error));
}

} // namespace brimwell
