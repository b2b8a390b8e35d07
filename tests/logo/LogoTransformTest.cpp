// Rotation and inversion of the loaded image, including what happens without memory.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace brimwell::test {
namespace {

using PictureRows = std::vector<std::string>;

// A holder with the picture loaded.
struct Loaded {
    explicit Loaded(const PictureRows& picture, CLogoFmtHandler::Allocator allocate = &std::malloc)
        : h(files, allocate) {
        const Bytes b = MonoBmp(picture);
        h.LoadAs(LogoFormat::Bmp, b.data(), b.size());
    }
    fake::MemoryFileSource files;
    CLogoFmtHandler h;
};

// A deterministic scribble of width x height.
PictureRows Scribble(int width, int height) {
    PictureRows rows(height, std::string(width, '.'));
    std::uint32_t seed = 12345;
    for (auto& row : rows) {
        for (char& c : row) {
            seed = seed * 1103515245 + 12345;
            c = (seed >> 16) & 1 ? '#' : '.';
        }
    }
    return rows;
}

TEST(LogoRotate, TurnsClockwise) {
    Loaded l({"#..", "..#"});
    ASSERT_TRUE(l.h.IsLoaded());
    EXPECT_TRUE(l.h.Rotate());
    // The old top row becomes the right-most column; the old top-left pixel ends at the top
    // right, the old top-right pixel at the bottom right.
    EXPECT_EQ(Picture(l.h), (PictureRows{".#", "..", "#."}));
    EXPECT_EQ(l.h.GetWidth(), 2);
    EXPECT_EQ(l.h.GetHeight(), 3);
    EXPECT_EQ(l.h.GetBitmapInfo().bmiHeader.biHeight, -3);
    EXPECT_EQ(l.h.GetStatus(), LOGO_LOADED_OK);

    Loaded corners({"#....#", "......", ".....#", "......"});
    corners.h.Rotate();
    EXPECT_EQ(Picture(corners.h), (PictureRows{"...#", "....", "....", "....", "....", ".#.#"}));
}

TEST(LogoRotate, FourTurnsAndTwoInversionsGiveTheImageBack) {
    for (const auto& size : {std::pair{1, 1}, {37, 5}, {5, 37}, {33, 64}, {360, 3}}) {
        Loaded l(Scribble(size.first, size.second));
        const Bytes before = Rows(l.h);
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(l.h.Rotate());
        }
        EXPECT_EQ(Rows(l.h), before) << size.first << " x " << size.second;
        l.h.Invert();
        EXPECT_NE(Rows(l.h), before);
        l.h.Invert();
        EXPECT_EQ(Rows(l.h), before) << size.first << " x " << size.second;
    }
}

// Padding bits: an inversion sets them, a rotation lays a fresh image with them clear.
TEST(LogoRotate, PaddingAfterInvertAndRotate) {
    Loaded invertThenRotate(Scribble(9, 5));
    invertThenRotate.h.Invert();
    EXPECT_EQ(Rows(invertThenRotate.h)[3], 0xFF);
    invertThenRotate.h.Rotate();
    Loaded rotateThenInvert(Scribble(9, 5));
    rotateThenInvert.h.Rotate();
    rotateThenInvert.h.Invert();
    for (std::int32_t y = 0; y < 9; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * 4;
        // Width 5: the low 3 bits of byte 0 and bytes 1 to 3 are padding.
        EXPECT_EQ(Rows(invertThenRotate.h)[row] & 0x07, 0);
        EXPECT_EQ(Rows(invertThenRotate.h)[row + 1], 0);
        EXPECT_EQ(Rows(rotateThenInvert.h)[row] & 0x07, 0x07);
        EXPECT_EQ(Rows(rotateThenInvert.h)[row + 3], 0xFF);
    }
    // Both give the same picture: only the padding differs.
    EXPECT_EQ(Picture(invertThenRotate.h), Picture(rotateThenInvert.h));
}

// Without memory for the copy or for the turned image, the loaded logo stays as it was.
TEST(LogoRotate, NothingChangesWithoutMemory) {
    const struct {
        const char* name;
        int width, height;
        int failingCall; // counted from the first allocation of Rotate
    } cases[] = {
        {"copy", 40, 3, 1},
        {"copy, turned image fits", 3, 40, 1},
        {"turned image", 40, 3, 2},
    };
    for (const auto& c : cases) {
        FailingAllocator::Reset();
        Loaded l(Scribble(c.width, c.height), &FailingAllocator::Allocate);
        ASSERT_TRUE(l.h.IsLoaded());
        const PictureRows before = Picture(l.h);
        const Bytes rows = Rows(l.h);
        const std::uint32_t capacity = l.h.GetCapacity();
        FailingAllocator::Reset({c.failingCall});
        EXPECT_FALSE(l.h.Rotate()) << c.name;
        EXPECT_EQ(l.h.GetStatus(), LOGO_LOADED_OK) << c.name;
        EXPECT_EQ(Picture(l.h), before) << c.name;
        EXPECT_EQ(Rows(l.h), rows) << c.name;
        EXPECT_EQ(l.h.GetCapacity(), capacity) << c.name;
        EXPECT_EQ(l.h.GetPcxBlock(-1).size, 128u) << c.name;
        // With memory again it turns.
        FailingAllocator::Reset();
        EXPECT_TRUE(l.h.Rotate()) << c.name;
        EXPECT_EQ(l.h.GetWidth(), c.height) << c.name;
    }
}

// A turned image that fits the buffer takes no new one; the buffer never shrinks.
TEST(LogoRotate, ReusesTheBuffer) {
    FailingAllocator::Reset();
    Loaded l(Scribble(3, 40), &FailingAllocator::Allocate); // stride 4 x 40 rows
    EXPECT_EQ(l.h.GetCapacity(), 160u);
    FailingAllocator::Reset();
    l.h.Rotate(); // 40 x 3: 8 x 3 bytes
    EXPECT_EQ(FailingAllocator::calls, 1) << "only the copy";
    EXPECT_EQ(l.h.GetCapacity(), 160u);
}

TEST(LogoTransforms, DoNothingWithoutALogo) {
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    EXPECT_FALSE(h.Rotate());
    h.Invert();
    EXPECT_EQ(h.GetWidth(), 0);
    EXPECT_EQ(h.GetPcxBlock(-1).size, 0u);
    EXPECT_EQ(h.GetPcxBlock(0).size, 0u);

    // After a failed load that had allocated an image, the same.
    Bytes bad = MakePcx(16, 1, {{0, 0}});
    bad.push_back(0);
    h.LoadAs(LogoFormat::Pcx, bad.data(), bad.size());
    ASSERT_EQ(h.GetStatus(), LOGO_NOT_COMPATIBLE);
    EXPECT_FALSE(h.Rotate());
    EXPECT_EQ(h.GetPcxBlock(-1).size, 0u);
}

} // namespace
} // namespace brimwell::test
