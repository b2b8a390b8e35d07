// Loading logo files: paths, file kinds, size limits, read failures and what a failed load
// leaves behind.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoTestSupport.h"
#include "platform/linux/PosixFileSource.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/logo-test-XXXXXX";
        m_path = ::mkdtemp(name);
    }
    ~TempDir() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        const std::string path = m_path + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// A BMP whose pixel data is pushed back by a gap so that the file has exactly `size` bytes.
Bytes BmpOfSize(std::uint32_t size) {
    BmpDesc s;
    s.width = 1;
    s.height = 1;
    s.pixels = {0xFFFFFF};
    s.gap = size - static_cast<std::uint32_t>(MakeBmp(s).size());
    return MakeBmp(s);
}

TEST(LogoHolder, StartsEmptyWithTheDrawingHeader) {
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    const LogoBitmapInfo& bmi = h.GetBitmapInfo();
    EXPECT_EQ(h.GetStatus(), LOGO_NO_FILE);
    EXPECT_EQ(bmi.bmiHeader.biSize, 40u);
    EXPECT_EQ(bmi.bmiHeader.biPlanes, 1);
    EXPECT_EQ(bmi.bmiHeader.biBitCount, 1);
    EXPECT_EQ(bmi.bmiHeader.biCompression, 0u);
    EXPECT_EQ(bmi.bmiHeader.biWidth, 0);
    EXPECT_EQ(bmi.bmiHeader.biHeight, 0);
    EXPECT_EQ(bmi.bmiColors[0].rgbRed + bmi.bmiColors[0].rgbGreen + bmi.bmiColors[0].rgbBlue, 0);
    EXPECT_EQ(bmi.bmiColors[1].rgbRed & bmi.bmiColors[1].rgbGreen & bmi.bmiColors[1].rgbBlue, 255);
    EXPECT_EQ(h.GetStride(), 0u);
    EXPECT_EQ(h.GetCapacity(), 0u);
}

TEST(LogoHolder, StatusMessagesComeFromTheStringTable) {
    for (LogoStatus s = LOGO_NO_FILE; s <= LOGO_LOADED_OK; ++s) {
        EXPECT_STREQ(LogoStatusMessage(s), LoadStringResource(200 + s));
    }
    EXPECT_STREQ(LogoStatusMessage(LOGO_TOO_LARGE),
                 "The specified graphics file exceeds the maximum logo size of 360 x 360 pixels.");
    EXPECT_STREQ(LogoStatusMessage(7), "");
    EXPECT_STREQ(LogoStatusMessage(-1), "");
}

