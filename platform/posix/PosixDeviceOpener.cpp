#include "platform/posix/PosixDeviceOpener.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace brimwell {
namespace {

class FdHandle : public IDeviceHandle {
public:
    FdHandle(int fd, bool owned) : m_fd(fd), m_owned(owned) {}
    ~FdHandle() override {
        if (m_owned) {
            ::close(m_fd);
        }
    }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t* written) override {
        ssize_t n;
        do {
            n = ::write(m_fd, data, length);
        } while (n < 0 && errno == EINTR);
        *written = n < 0 ? 0u : static_cast<std::uint32_t>(n);
        return n >= 0;
    }

private:
    int m_fd;
    bool m_owned;
};

} // namespace

std::unique_ptr<IDeviceHandle> PosixDeviceOpener::OpenForWrite(const std::string& path) {
    if (path.empty()) {
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<FdHandle>(fd, true);
}

std::unique_ptr<IDeviceHandle> OutputFileOpener::OpenForWrite(const std::string& path) {
    if (path == "-") {
        return std::make_unique<FdHandle>(STDOUT_FILENO, false);
    }
    if (path.empty()) {
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<FdHandle>(fd, true);
}

} // namespace brimwell
