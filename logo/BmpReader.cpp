#include "logo/BmpReader.h"

#include <limits>

namespace brimwell {
namespace {

// Windows BMP: a 14-byte file header, then an info header of at least 40 bytes (its size is
// its first field), then the colour table, then the rows at the pixel data offset.
constexpr std::uint8_t BMP_MAGIC[] = {'B', 'M'};
constexpr std::size_t BMP_FILE_HEADER_SIZE = 14;
constexpr std::uint32_t BMP_MIN_INFO_SIZE = 40;
constexpr std::size_t BMP_MIN_SIZE = BMP_FILE_HEADER_SIZE + BMP_MIN_INFO_SIZE;
constexpr std::size_t BMP_FILE_SIZE_FIELD = 2;
constexpr std::size_t BMP_PIXEL_OFFSET = 10;
constexpr std::size_t BMP_INFO_SIZE = 14;
constexpr std::size_t BMP_WIDTH = 18;
constexpr std::size_t BMP_HEIGHT = 22;
constexpr std::size_t BMP_PLANES = 26;
constexpr std::size_t BMP_BIT_COUNT = 28;
constexpr std::size_t BMP_COMPRESSION = 30;
constexpr std::size_t BMP_COLOURS_USED = 46;
constexpr std::size_t BMP_COLOURS_IMPORTANT = 50;
constexpr std::uint32_t BMP_UNCOMPRESSED = 0;
constexpr std::size_t BMP_COLOUR_ENTRY_SIZE = 4; // blue, green, red, reserved

// Where a checked BMP keeps its palette and rows. The checks fill it in turn.
struct BmpLayout {
    std::uint32_t bits = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false; // rows stored top-down (a negative height in the header)
    std::int64_t colours = 0;
    std::uint64_t tableStart = 0;
    std::uint64_t pixelOffset = 0;
    std::uint64_t fileStride = 0;
};

// The file's own size in its header, an info header of 40 bytes or more, one plane, no
// compression (run-length and bit-field files are not taken) and 1, 4, 8 or 24 bits a pixel.
LogoStatus CheckBmpEncoding(const std::uint8_t* pData, std::size_t nSize, BmpLayout& layout) {
    if (nSize < BMP_MIN_SIZE) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::uint32_t infoSize = LogoLe32(pData + BMP_INFO_SIZE);
    if (infoSize < BMP_MIN_INFO_SIZE) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (LogoLe32(pData + BMP_FILE_SIZE_FIELD) != nSize) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (LogoLe16(pData + BMP_PLANES) != 1) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (LogoLe32(pData + BMP_COMPRESSION) != BMP_UNCOMPRESSED) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::uint32_t bits = LogoLe16(pData + BMP_BIT_COUNT);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
        return LOGO_NOT_COMPATIBLE;
    }
    layout.bits = bits;
    layout.tableStart = BMP_FILE_HEADER_SIZE + static_cast<std::uint64_t>(infoSize);
    return LOGO_LOADED_OK;
}

// A positive width; a height that is not 0, negative for rows stored top-down. A side the
// printer cannot take makes the file too large rather than incompatible.
LogoStatus CheckBmpDimensions(const std::uint8_t* pData, BmpLayout& layout) {
    const std::int32_t width = LogoLeS32(pData + BMP_WIDTH);
    const std::int32_t rawHeight = LogoLeS32(pData + BMP_HEIGHT);
    if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) {
        return LOGO_NOT_COMPATIBLE;
    }
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width > LOGO_MAX_SIDE || height > LOGO_MAX_SIDE) {
        return LOGO_TOO_LARGE;
    }
    layout.width = static_cast<std::uint32_t>(width);
    layout.height = static_cast<std::uint32_t>(height);
    layout.topDown = topDown;
    return LOGO_LOADED_OK;
}

// Colour count. With a palette, 0 means the full 2^bits and more than that is wrong; a
// direct-colour file has none. The field is a count: a negative one would pull the required
// pixel offset back into the headers, so it is refused too. No more colours are important
// than there are.
LogoStatus CountBmpColours(const std::uint8_t* pData, BmpLayout& layout) {
    const std::int32_t coloursUsed = LogoLeS32(pData + BMP_COLOURS_USED);
    std::int64_t colours;
    if (layout.bits <= 8) {
        const std::int32_t full = 1 << layout.bits;
        if (coloursUsed < 0 || coloursUsed > full) {
            return LOGO_NOT_COMPATIBLE;
        }
        colours = coloursUsed == 0 ? full : coloursUsed;
    } else {
        if (coloursUsed != 0) {
            return LOGO_NOT_COMPATIBLE;
        }
        colours = 0;
    }
    if (LogoLeS32(pData + BMP_COLOURS_IMPORTANT) > colours) {
        return LOGO_NOT_COMPATIBLE;
    }
    layout.colours = colours;
    return LOGO_LOADED_OK;
}

