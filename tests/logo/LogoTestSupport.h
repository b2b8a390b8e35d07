#pragma once
// Builders of BMP and PCX logo files, an in-memory file source and a failing allocator for the
// logo holder's tests and benchmarks.
#include "logo/LogoFmtHandler.h"
#include "platform/fake/FakeServices.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brimwell::test {

using Bytes = std::vector<std::uint8_t>;

// A row of a reader's table: an edit of a well-formed file and the status it must load with.
struct FileEdit {
    const char* name;
    std::function<void(Bytes&)> edit;
    LogoStatus status;
};

struct Rgb {
    std::uint8_t r, g, b;
};

inline void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// A Windows BMP. Pixels are given top row first: palette indexes, or 0xRRGGBB at 24 bits.
struct BmpDesc {
    std::int32_t width = 1;
    std::int32_t height = 1; // always positive here; topDown decides the stored sign
    std::uint16_t bits = 24;
    bool topDown = false;
    std::vector<Rgb> palette;
    std::vector<std::uint32_t> pixels;
    std::optional<std::int32_t> coloursUsed; // default: the palette's size (0 when full)
    std::uint32_t infoSize = 40;
    std::uint32_t gap = 0; // extra bytes between the colour table and the rows
};

inline Bytes MakeBmp(const BmpDesc& s) {
    const std::uint32_t stride = 4 * ((static_cast<std::uint32_t>(s.width) * s.bits + 31) / 32);
    const std::uint32_t table = 4 * static_cast<std::uint32_t>(s.palette.size());
    const std::uint32_t offset = 14 + s.infoSize + table + s.gap;
    const std::uint32_t size = offset + stride * static_cast<std::uint32_t>(s.height);
    Bytes b(size, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, size);
    Put32(b, 10, offset);
    Put32(b, 14, s.infoSize);
    Put32(b, 18, static_cast<std::uint32_t>(s.width));
    Put32(b, 22, static_cast<std::uint32_t>(s.topDown ? -s.height : s.height));
    Put16(b, 26, 1);
    Put16(b, 28, s.bits);
    std::int32_t used = static_cast<std::int32_t>(s.palette.size());
    if (s.bits <= 8 && used == (1 << s.bits)) {
        used = 0;
    }
    Put32(b, 46, static_cast<std::uint32_t>(s.coloursUsed.value_or(used)));
    for (std::size_t i = 0; i < s.palette.size(); ++i) {
        const std::size_t at = 14 + s.infoSize + 4 * i;
        b[at] = s.palette[i].b;
        b[at + 1] = s.palette[i].g;
        b[at + 2] = s.palette[i].r;
    }
    for (std::int32_t y = 0; y < s.height; ++y) {
        const std::int32_t fileRow = s.topDown ? y : s.height - 1 - y;
        std::uint8_t* row = b.data() + offset + static_cast<std::size_t>(fileRow) * stride;
        for (std::int32_t x = 0; x < s.width; ++x) {
            const std::uint32_t v = s.pixels.empty() ? 0 : s.pixels[y * s.width + x];
            if (s.bits == 24) {
                row[3 * x] = static_cast<std::uint8_t>(v);
                row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
            } else {
                const std::uint32_t bit = x * s.bits;
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - s.bits - bit % 8));
            }
        }
    }
    return b;
}

// A BMP of `width` x `height` 24-bit pixels all of one colour.
inline Bytes SolidBmp(std::int32_t width, std::int32_t height, std::uint32_t rgb = 0xFFFFFF) {
    BmpDesc s;
    s.width = width;
    s.height = height;
    s.pixels.assign(static_cast<std::size_t>(width) * height, rgb);
    return MakeBmp(s);
}

