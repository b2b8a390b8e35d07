// The logo store job and the PCX file as the page and the command-line companion send them.
#include "logo/LogoJob.h"
#include "logo/LogoTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace brimwell::test {
namespace {

std::string Text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

struct OneByOneWhite {
    OneByOneWhite() : h(files) {
        const Bytes b = MonoBmp({"."});
        h.LoadAs(LogoFormat::Bmp, b.data(), b.size());
    }
    fake::MemoryFileSource files;
    CLogoFmtHandler h;
};

TEST(LogoJob, OneByOneWhitePassLogoByteForByte) {
    OneByOneWhite logo;
    const Bytes header = [&] {
        const PcxBlock b = logo.h.GetPcxBlock(-1);
        return Bytes(b.data, b.data + b.size);
    }();
    const std::string expected = std::string("\r\nQVX5930\r\n\r\n\r\n") +
                                 "DOWNLOAD \"LOGO1.PCX\",130," + Text(header) +
                                 std::string("\x80\x00", 2) + "\r\nMOVE\r\n";
    EXPECT_EQ(Text(BuildLogoJob(logo.h, LogoKind::Pass)), expected);
    EXPECT_EQ(expected.size(), 15u + 25 + 130 + 8);
    EXPECT_EQ(Text(BuildLogoPcxFile(logo.h)), Text(header) + std::string("\x80\x00", 2));
}

TEST(LogoJob, FailLogoDiffersOnlyInTheName) {
    OneByOneWhite logo;
    std::string pass = Text(BuildLogoJob(logo.h, LogoKind::Pass));
    const std::string fail = Text(BuildLogoJob(logo.h, LogoKind::Fail));
    pass.replace(pass.find("LOGO1.PCX"), 9, "FAIL.PCX");
    EXPECT_EQ(fail, pass);
}

TEST(LogoJob, NothingWithoutALogo) {
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    EXPECT_TRUE(BuildLogoJob(h, LogoKind::Pass).empty());
    EXPECT_TRUE(BuildLogoPcxFile(h).empty());
    EXPECT_EQ(LogoPcxFileSize(h), 0u);
    int calls = 0;
    EXPECT_FALSE(WriteLogoJob(h, LogoKind::Pass, [&](const std::uint8_t*, std::uint32_t) {
        ++calls;
        return true;
    }));
    EXPECT_EQ(calls, 0);
}

// A refused append (a job buffer that cannot grow) stops the job there.
TEST(LogoJob, StopsAtTheFirstRefusal) {
    OneByOneWhite logo;
    for (int refuse = 1; refuse <= 6; ++refuse) {
        int calls = 0;
        const bool ok =
            WriteLogoJob(logo.h, LogoKind::Pass,
                         [&](const std::uint8_t*, std::uint32_t) { return ++calls != refuse; });
        // preamble, DOWNLOAD, header, line, MOVE: five appends.
        EXPECT_EQ(ok, refuse == 6) << refuse;
        EXPECT_EQ(calls, std::min(refuse, 5)) << refuse;
    }
}

// The size in the DOWNLOAD command is the size of the bytes that follow it.
TEST(LogoJob, DownloadSizeMatchesTheFile) {
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    const Bytes bmp = SolidBmp(360, 360, 0x808080);
    h.LoadAs(LogoFormat::Bmp, bmp.data(), bmp.size());
    h.Rotate();
    h.Invert();
    const std::string job = Text(BuildLogoJob(h, LogoKind::Fail));
    const std::string head = "\r\nQVX5930\r\n\r\n\r\nDOWNLOAD \"FAIL.PCX\",";
    ASSERT_EQ(job.compare(0, head.size(), head), 0);
    const std::size_t comma = job.find(',', head.size());
    const std::size_t size = std::stoul(job.substr(head.size(), comma - head.size()));
    EXPECT_EQ(size, 128u + 360 * 4); // ED 00 C1 FF: the padding byte is inverted too
    EXPECT_EQ(job.size(), comma + 1 + size + 8);
    EXPECT_EQ(job.substr(job.size() - 8), "\r\nMOVE\r\n");
}

} // namespace
} // namespace brimwell::test
