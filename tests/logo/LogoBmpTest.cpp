// The BMP reader: the edges of its checks, and how pixels become black and white.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace brimwell::test {
namespace {

LogoStatus ReadBmp(const Bytes& bytes, CLogoFmtHandler* holder = nullptr) {
    static fake::MemoryFileSource files;
    CLogoFmtHandler own(files);
    CLogoFmtHandler& h = holder ? *holder : own;
    h.LoadAs(LogoFormat::Bmp, bytes.data(), bytes.size());
    return h.GetStatus();
}

// An 8-bit 5 x 3 file with a 4-colour table: small, but with every part present.
Bytes Base() {
    BmpDesc s;
    s.width = 5;
    s.height = 3;
    s.bits = 8;
    s.palette = {{0, 0, 0}, {255, 255, 255}, {90, 90, 90}, {200, 10, 10}};
    s.pixels = {0, 1, 2, 3, 1, 1, 1, 0, 0, 2, 3, 3, 1, 0, 1};
    return MakeBmp(s);
}

void SetSize(Bytes& b) {
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
}

// Every refusal of a malformed file is a file of tests/data/logo/bad, checked by the corpus
// test. Here: what must still load, and the edges those files do not hold.
TEST(LogoReadBmp, EdgesBesideTheMalformedFiles) {
    const FileEdit cases[] = {
        {"well formed", [](Bytes&) {}, LOGO_LOADED_OK},
        {"one spare byte", [](Bytes& b) { b.push_back(0), SetSize(b); }, LOGO_LOADED_OK},
        {"0 bits", [](Bytes& b) { Put16(b, 28, 0); }, LOGO_NOT_COMPATIBLE},
        {"height -3 (top-down)", [](Bytes& b) { Put32(b, 22, -3); }, LOGO_LOADED_OK},
        {"important 4 of 4", [](Bytes& b) { Put32(b, 46, 4), Put32(b, 50, 4); }, LOGO_LOADED_OK},
        {"important negative", [](Bytes& b) { Put32(b, 46, 4), Put32(b, 50, -7); }, LOGO_LOADED_OK},
        {"rows end at end", [](Bytes& b) { b.push_back(0), Put32(b, 10, 71), SetSize(b); },
         LOGO_LOADED_OK},
        {"info header past offset", [](Bytes& b) { Put32(b, 14, 41); }, LOGO_NOT_COMPATIBLE},
    };
    for (const auto& c : cases) {
        Bytes b = Base();
        c.edit(b);
        EXPECT_EQ(ReadBmp(b), c.status) << c.name;
    }
}

TEST(LogoReadBmp, DirectColourTakesNoColourCount) {
    Bytes b = SolidBmp(3, 3);
    EXPECT_EQ(ReadBmp(b), LOGO_LOADED_OK);
    Put32(b, 46, 1);
    EXPECT_EQ(ReadBmp(b), LOGO_NOT_COMPATIBLE);
    Put32(b, 46, -1);
    Put32(b, 50, -1);
    EXPECT_EQ(ReadBmp(b), LOGO_NOT_COMPATIBLE);
    Put32(b, 46, 0);
    Put32(b, 50, 1);
    EXPECT_EQ(ReadBmp(b), LOGO_NOT_COMPATIBLE) << "important colours above a count of 0";
}

TEST(LogoReadBmp, SizeLimits) {
    const struct {
        std::int32_t width, height;
        LogoStatus status;
    } cases[] = {
        {360, 360, LOGO_LOADED_OK},
        {361, 1, LOGO_TOO_LARGE},
        {1, 361, LOGO_TOO_LARGE},
        {1, 1, LOGO_LOADED_OK},
    };
    for (const auto& c : cases) {
        fake::MemoryFileSource files;
        CLogoFmtHandler h(files);
        EXPECT_EQ(ReadBmp(SolidBmp(c.width, c.height), &h), c.status)
            << c.width << " x " << c.height;
        if (c.status == LOGO_LOADED_OK) {
            EXPECT_EQ(h.GetWidth(), c.width);
            EXPECT_EQ(h.GetHeight(), c.height);
            EXPECT_EQ(h.GetBitmapInfo().bmiHeader.biHeight, -c.height);
            EXPECT_EQ(h.GetStride(), 4u * ((c.width + 31) / 32));
        }
    }
    BmpDesc topDown;
    topDown.width = 1;
    topDown.height = 361;
    topDown.topDown = true;
    EXPECT_EQ(ReadBmp(MakeBmp(topDown)), LOGO_TOO_LARGE);
}

TEST(LogoReadBmp, NoMemoryForTheImage) {
    fake::MemoryFileSource files;
    FailingAllocator::Reset({1});
    CLogoFmtHandler h(files, &FailingAllocator::Allocate);
    EXPECT_EQ(ReadBmp(Base(), &h), LOGO_NO_MEMORY);
    EXPECT_EQ(h.GetWidth(), 0);
    EXPECT_EQ(ReadBmp(Base(), &h), LOGO_LOADED_OK);
}

// Pictures and the pictures they must give.
TEST(LogoReadBmp, Thresholding) {
    auto rgb = [](std::int32_t w, std::int32_t hgt, std::vector<std::uint32_t> px) {
        BmpDesc s;
        s.width = w;
        s.height = hgt;
        s.pixels = std::move(px);
        return MakeBmp(s);
    };
    const std::uint32_t grey = 0x808080;
    const struct {
        const char* name;
        Bytes file;
        std::vector<std::string> picture;
    } cases[] = {
        {"mid grey with black dots",
         rgb(4, 2, {grey, 0, grey, grey, grey, grey, grey, 0}),
         {".#..", "...#"}},
        {"one colour", rgb(3, 1, {0x123456, 0x123456, 0x123456}), {"..."}},
        {"pure black", rgb(3, 1, {0, 0, 0}), {"###"}},
        {"nearly black", rgb(3, 1, {0x010000, 0x010000, 0x010000}), {"..."}},
        // Mean (0 + 0 + 1) / 3 rounds down to 0, and a threshold of 0 is taken as 1.
        {"faint dot", rgb(3, 1, {0, 0x000001, 0}), {"#.#"}},
        // 100 and 200: the mean 150 is the threshold, and equal counts as white.
        {"mean itself is white", rgb(3, 1, {0x000064, 0x0000C8, 0x000096}), {"#.."}},
        // Components count alike: pure blue (255) is as bright as pure red.
        {"unweighted", rgb(4, 1, {0xFF0000, 0x0000FF, 0x00FF00, 0}), {"...#"}},
    };
    for (const auto& c : cases) {
        fake::MemoryFileSource files;
        CLogoFmtHandler h(files);
        ASSERT_EQ(ReadBmp(c.file, &h), LOGO_LOADED_OK) << c.name;
        EXPECT_EQ(Picture(h), c.picture) << c.name;
    }
}

TEST(LogoReadBmp, BottomUpAndTopDownGiveTheSameImage) {
    BmpDesc s = MonoDesc({"#..#.##..", ".#.......", "########.", "........#"});
    fake::MemoryFileSource files;
    CLogoFmtHandler up(files), down(files);
    ASSERT_EQ(ReadBmp(MakeBmp(s), &up), LOGO_LOADED_OK);
    s.topDown = true;
    ASSERT_EQ(ReadBmp(MakeBmp(s), &down), LOGO_LOADED_OK);
    EXPECT_EQ(Rows(up), Rows(down));
    EXPECT_EQ(Picture(up)[0], "#..#.##..");
}

TEST(LogoReadBmp, PaletteOrderDoesNotMatter) {
    const std::vector<std::string> picture = {"#.#.#.#.#.#", "..##..##..#"};
    fake::MemoryFileSource files;
    CLogoFmtHandler blackFirst(files), whiteFirst(files);
    ASSERT_EQ(ReadBmp(MonoBmp(picture), &blackFirst), LOGO_LOADED_OK);
    ASSERT_EQ(ReadBmp(MonoBmp(picture, true), &whiteFirst), LOGO_LOADED_OK);
    EXPECT_EQ(Picture(blackFirst), picture);
    EXPECT_EQ(Picture(whiteFirst), picture);
}

// Indexes at or past the colour count are black, even where the file's table has an entry.
TEST(LogoReadBmp, IndexOutsideTheColourCountIsBlack) {
    BmpDesc s;
    s.width = 4;
    s.height = 1;
    s.bits = 8;
    s.palette.assign(8, Rgb{255, 255, 255});
    s.coloursUsed = 2;
    s.pixels = {0, 5, 1, 2};
    Bytes b = MakeBmp(s);
    // The table holds 8 entries but the count says 2: the offset leaves room for 8.
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    ASSERT_EQ(ReadBmp(b, &h), LOGO_LOADED_OK);
    EXPECT_EQ(Picture(h), std::vector<std::string>{".#.#"});

    s.bits = 4; // and the same at 4 bits, with an index of 15 in a 3-colour table
    s.coloursUsed = 3;
    s.pixels = {0, 15, 2, 3};
    ASSERT_EQ(ReadBmp(MakeBmp(s), &h), LOGO_LOADED_OK);
    EXPECT_EQ(Picture(h), std::vector<std::string>{".#.#"});
}

// Info headers larger than 40 bytes (V4, V5): the colour table follows them.
TEST(LogoReadBmp, LargerInfoHeaders) {
    for (std::uint32_t infoSize : {40u, 56u, 108u, 124u}) {
        BmpDesc s = MonoDesc({"#.", ".#"}, true);
        s.infoSize = infoSize;
        fake::MemoryFileSource files;
        CLogoFmtHandler h(files);
        ASSERT_EQ(ReadBmp(MakeBmp(s), &h), LOGO_LOADED_OK) << infoSize;
        EXPECT_EQ(Picture(h), (std::vector<std::string>{"#.", ".#"})) << infoSize;
    }
}

TEST(LogoReadBmp, PaddingBitsAreZero) {
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    ASSERT_EQ(ReadBmp(SolidBmp(9, 2), &h), LOGO_LOADED_OK);
    EXPECT_EQ(Rows(h), (Bytes{0xFF, 0x80, 0, 0, 0xFF, 0x80, 0, 0}));
}

} // namespace
} // namespace brimwell::test
