// The readers on their own, over a canvas of the test's: which reader the first bytes choose,
// when a reader asks for its canvas and for what size, and that it draws through the rows the
// canvas hands over.
#include "logo/BmpReader.h"
#include "logo/LogoTestSupport.h"
#include "logo/PcxReader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace brimwell::test {
namespace {

using Size = std::pair<std::uint32_t, std::uint32_t>;

// Hands over rows wider than any one-bit row of a logo, so that a reader working out its own
// row length instead of taking the canvas's draws in the wrong place.
class RecordingCanvas : public ILogoCanvas {
public:
    static constexpr std::uint32_t kStride = 64;

    LogoRows Resize(std::uint32_t width, std::uint32_t height) override {
        requests.emplace_back(width, height);
        if (!memory) {
            return LogoRows{nullptr, 0, 0, 0};
        }
        pixels.assign(static_cast<std::size_t>(kStride) * height, 0);
        return LogoRows{pixels.data(), kStride, width, height};
    }

    // The picture as rows of '#' (black) and '.' (white), the whole row length: the bits past
    // the width read as '#' when they are clear.
    std::vector<std::string> Picture(std::uint32_t width) const {
        std::vector<std::string> rows;
        for (std::size_t at = 0; at < pixels.size(); at += kStride) {
            std::string row;
            for (std::uint32_t x = 0; x < kStride * 8; ++x) {
                row += pixels[at + x / 8] & LogoPixelMask(x) ? '.' : '#';
            }
            rows.push_back(row.substr(0, width) + (row.find('.', width) == std::string::npos
                                                       ? ""
                                                       : " drawn past the width"));
        }
        return rows;
    }

    bool memory = true;
    std::vector<Size> requests;
    Bytes pixels;
};

LogoStatus Read(LogoFormat format, const Bytes& b, RecordingCanvas& canvas) {
    return format == LogoFormat::Bmp ? ReadBmpLogo(b.data(), b.size(), canvas)
                                     : ReadPcxLogo(b.data(), b.size(), canvas);
}

const std::vector<std::string> kPicture = {"#..#.....##", "..##..#.###"};

Bytes PicturePcx() {
    return MakePcx(11, 1, {{0x6F, 0x9F}, {0xCD, 0x1F}});
}

TEST(LogoReaders, FirstBytesChooseTheReader) {
    const struct {
        Bytes bytes;
        bool bmp;
        bool pcx;
    } cases[] = {
        {{'B', 'M'}, true, false}, {{'B'}, false, false},        {{'M', 'B'}, false, false},
        {{0x0A}, false, true},     {{0x0B, 0x0A}, false, false}, {{}, false, false},
    };
    for (const auto& c : cases) {
        const std::string name(c.bytes.begin(), c.bytes.end());
        EXPECT_EQ(IsBmpFile(c.bytes.data(), c.bytes.size()), c.bmp) << name;
        EXPECT_EQ(IsPcxFile(c.bytes.data(), c.bytes.size()), c.pcx) << name;
    }
}

// A file the headers refuse never asks for memory, so that a shortage cannot hide why the file
// was refused; the PCX reader has its canvas before it walks the lines.
TEST(LogoReaders, AskForTheCanvasOnceTheHeadersPass) {
    Bytes rowsCut = MonoBmp(kPicture);
    rowsCut.pop_back();
    Put32(rowsCut, 2, static_cast<std::uint32_t>(rowsCut.size()));
    Bytes twoPlanes = PicturePcx();
    twoPlanes[65] = 2;
    Bytes emptyRun = PicturePcx();
    emptyRun[128] = 0xC0;
    const std::vector<Size> none;
    const std::vector<Size> picture = {{11, 2}};
    const struct {
        const char* name;
        LogoFormat format;
        Bytes bytes;
        bool memory;
        LogoStatus status;
        std::vector<Size> requests;
    } cases[] = {
        {"BMP", LogoFormat::Bmp, MonoBmp(kPicture), true, LOGO_LOADED_OK, picture},
        {"BMP without memory", LogoFormat::Bmp, MonoBmp(kPicture), false, LOGO_NO_MEMORY, picture},
        {"BMP too large", LogoFormat::Bmp, SolidBmp(361, 1), true, LOGO_TOO_LARGE, none},
        {"BMP rows cut", LogoFormat::Bmp, rowsCut, false, LOGO_NOT_COMPATIBLE, none},
        {"PCX", LogoFormat::Pcx, PicturePcx(), true, LOGO_LOADED_OK, picture},
        {"PCX without memory", LogoFormat::Pcx, PicturePcx(), false, LOGO_NO_MEMORY, picture},
        {"PCX two planes", LogoFormat::Pcx, twoPlanes, false, LOGO_NOT_COMPATIBLE, none},
        {"PCX empty run", LogoFormat::Pcx, emptyRun, true, LOGO_NOT_COMPATIBLE, picture},
        {"PCX as BMP", LogoFormat::Bmp, PicturePcx(), true, LOGO_NOT_COMPATIBLE, none},
    };
    for (const auto& c : cases) {
        RecordingCanvas canvas;
        canvas.memory = c.memory;
        EXPECT_EQ(Read(c.format, c.bytes, canvas), c.status) << c.name;
        EXPECT_EQ(canvas.requests, c.requests) << c.name;
    }
}

TEST(LogoReaders, DrawThroughTheCanvasRows) {
    const struct {
        const char* name;
        LogoFormat format;
        Bytes bytes;
    } cases[] = {
        {"BMP", LogoFormat::Bmp, MonoBmp(kPicture)},
        {"BMP white first", LogoFormat::Bmp, MonoBmp(kPicture, true)},
        {"PCX", LogoFormat::Pcx, PicturePcx()},
    };
    for (const auto& c : cases) {
        RecordingCanvas canvas;
        ASSERT_EQ(Read(c.format, c.bytes, canvas), LOGO_LOADED_OK) << c.name;
        EXPECT_EQ(canvas.Picture(11), kPicture) << c.name;
    }
}

} // namespace
} // namespace brimwell::test
