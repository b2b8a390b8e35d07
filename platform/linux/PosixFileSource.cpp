#include "platform/linux/PosixFileSource.h"

#include "platform/linux/PosixCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace brimwell {
namespace {

class PosixReadableFile : public IReadableFile {
public:
    PosixReadableFile(int fd, std::uint64_t size, std::shared_ptr<std::string> reason)
        : m_fd(fd), m_size(size), m_reason(std::move(reason)) {}
    ~PosixReadableFile() override { ::close(m_fd); }
    PosixReadableFile(const PosixReadableFile&) = delete;
    PosixReadableFile& operator=(const PosixReadableFile&) = delete;

    bool QuerySize(std::uint64_t* pSize) override {
        *pSize = m_size;
        return true;
    }

    // The whole request: read(2) may deliver a regular file in pieces, and a signal may
    // interrupt it. Fewer bytes than asked means the file ended early.
    bool Read(std::uint8_t* pBuffer, std::uint32_t length, std::uint32_t* pRead) override {
        std::uint32_t done = 0;
        while (done < length) {
            const ssize_t n = ::read(m_fd, pBuffer + done, length - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                *m_reason = ErrnoText(errno);
                *pRead = done;
                return false;
            }
            if (n == 0) {
                break;
            }
            done += static_cast<std::uint32_t>(n);
        }
        *pRead = done;
        return true;
    }

private:
    int m_fd;
    std::uint64_t m_size;
    std::shared_ptr<std::string> m_reason;
};

} // namespace

bool PosixFileSource::IsRegularFile(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::unique_ptr<IReadableFile> PosixFileSource::OpenForRead(const std::string& path) {
    m_reason->clear();
    if (path.empty()) {
        *m_reason = ErrnoText(ENOENT); // what open("") says
        return nullptr;
    }
    // A directory is named as the system names it; other nodes that are no regular file get
    // no reason, since the system sees nothing wrong with them.
    auto refuse = [&](int error) -> std::unique_ptr<IReadableFile> {
        *m_reason = ErrnoText(error);
        return nullptr;
    };
    // Looking first spares device nodes even the open; the check on the open descriptor is
    // the one that counts, since the path may change in between.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        return refuse(errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return refuse(S_ISDIR(st.st_mode) ? EISDIR : 0);
    }
    // Non-blocking, so that a FIFO swapped in after the look cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return refuse(errno);
    }
    const bool looked = ::fstat(fd, &st) == 0;
    const int why = looked ? (S_ISDIR(st.st_mode) ? EISDIR : 0) : errno;
    if (!looked || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return refuse(why);
    }
    return std::make_unique<PosixReadableFile>(fd, static_cast<std::uint64_t>(st.st_size),
                                               m_reason);
}

} // namespace brimwell
