// The PCX reader: the edges of its checks, the structure scan, the end of the file and the
// decoding of 1- and 8-bit lines.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace brimwell::test {
namespace {

LogoStatus ReadPcx(const Bytes& bytes, CLogoFmtHandler& h) {
    h.LoadAs(LogoFormat::Pcx, bytes.data(), bytes.size());
    return h.GetStatus();
}

LogoStatus ReadPcx(const Bytes& bytes) {
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    return ReadPcx(bytes, h);
}

// 16 x 2 at one bit: header, then F0 0F and 00 C1 FF.
Bytes Base() {
    return MakePcx(16, 1, {{0xF0, 0x0F}, {0x00, 0xFF}});
}

Bytes Header(Bytes b) {
    b.resize(128);
    return b;
}

Bytes With(Bytes head, std::initializer_list<std::uint8_t> tail) {
    head.insert(head.end(), tail);
    return head;
}

// Every refusal of a malformed file is a file of tests/data/logo/bad, checked by the corpus
// test. Here: what must still load, and the edges those files do not hold.
TEST(LogoReadPcx, EdgesBesideTheMalformedFiles) {
    const FileEdit cases[] = {
        {"well formed", [](Bytes&) {}, LOGO_LOADED_OK},
        {"2 bits", [](Bytes& b) { b[3] = 2; }, LOGO_NOT_COMPATIBLE},
        {"24 bits", [](Bytes& b) { b[3] = 24; }, LOGO_NOT_COMPATIBLE},
        {"Xmin 65535, Xmax 0", [](Bytes& b) { Put16(b, 4, 65535), Put16(b, 8, 0); },
         LOGO_NOT_COMPATIBLE},
        {"width 361 off the origin", [](Bytes& b) { Put16(b, 4, 1000), Put16(b, 8, 1360); },
         LOGO_TOO_LARGE},
        {"bad line length before size", [](Bytes& b) { Put16(b, 66, 0), Put16(b, 8, 360); },
         LOGO_NOT_COMPATIBLE},
        {"origin moved", [](Bytes& b) { Put16(b, 4, 100), Put16(b, 8, 115); }, LOGO_LOADED_OK},
        {"version 0", [](Bytes& b) { b[1] = 0; }, LOGO_LOADED_OK},
        {"encoding 0", [](Bytes& b) { b[2] = 0; }, LOGO_LOADED_OK},
        {"table", [](Bytes& b) { b.push_back(0x0C), b.resize(b.size() + 768); }, LOGO_LOADED_OK},
    };
    for (const auto& c : cases) {
        Bytes b = Base();
        c.edit(b);
        EXPECT_EQ(ReadPcx(b), c.status) << c.name;
    }
}

// The image is had before the structure is looked at.
TEST(LogoReadPcx, NoMemoryIsDecidedBeforeTheScan) {
    Bytes bad = Base();
    bad[128] = 0xC0;
    fake::MemoryFileSource files;
    FailingAllocator::Reset({1});
    CLogoFmtHandler h(files, &FailingAllocator::Allocate);
    EXPECT_EQ(ReadPcx(bad, h), LOGO_NO_MEMORY);
    EXPECT_EQ(ReadPcx(bad, h), LOGO_NOT_COMPATIBLE);
}

TEST(LogoReadPcx, Pictures) {
    Bytes whitePalette = Header(MakePcx(8, 1, {{0}}));
    std::fill(whitePalette.begin() + 16, whitePalette.begin() + 64, 0xFF);

    Bytes noTable8 = PcxHeader(5, 1, 8, 5);
    for (int i : {3, 15}) {
        std::fill_n(noTable8.begin() + 16 + 3 * i, 3, 0xFF);
    }
    std::fill_n(noTable8.begin() + 16 + 3 * 7, 3, 100);
    AppendPcxLine(noTable8, {3, 200, 7, 16, 15});

    std::vector<Rgb> table = {{0, 0, 0}, {255, 255, 255}, {100, 100, 100}, {10, 10, 10}};
    Bytes withTable8 = MakePcx(4, 8, {{0, 1, 2, 3}}, &table);
    std::fill(withTable8.begin() + 16, withTable8.begin() + 64, 0xFF); // header: all white

    Bytes shortLine8 = With(PcxHeader(4, 1, 8, 2), {0xC4, 0x01}); // value 1: white
    std::fill_n(shortLine8.begin() + 19, 3, 0xFF);

    Bytes encoding0 = With(Header(MakePcx(16, 1, {{0, 0}})), {0xC2, 0xF0});
    encoding0[2] = 0;

    const struct {
        const char* name;
        Bytes file;
        std::vector<std::string> picture;
    } cases[] = {
        {"1 bit", Base(), {"....########....", "########........"}},
        // Width 9 with 2 bytes per line: the first 9 bits, the other 7 dropped.
        {"width 9", MakePcx(9, 1, {{0xAA, 0xFF}, {0x55, 0x7F}}), {".#.#.#.#.", "#.#.#.#.#"}},
        {"header palette ignored", With(whitePalette, {0xC1, 0x0F}), {"####...."}},
        // A run may overshoot the line; its extra copies are dropped and the next line
        // starts with the next code.
        {"run past the line",
         With(Header(Base()), {0xC3, 0xFF, 0x00, 0x00}),
         {"................", "################"}},
        // Lines shorter than the width leave black pixels, counted black in the mean.
        {"short lines", MakePcx(24, 1, {{0xFF, 0xFF}}), {"................########"}},
        // Copies past bytes per line are dropped even where the width has room for them.
        {"run past a short line",
         With(Header(MakePcx(24, 1, {{0, 0}})), {0xC3, 0xFF}),
         {"................########"}},
        {"8-bit run past a short line", shortLine8, {"..##"}},
        // Trailing table: 0, 765, 300, 30; mean 273.
        {"8 bits, table", withTable8, {"#..#"}},
        // No table: 3 and 15 white, 7 grey (300) from the header; 16 to 255 black. Mean 366.
        {"8 bits, no table", noTable8, {".###."}},
        {"encoding 0 is still decoded", encoding0, {"....####....####"}},
    };
    for (const auto& c : cases) {
        fake::MemoryFileSource files;
        CLogoFmtHandler h(files);
        ASSERT_EQ(ReadPcx(c.file, h), LOGO_LOADED_OK) << c.name;
        EXPECT_EQ(Picture(h), c.picture) << c.name;
    }
}

TEST(LogoReadPcx, OriginAndPadding) {
    Bytes b = MakePcx(9, 1, {{0xFF, 0xFF}});
    Put16(b, 4, 300);
    Put16(b, 8, 308);
    Put16(b, 6, 7);
    Put16(b, 10, 7);
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    ASSERT_EQ(ReadPcx(b, h), LOGO_LOADED_OK);
    EXPECT_EQ(h.GetWidth(), 9);
    EXPECT_EQ(h.GetHeight(), 1);
    EXPECT_EQ(Rows(h), (Bytes{0xFF, 0x80, 0, 0}));

    // Lines longer than the width: the bytes past it, literal or run, leave the padding alone.
    ASSERT_EQ(ReadPcx(MakePcx(9, 1, {{0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0x00, 0x12, 0x34}}), h),
              LOGO_LOADED_OK);
    EXPECT_EQ(Rows(h), (Bytes{0xFF, 0x80, 0, 0, 0xFF, 0x00, 0, 0}));
    Bytes wide8 = MakePcx(3, 8, {{1, 1, 1, 1, 1, 1}, {1, 0, 1, 2, 1, 1}});
    std::fill_n(wide8.begin() + 19, 3, 0xFF); // header colour 1 white
    ASSERT_EQ(ReadPcx(wide8, h), LOGO_LOADED_OK);
    EXPECT_EQ(Rows(h), (Bytes{0xE0, 0, 0, 0, 0xA0, 0, 0, 0}));
}

TEST(LogoReadPcx, LargestImage) {
    std::vector<Bytes> lines(360, Bytes(360));
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 360; ++x) {
            lines[y][x] = static_cast<std::uint8_t>((x / 9 + y / 9) % 2 ? 255 : 0);
        }
    }
    std::vector<Rgb> grey(256);
    for (int i = 0; i < 256; ++i) {
        grey[i] = Rgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                      static_cast<std::uint8_t>(i)};
    }
    fake::MemoryFileSource files;
    CLogoFmtHandler h(files);
    ASSERT_EQ(ReadPcx(MakePcx(360, 8, lines, &grey), h), LOGO_LOADED_OK);
    EXPECT_TRUE(h.GetPixel(9, 0));
    EXPECT_FALSE(h.GetPixel(359, 359));
    EXPECT_TRUE(h.GetPixel(359, 350));
}

} // namespace
} // namespace brimwell::test
