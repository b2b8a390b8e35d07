// Output files are replaced whole or not at all; a size limit (ulimit -f) or a reader that
// goes away fails a write instead of ending the program.
#include "platform/linux/PosixDeviceOpener.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

std::string Read(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

bool WriteAll(IDeviceHandle& h, const std::string& bytes) {
    std::uint32_t written = 0;
    const auto n = static_cast<std::uint32_t>(bytes.size());
    return h.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), n, &written) &&
           written == n;
}

TEST(PosixWrite, OutputFileIsReplacedOnlyByACommittedWholeWrite) {
    char pattern[] = "/tmp/brimwell-write-XXXXXX";
    const std::string dir = ::mkdtemp(pattern), out = dir + "/keep.txt";
    std::ofstream(out) << "old";
    ::chmod(out.c_str(), 0640);
    OutputFileOpener opener;
    for (const char* how : {"abandoned", "size limit", "committed"}) {
        auto h = opener.OpenForWrite(out);
        ASSERT_TRUE(h);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small{2, old.rlim_max};
        if (how == std::string("size limit")) {
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        const bool written = WriteAll(*h, "new content");
        ::setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(written, how != std::string("size limit")) << how;
        EXPECT_EQ(h->FailureReason(), written ? "" : "File too large") << how;
        EXPECT_EQ(Read(out), "old") << how;
        if (how == std::string("committed")) {
            EXPECT_TRUE(h->Commit());
        }
    }
    EXPECT_EQ(Read(out), "new content");
    struct stat st {};
    ::stat(out.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::system(("test \"$(ls -A " + dir + ")\" = keep.txt").c_str()), 0); // no temp
    std::system(("rm -rf " + dir).c_str());
    EXPECT_FALSE(opener.OpenForWrite(out));
    EXPECT_EQ(opener.LastOpenReason(), "No such file or directory");

    const std::string fifo = dir + ".fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    auto h = PosixDeviceOpener().OpenForWrite(fifo);
    ASSERT_TRUE(h && WriteAll(*h, "first"));
    ::close(reader);
    EXPECT_FALSE(WriteAll(*h, "second")); // EPIPE, and SIGPIPE did not end the test
    EXPECT_EQ(h->FailureReason(), "Broken pipe");
    ::unlink(fifo.c_str());
}

} // namespace
} // namespace brimwell::test
