#include "platform/posix/PosixFileSource.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell {
namespace {

class PosixReadableFile : public IReadableFile {
public:
    PosixReadableFile(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
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
};

} // namespace

bool PosixFileSource::IsRegularFile(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::unique_ptr<IReadableFile> PosixFileSource::OpenForRead(const std::string& path) {
    if (path.empty()) {
        return nullptr;
    }
    // Looking first spares device nodes even the open; the check on the open descriptor is
    // the one that counts, since the path may change in between.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return nullptr;
    }
    // Non-blocking, so that a FIFO swapped in after the look cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return nullptr;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixReadableFile>(fd, static_cast<std::uint64_t>(st.st_size));
}

} // namespace brimwell
