// The printer's PCX file, block by block: header fields, line encoding, the block walk.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoJob.h"
#include "logo/LogoTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace brimwell::test {
namespace {

using PictureRows = std::vector<std::string>;

struct Loaded {
    explicit Loaded(const PictureRows& picture) : h(files) {
        const Bytes b = MonoBmp(picture);
        h.LoadAs(LogoFormat::Bmp, b.data(), b.size());
    }
    Bytes Block(std::int32_t index) {
        const PcxBlock block = h.GetPcxBlock(index);
        return Bytes(block.data, block.data + block.size);
    }
    fake::MemoryFileSource files;
    CLogoFmtHandler h;
};

PictureRows Row(const std::string& row) {
    return PictureRows{row};
}

// A row picture of the bytes given, 8 pixels each.
std::string RowOfBytes(const Bytes& bytes, int width) {
    std::string row;
    for (std::uint8_t b : bytes) {
        for (int bit = 7; bit >= 0; --bit) {
            row += (b >> bit) & 1 ? '.' : '#';
        }
    }
    return row.substr(0, width);
}

TEST(LogoPcxBlocks, OneByOneWhite) {
    Loaded l({"."});
    Bytes header(128, 0);
    header[0] = 0x0A;
    header[1] = 5;
    header[2] = 1;
    header[3] = 1;
    header[12] = 200;
    header[14] = 200;
    header[19] = header[20] = header[21] = 0xFF;
    header[65] = 1;
    header[66] = 2;
    header[68] = 1;
    EXPECT_EQ(l.Block(-1), header);
    EXPECT_EQ(l.Block(0), (Bytes{0x80, 0x00}));
    EXPECT_EQ(l.Block(1), Bytes{});
    EXPECT_EQ(LogoPcxFileSize(l.h), 130u);
}

TEST(LogoPcxBlocks, LineEncoding) {
    Bytes worst(45);
    for (std::size_t i = 0; i < worst.size(); ++i) {
        worst[i] = i % 2 ? 0x00 : 0x01; // inverted: FE FF FE ... FE, then the padding FF
    }
    Bytes worstLine;
    for (int i = 0; i < 46; ++i) {
        worstLine.insert(worstLine.end(), {0xC1, static_cast<std::uint8_t>(i % 2 ? 0xFF : 0xFE)});
    }
    const struct {
        const char* name;
        std::string row;
        bool invert;
        Bytes line;
    } cases[] = {
        {"8 white", std::string(8, '.'), false, {0xC1, 0xFF, 0x00}},
        {"16 black", std::string(16, '#'), false, {0xC2, 0x00}},
        {"8 black inverted, padding too", std::string(8, '#'), true, {0xC2, 0xFF}},
        {"360 white", std::string(360, '.'), false, {0xED, 0xFF, 0x00}},
        {"360 black: 46 equal bytes", std::string(360, '#'), false, {0xEE, 0x00}},
        {"alternating",
         RowOfBytes({0x00, 0xFF, 0x00, 0xFF}, 32),
         false,
         {0x00, 0xC1, 0xFF, 0x00, 0xC1, 0xFF}},
        {"single bytes either side of 0xC0",
         RowOfBytes({0xBF, 0xC0}, 16),
         false,
         {0xBF, 0xC1, 0xC0}},
        {"no two neighbours equal, all 0xC0 or above", RowOfBytes(worst, 360), true, worstLine},
    };
    for (const auto& c : cases) {
        Loaded l(Row(c.row));
        ASSERT_TRUE(l.h.IsLoaded()) << c.name;
        if (c.invert) {
            l.h.Invert();
        }
        EXPECT_EQ(l.Block(0), c.line) << c.name;
    }
    EXPECT_EQ(worstLine.size(), 92u);
}

TEST(LogoPcxBlocks, HeaderFieldsFollowTheImage) {
    const struct {
        int width, height;
        std::uint16_t bytesPerLine;
        std::uint32_t stride;
    } cases[] = {
        {1, 1, 2, 4},  {16, 2, 2, 4}, {17, 3, 4, 4},
        {32, 1, 4, 4}, {33, 5, 6, 8}, {360, 360, 46, 48},
    };
    for (const auto& c : cases) {
        Loaded l(PictureRows(c.height, std::string(c.width, '.')));
        const Bytes header = l.Block(-1);
        EXPECT_EQ(header[8] | header[9] << 8, c.width - 1) << c.width;
        EXPECT_EQ(header[10] | header[11] << 8, c.height - 1) << c.width;
        EXPECT_EQ(header[66] | header[67] << 8, c.bytesPerLine) << c.width;
        EXPECT_EQ(l.h.GetStride(), c.stride) << c.width;
    }
}

TEST(LogoPcxBlocks, BlockIndexes) {
    Loaded l(PictureRows(3, std::string(20, '.')));
    const Bytes header = l.Block(-1);
    EXPECT_EQ(l.Block(-2), header);
    EXPECT_EQ(l.Block(INT_MIN), header);
    EXPECT_EQ(l.Block(2), (Bytes{0xC2, 0xFF, 0xC1, 0xF0, 0x00}));
    EXPECT_EQ(l.Block(3).size(), 0u);
    EXPECT_EQ(l.Block(INT_MAX).size(), 0u);
    // The header is built afresh: a line block in between does not disturb it.
    EXPECT_EQ(l.Block(-1), header);
}

// Decodes one encoded line, checking that its runs end exactly at the end of the line.
Bytes DecodeLine(const Bytes& encoded, std::size_t bytesPerLine) {
    Bytes line;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] >= 0xC0) {
            EXPECT_GT(encoded[i], 0xC0);
            line.insert(line.end(), encoded[i] - 0xC0u, encoded.at(i + 1));
            ++i;
        } else {
            line.push_back(encoded[i]);
        }
    }
    EXPECT_EQ(line.size(), bytesPerLine);
    return line;
}