// The colour table follows the info header and ends before the pixel data; the rows, each
// padded to whole 32-bit words, end inside the file. 64-bit sums of 32-bit fields cannot
// overflow.
LogoStatus CheckBmpExtents(const std::uint8_t* pData, std::size_t nSize, BmpLayout& layout) {
    const std::uint64_t pixelOffset = LogoLe32(pData + BMP_PIXEL_OFFSET);
    if (pixelOffset <
        layout.tableStart + BMP_COLOUR_ENTRY_SIZE * static_cast<std::uint64_t>(layout.colours)) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::uint64_t fileStride =
        LogoImageStride(static_cast<std::uint64_t>(layout.width) * layout.bits);
    if (pixelOffset + fileStride * layout.height > nSize) {
        return LOGO_NOT_COMPATIBLE;
    }
    layout.pixelOffset = pixelOffset;
    layout.fileStride = fileStride;
    return LOGO_LOADED_OK;
}

// The header checks in their fixed order; the first that fails decides the status. On success
// `layout` says where the palette and the rows lie.
LogoStatus CheckBmpHeaders(const std::uint8_t* pData, std::size_t nSize, BmpLayout& layout) {
    LogoStatus status = CheckBmpEncoding(pData, nSize, layout);
    if (status == LOGO_LOADED_OK) {
        status = CheckBmpDimensions(pData, layout);
    }
    if (status == LOGO_LOADED_OK) {
        status = CountBmpColours(pData, layout);
    }
    if (status == LOGO_LOADED_OK) {
        status = CheckBmpExtents(pData, nSize, layout);
    }
    return status;
}

} // namespace

bool IsBmpFile(const std::uint8_t* pData, std::size_t nSize) {
    return nSize >= sizeof BMP_MAGIC && pData[0] == BMP_MAGIC[0] && pData[1] == BMP_MAGIC[1];
}

// Rows run bottom-up unless the height is negative, each padded to whole 32-bit words. A pixel
// of 24 bits is blue, green, red; one of fewer bits is a palette index, packed from the most
// significant bits of each byte down, and an index past the colour count is black.
LogoStatus ReadBmpLogo(const std::uint8_t* pData, std::size_t nSize, ILogoCanvas& canvas) {
    BmpLayout layout;
    const LogoStatus status = CheckBmpHeaders(pData, nSize, layout);
    if (status != LOGO_LOADED_OK) {
        return status;
    }
    const LogoRows image = canvas.Resize(layout.width, layout.height);
    if (!image.pixels) {
        return LOGO_NO_MEMORY;
    }

    // Brightness of every palette index. The table lies inside the file: it ends at or before
    // the pixel offset, which the rows follow.
    std::uint32_t palette[256] = {};
    for (std::int64_t i = 0; i < layout.colours; ++i) {
        const std::uint8_t* entry = pData + layout.tableStart + BMP_COLOUR_ENTRY_SIZE * i;
        palette[i] = entry[0] + entry[1] + entry[2];
    }

    const std::uint8_t* const rows = pData + layout.pixelOffset;
    const std::uint32_t bits = layout.bits;
    const std::uint32_t w = layout.width;
    const std::uint32_t h = layout.height;
    const bool topDown = layout.topDown;
    const std::size_t stride = static_cast<std::size_t>(layout.fileStride);
    auto walk = [&](auto&& visit) {
        for (std::uint32_t r = 0; r < h; ++r) {
            const std::uint8_t* row = rows + r * stride;
            const std::uint32_t y = topDown ? r : h - 1 - r;
            if (bits == 24) {
                for (std::uint32_t x = 0; x < w; ++x, row += 3) {
                    visit(x, y, static_cast<std::uint32_t>(row[0] + row[1] + row[2]));
                }
            } else {
                const std::uint32_t mask = (1u << bits) - 1;
                for (std::uint32_t x = 0; x < w; ++x) {
                    const std::uint32_t bit = x * bits;
                    const std::uint32_t shift = 8 - bits - bit % 8;
                    visit(x, y, palette[(row[bit / 8] >> shift) & mask]);
                }
            }
        }
    };
    ThresholdLogo(image, walk);
    return LOGO_LOADED_OK;
}

} // namespace brimwell