// Real files: the kinds of path a user can type, and the size limits at their edges.
TEST(LogoLoadFile, OutcomeByPath) {
    TempDir dir;
    const std::string fifo = dir.Path("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::mkdir(dir.Path("folder.bmp").c_str(), 0700);
    const std::string bmp1MiB = dir.Write("big.bmp", BmpOfSize(1048576));
    ::symlink(bmp1MiB.c_str(), dir.Path("link.bmp").c_str());
    Bytes text(200, 'x');
    text[0] = '\n';
    Bytes pcx = MakePcx(8, 1, {{0xFF, 0x00}});
    pcx.resize(300, 0); // padded to 128 bytes or more: the spare bytes make it malformed
    const Bytes goodPcx = MakePcx(16, 1, std::vector<Bytes>(40, Bytes{0x0F, 0xF0}));
    ASSERT_GE(goodPcx.size(), 128u);

    const struct {
        std::string path;
        LogoStatus status;
    } cases[] = {
        {"", LOGO_NO_FILE},
        {dir.Path("missing.bmp"), LOGO_OPEN_FAILED},
        {fifo, LOGO_OPEN_FAILED}, // must not block waiting for a writer
        {dir.Path("folder.bmp"), LOGO_OPEN_FAILED},
        {"/dev/null", LOGO_OPEN_FAILED},
        {"/dev/zero", LOGO_OPEN_FAILED},
        {dir.Write("empty.bmp", {}), LOGO_NOT_COMPATIBLE},
        {dir.Write("127.bmp", BmpOfSize(127)), LOGO_NOT_COMPATIBLE},
        {dir.Write("128.bmp", BmpOfSize(128)), LOGO_LOADED_OK},
        {dir.Write("62.bmp", MonoBmp({"."})), LOGO_NOT_COMPATIBLE}, // well formed, too small
        {bmp1MiB, LOGO_LOADED_OK},
        {dir.Path("link.bmp"), LOGO_LOADED_OK},
        {dir.Write("over.bmp", BmpOfSize(1048577)), LOGO_NOT_COMPATIBLE},
        {dir.Write("notes.txt", text), LOGO_NOT_COMPATIBLE},
        {dir.Write("bad.pcx", pcx), LOGO_NOT_COMPATIBLE},
        {dir.Write("really-a-pcx.bmp", goodPcx), LOGO_LOADED_OK},
    };
    PosixFileSource files;
    for (const auto& c : cases) {
        CLogoFmtHandler h(files);
        h.LoadFile(c.path);
        EXPECT_EQ(h.GetStatus(), c.status) << c.path;
        EXPECT_EQ(h.GetWidth() > 0, c.status == LOGO_LOADED_OK) << c.path;
    }
    // The 1 MiB + 1 file is refused for its size alone: its content reads fine.
    fake::MemoryFileSource none;
    CLogoFmtHandler reader(none);
    const Bytes over = BmpOfSize(1048577);
    reader.LoadAs(LogoFormat::Bmp, over.data(), over.size());
    EXPECT_EQ(reader.GetStatus(), LOGO_LOADED_OK);
    reader.LoadBytes(over.data(), over.size());
    EXPECT_EQ(reader.GetStatus(), LOGO_NOT_COMPATIBLE);
}

// The file system's failures, each with its status, and the file closed on every path.
TEST(LogoLoadFile, FileFailures) {
    const Bytes good = BmpOfSize(200);
    const struct {
        const char* name;
        void (*setup)(fake::MemoryFileSource::File&);
        std::vector<int> failAllocations;
        LogoStatus status;
    } cases[] = {
        {"size query fails",
         [](fake::MemoryFileSource::File& f) { f.sizeFails = true; },
         {},
         LOGO_OPEN_FAILED},
        {"read fails",
         [](fake::MemoryFileSource::File& f) { f.readFails = true; },
         {},
         LOGO_READ_FAILED},
        {"short read",
         [](fake::MemoryFileSource::File& f) { f.shortRead = 199; },
         {},
         LOGO_READ_FAILED},
        {"4 GiB",
         [](fake::MemoryFileSource::File& f) { f.claimedSize = 1ull << 32; },
         {},
         LOGO_NOT_COMPATIBLE},
        // The low 32 bits alone would pass the size test.
        {"4 GiB + 200",
         [](fake::MemoryFileSource::File& f) { f.claimedSize = (1ull << 32) + 200; },
         {},
         LOGO_NOT_COMPATIBLE},
        {"no memory for the file", [](fake::MemoryFileSource::File&) {}, {1}, LOGO_NO_MEMORY},
        {"no memory for the image", [](fake::MemoryFileSource::File&) {}, {2}, LOGO_NO_MEMORY},
        {"reads", [](fake::MemoryFileSource::File&) {}, {}, LOGO_LOADED_OK},
    };
    for (const auto& c : cases) {
        fake::MemoryFileSource files;
        c.setup(files.Add("logo.bmp", good));
        FailingAllocator::Reset(c.failAllocations);
        CLogoFmtHandler h(files, &FailingAllocator::Allocate);
        h.LoadFile("logo.bmp");
        EXPECT_EQ(h.GetStatus(), c.status) << c.name;
        EXPECT_EQ(files.opened, 1) << c.name;
        EXPECT_EQ(files.closed, 1) << c.name;
    }
}

TEST(LogoLoadFile, FailureClearsTheImageAndKeepsTheBuffer) {
    fake::MemoryFileSource files;
    files.Add("logo.bmp", SolidBmp(40, 40));
    CLogoFmtHandler h(files);
    h.LoadFile("logo.bmp");
    ASSERT_EQ(h.GetStatus(), LOGO_LOADED_OK);
    EXPECT_EQ(h.GetCapacity(), 8u * 40);
    h.LoadFile("elsewhere.bmp");
    EXPECT_EQ(h.GetStatus(), LOGO_OPEN_FAILED);
    EXPECT_EQ(h.GetWidth(), 0);
    EXPECT_EQ(h.GetHeight(), 0);
    EXPECT_EQ(h.GetStride(), 0u);
    EXPECT_EQ(h.GetCapacity(), 8u * 40);
    EXPECT_EQ(h.GetPcxBlock(-1).size, 0u);
    // A smaller image reuses the buffer.
    files.Add("small.bmp", SolidBmp(10, 10));
    h.LoadFile("small.bmp");
    EXPECT_EQ(h.GetStatus(), LOGO_LOADED_OK);
    EXPECT_EQ(h.GetCapacity(), 8u * 40);
}

TEST(LogoLoadFile, EachLoadStartsFromScratch) {
    fake::MemoryFileSource files;
    const std::vector<std::string> picture = {"#.........", "..........", "........##"};
    files.Add("logo.bmp", Loadable(MonoDesc(picture)));
    CLogoFmtHandler h(files);
    h.LoadFile("logo.bmp");
    h.Rotate();
    h.Invert();
    h.LoadFile("logo.bmp");
    EXPECT_EQ(Picture(h), picture);
    EXPECT_EQ(Rows(h), (Bytes{0x7F, 0xC0, 0, 0, 0xFF, 0xC0, 0, 0, 0xFF, 0x00, 0, 0}))
        << "padding is 0 after a load";
}

} // namespace
} // namespace brimwell::test
