// The real device and output-file writers on real files and FIFOs: nothing blocks, a
// reader that goes away or a size limit ends a write without ending the program, and an
// output file is either replaced whole or left exactly as it was.
#include "platform/posix/PosixDeviceOpener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

class PosixWrite : public ::testing::Test {
protected:
    PosixWrite() {
        char pattern[] = "/tmp/brimwell-write-XXXXXX";
        dir = ::mkdtemp(pattern);
    }
    ~PosixWrite() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    // Names in the folder, so that a temporary file left behind shows.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        DIR* d = ::opendir(dir.c_str());
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        ::closedir(d);
        std::sort(names.begin(), names.end());
        return names;
    }
    bool WriteAll(IDeviceHandle& h, const std::string& bytes) {
        std::uint32_t written = 0;
        const auto n = static_cast<std::uint32_t>(bytes.size());
        return h.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), n, &written) &&
               written == n;
    }

    std::string dir;
};

TEST_F(PosixWrite, OutputFileIsReplacedOnlyByACommittedWholeWrite) {
    const std::string out = dir + "/keep.txt";
    Put(out, "old content");
    ::chmod(out.c_str(), 0640);
    OutputFileOpener opener;

    // Abandoned after writing: the old file stays, nothing else is left.
    {
        auto h = opener.OpenForWrite(out);
        ASSERT_TRUE(h);
        EXPECT_TRUE(WriteAll(*h, "new"));
    }
    EXPECT_EQ(Read(out), "old content");
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.txt"});

    // A write past the file size limit (ulimit -f) fails instead of ending the program.
    {
        auto h = opener.OpenForWrite(out);
        ASSERT_TRUE(h);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 4;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const bool ok = WriteAll(*h, "more than four bytes");
        ::setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_FALSE(ok);
    }
    EXPECT_EQ(Read(out), "old content");
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.txt"});

    // Committed: the new content, the old permissions, no temporary file.
    {
        auto h = opener.OpenForWrite(out);
        ASSERT_TRUE(h);
        EXPECT_TRUE(WriteAll(*h, "new content"));
        EXPECT_EQ(Read(out), "old content");
        EXPECT_TRUE(h->Commit());
    }
    EXPECT_EQ(Read(out), "new content");
    struct stat st {};
    ::stat(out.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.txt"});

    // Through a link the file it names is replaced and the link stays.
    ASSERT_EQ(::symlink("keep.txt", (dir + "/link.txt").c_str()), 0);
    auto h = opener.OpenForWrite(dir + "/link.txt");
    ASSERT_TRUE(h && WriteAll(*h, "via link") && h->Commit());
    EXPECT_EQ(Read(out), "via link");
    struct stat lst {};
    ::lstat((dir + "/link.txt").c_str(), &lst);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));

    EXPECT_FALSE(opener.OpenForWrite(dir + "/missing/x.txt"));
    auto devNull = opener.OpenForWrite("/dev/null"); // written in place, never replaced
    ASSERT_TRUE(devNull && WriteAll(*devNull, "x") && devNull->Commit());
}

TEST_F(PosixWrite, DeviceNodesAreNeverCreatedAndFifosNeverBlock) {
    PosixDeviceOpener opener(SystemPosixCalls(), nullptr, /*stallLimitMs=*/50);
    EXPECT_FALSE(opener.OpenForWrite(dir + "/lp0"));
    EXPECT_EQ(Names(), std::vector<std::string>{});

    const std::string fifo = dir + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(opener.OpenForWrite(fifo)); // nobody reads: refused at once
    EXPECT_EQ(opener.LastOpenError(), DeviceOpenError::Other);

    // A reader that goes away mid-job: the write fails (EPIPE), the program goes on.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    auto h = opener.OpenForWrite(fifo);
    ASSERT_TRUE(h);
    EXPECT_TRUE(WriteAll(*h, "first"));
    ::close(reader);
    EXPECT_FALSE(WriteAll(*h, "second"));
}

} // namespace
} // namespace brimwell::test