// Every line of every image decodes back to the row bytes it came from, and the whole file
// reads back, through the loader, as the same picture.
TEST(LogoPcxBlocks, RoundTrip) {
    auto scribble = [](int width, int height, std::uint32_t seed) {
        PictureRows rows(height, std::string(width, '.'));
        for (auto& row : rows) {
            for (char& c : row) {
                seed = seed * 1103515245 + 12345;
                // Long stretches as well as noise, so both runs and single bytes appear.
                c = (seed >> 20) % 5 == 0 ? '#' : (seed >> 24) % 3 == 0 ? '.' : c;
            }
        }
        return rows;
    };
    for (const auto& size : {std::pair{1, 1}, {9, 4}, {17, 2}, {33, 7}, {100, 30}, {360, 5}}) {
        for (const char* steps : {"", "i", "r", "ri", "ir", "rrri"}) {
            Loaded l(scribble(size.first, size.second, size.first * 31 + size.second));
            for (const char* s = steps; *s; ++s) {
                *s == 'r' ? static_cast<void>(l.h.Rotate()) : l.h.Invert();
            }
            const std::string what =
                std::to_string(size.first) + "x" + std::to_string(size.second) + " " + steps;
            const std::size_t bpl = 2 * ((l.h.GetWidth() + 15) / 16);
            for (std::int32_t y = 0; y < l.h.GetHeight(); ++y) {
                const Bytes line = l.Block(y);
                ASSERT_GE(line.size(), 1u) << what;
                ASSERT_LE(line.size(), 2 * bpl) << what;
                const Bytes row = Rows(l.h);
                EXPECT_EQ(DecodeLine(line, bpl), Bytes(row.begin() + y * l.h.GetStride(),
                                                       row.begin() + y * l.h.GetStride() + bpl))
                    << what << " line " << y;
            }
            const Bytes file = BuildLogoPcxFile(l.h);
            ASSERT_EQ(file.size(), LogoPcxFileSize(l.h)) << what;
            fake::MemoryFileSource files;
            CLogoFmtHandler back(files);
            back.LoadAs(LogoFormat::Pcx, file.data(), file.size());
            ASSERT_EQ(back.GetStatus(), LOGO_LOADED_OK) << what;
            EXPECT_EQ(Picture(back), Picture(l.h)) << what;
        }
    }
}

} // namespace
} // namespace brimwell::test