// The 1-bit black and white BMP of a picture given as rows of '#' (black) and '.' (white).
inline BmpDesc MonoDesc(const std::vector<std::string>& rows, bool whiteFirst = false) {
    BmpDesc s;
    s.width = static_cast<std::int32_t>(rows[0].size());
    s.height = static_cast<std::int32_t>(rows.size());
    s.bits = 1;
    s.palette = whiteFirst ? std::vector<Rgb>{{255, 255, 255}, {0, 0, 0}}
                           : std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}};
    for (const std::string& r : rows) {
        for (char c : r) {
            const bool white = c == '.';
            s.pixels.push_back(white != whiteFirst ? 1 : 0);
        }
    }
    return s;
}
inline Bytes MonoBmp(const std::vector<std::string>& rows, bool whiteFirst = false) {
    return MakeBmp(MonoDesc(rows, whiteFirst));
}

// The BMP with its rows pushed back far enough to make the file loadable (128 bytes or more).
inline Bytes Loadable(BmpDesc s) {
    const std::size_t size = MakeBmp(s).size();
    if (size < LOGO_MIN_FILE_SIZE) {
        s.gap += static_cast<std::uint32_t>(LOGO_MIN_FILE_SIZE - size);
    }
    return MakeBmp(s);
}

// A PCX header for width x height at `bits` bits per pixel (Xmin = Ymin = 0).
inline Bytes PcxHeader(std::int32_t width, std::int32_t height, std::uint8_t bits,
                       std::uint16_t bytesPerLine) {
    Bytes b(128, 0);
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = 1;
    b[3] = bits;
    Put16(b, 8, static_cast<std::uint32_t>(width - 1));
    Put16(b, 10, static_cast<std::uint32_t>(height - 1));
    b[65] = 1;
    Put16(b, 66, bytesPerLine);
    return b;
}

// Run-length encodes one line the way PCX writers do: greedy runs of at most 63.
inline void AppendPcxLine(Bytes& out, const Bytes& line) {
    for (std::size_t i = 0; i < line.size();) {
        std::size_t run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i]) {
            ++run;
        }
        if (run > 1 || line[i] >= 0xC0) {
            out.push_back(static_cast<std::uint8_t>(0xC0 + run));
        }
        out.push_back(line[i]);
        i += run;
    }
}

// A PCX of the given raw lines (each bytes-per-line long), with an optional trailing table.
inline Bytes MakePcx(std::int32_t width, std::uint8_t bits, const std::vector<Bytes>& lines,
                     const std::vector<Rgb>* trailer = nullptr) {
    Bytes b = PcxHeader(width, static_cast<std::int32_t>(lines.size()), bits,
                        static_cast<std::uint16_t>(lines[0].size()));
    for (const Bytes& line : lines) {
        AppendPcxLine(b, line);
    }
    if (trailer) {
        b.push_back(0x0C);
        for (int i = 0; i < 256; ++i) {
            const Rgb c = i < static_cast<int>(trailer->size()) ? (*trailer)[i] : Rgb{0, 0, 0};
            b.insert(b.end(), {c.r, c.g, c.b});
        }
    }
    return b;
}

// The holder's image as rows of '#' (black) and '.' (white).
inline std::vector<std::string> Picture(const CLogoFmtHandler& h) {
    std::vector<std::string> rows;
    for (std::int32_t y = 0; y < h.GetHeight(); ++y) {
        std::string row;
        for (std::int32_t x = 0; x < h.GetWidth(); ++x) {
            row += h.GetPixel(x, y) ? '.' : '#';
        }
        rows.push_back(row);
    }
    return rows;
}

// The image rows' bytes, padding included.
inline Bytes Rows(const CLogoFmtHandler& h) {
    const std::uint8_t* p = h.GetPixels();
    return Bytes(p, p + static_cast<std::size_t>(h.GetStride()) * h.GetHeight());
}

// An allocator that fails chosen requests (counted from 1 since the last Reset).
struct FailingAllocator {
    static inline int calls = 0;
    static inline std::vector<int> failing;
    static void Reset(std::vector<int> fail = {}) {
        calls = 0;
        failing = std::move(fail);
    }
    static void* Allocate(std::size_t size) {
        ++calls;
        for (int f : failing) {
            if (f == calls) {
                return nullptr;
            }
        }
        return std::malloc(size);
    }
};

} // namespace brimwell::test
