#include "logo/PcxReader.h"

#include "logo/PcxFormat.h"

namespace brimwell {
namespace {

// After the last line: nothing, or this mark and a 256-entry RGB table.
constexpr std::uint8_t PCX_TRAILER_MARK = 0x0C;
constexpr std::uint32_t PCX_TRAILER_ENTRIES = 256;
constexpr std::size_t PCX_TRAILER_SIZE = 1 + 3 * PCX_TRAILER_ENTRIES;
constexpr std::uint32_t PCX_HEADER_PALETTE_ENTRIES = 16;

// The size and line length of a checked PCX.
struct PcxLayout {
    std::uint32_t bits = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerLine = 0;
};

// A whole header of one plane of 1 or 8 bits per pixel; the picture spans xmin to xmax and
// ymin to ymax inclusive, and its lines hold at least one byte. A side the printer cannot take
// makes the file too large rather than incompatible.
LogoStatus CheckPcxHeader(const std::uint8_t* pData, std::size_t nSize, PcxLayout& layout) {
    if (nSize < PCX_DATA) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (pData[PCX_PLANES] != 1) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::uint32_t bits = pData[PCX_BIT_COUNT];
    if (bits != 1 && bits != 8) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::int32_t width = static_cast<std::int32_t>(LogoLe16(pData + PCX_XMAX)) -
                               static_cast<std::int32_t>(LogoLe16(pData + PCX_XMIN)) + 1;
    const std::int32_t height = static_cast<std::int32_t>(LogoLe16(pData + PCX_YMAX)) -
                                static_cast<std::int32_t>(LogoLe16(pData + PCX_YMIN)) + 1;
    const std::uint32_t bytesPerLine = LogoLe16(pData + PCX_BYTES_PER_LINE);
    if (width < 1 || height < 1 || bytesPerLine < 1) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (width > LOGO_MAX_SIDE || height > LOGO_MAX_SIDE) {
        return LOGO_TOO_LARGE;
    }
    layout = {bits, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
              bytesPerLine};
    return LOGO_LOADED_OK;
}

// Every line's codes, and every run's value byte, lie inside the file. A code below 0xC0 is one
// byte; one above is a run of its low six bits, and 0xC0 itself (an empty run) is refused. A
// line ends once its byte count reaches bytes per line, even in the middle of a run. After the
// last line comes nothing, or the 0x0C mark and a 256-entry RGB table (`trailer` then points
// at the table).
LogoStatus ScanPcxLines(const std::uint8_t* pData, std::size_t nSize, const PcxLayout& layout,
                        const std::uint8_t*& trailer) {
    std::size_t pos = PCX_DATA;
    for (std::uint32_t line = 0; line < layout.height; ++line) {
        std::uint32_t count = 0;
        while (count < layout.bytesPerLine) {
            if (pos >= nSize) {
                return LOGO_NOT_COMPATIBLE;
            }
            const std::uint8_t code = pData[pos++];
            if (code < PCX_RUN_CODE) {
                ++count;
                continue;
            }
            if (code == PCX_RUN_CODE || pos >= nSize) {
                return LOGO_NOT_COMPATIBLE; // empty run, or no byte to repeat
            }
            ++pos;
            count += code - PCX_RUN_CODE;
        }
    }
    trailer = nullptr;
    const std::size_t remaining = nSize - pos;
    if (remaining == PCX_TRAILER_SIZE && pData[pos] == PCX_TRAILER_MARK) {
        trailer = pData + pos + 1;
    } else if (remaining != 0) {
        return LOGO_NOT_COMPATIBLE;
    }
    return LOGO_LOADED_OK;
}

// An 8-bit pixel is an index into the trailing table when there is one, else into the header's
// 16 entries, and black for an index the header has no entry for.
void PcxPaletteBrightness(const std::uint8_t* pData, const std::uint8_t* trailer,
                          std::uint32_t (&palette)[256]) {
    const std::uint8_t* table = trailer ? trailer : pData + PCX_HEADER_PALETTE;
    const std::uint32_t entries = trailer ? PCX_TRAILER_ENTRIES : PCX_HEADER_PALETTE_ENTRIES;
    for (std::uint32_t i = 0; i < entries; ++i) {
        palette[i] = table[3 * i] + table[3 * i + 1] + table[3 * i + 2];
    }
}

// Decodes every line of a scanned file by the scan's rules, handing each kept copy to
// `put(b, y, value)`: byte position b of row y. Copies at byte positions from `usefulBytes` on
// are dropped; what a short line leaves out is never handed over.
template <typename Put>
void DecodePcxLines(const std::uint8_t* pData, const PcxLayout& layout, std::uint32_t usefulBytes,
                    const Put& put) {
    std::size_t at = PCX_DATA;
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        std::uint32_t count = 0;
        while (count < layout.bytesPerLine) {
            const std::uint8_t code = pData[at++];
            if (code < PCX_RUN_CODE) {
                if (count < usefulBytes) {
                    put(count, y, code);
                }
                ++count;
                continue;
            }
            const std::uint32_t run = code - PCX_RUN_CODE;
            const std::uint8_t value = pData[at++];
            const std::uint32_t end = std::min(count + run, usefulBytes);
            for (std::uint32_t b = count; b < end; ++b) {
                put(b, y, value);
            }
            count += run;
        }
    }
}

} // namespace

bool IsPcxFile(const std::uint8_t* pData, std::size_t nSize) {
    return nSize >= 1 && pData[PCX_MANUFACTURER] == PCX_MANUFACTURER_ZSOFT;
}

// Lines are run-length encoded whatever the header's encoding byte says. A 1-bit byte holds
// eight pixels, the most significant bit leftmost and 1 white; an 8-bit byte is one palette
// index. Pixels at x of width or more are dropped, and what a short line leaves out stays
// black: bytes past the width are never looked at, however long the header says a line is.
LogoStatus ReadPcxLogo(const std::uint8_t* pData, std::size_t nSize, ILogoCanvas& canvas) {
    PcxLayout layout;
    LogoStatus status = CheckPcxHeader(pData, nSize, layout);
    if (status != LOGO_LOADED_OK) {
        return status;
    }
    const LogoRows image = canvas.Resize(layout.width, layout.height);
    if (!image.pixels) {
        return LOGO_NO_MEMORY;
    }
    const std::uint8_t* trailer = nullptr;
    status = ScanPcxLines(pData, nSize, layout, trailer);
    if (status != LOGO_LOADED_OK) {
        return status;
    }

    std::uint32_t palette[256] = {};
    if (layout.bits == 8) {
        PcxPaletteBrightness(pData, trailer, palette);
    }
    const std::uint32_t w = layout.width;
    const std::uint32_t usefulBytes =
        std::min(layout.bytesPerLine, layout.bits == 1 ? (w + 7) / 8 : w);
    auto walk = [&](auto&& visit) {
        if (layout.bits == 1) {
            DecodePcxLines(pData, layout, usefulBytes,
                           [&visit, w](std::uint32_t b, std::uint32_t y, std::uint8_t value) {
                               const std::uint32_t n = std::min<std::uint32_t>(8, w - b * 8);
                               for (std::uint32_t k = 0; k < n; ++k) {
                                   visit(b * 8 + k, y,
                                         (value >> (7 - k)) & 1 ? LOGO_WHITE_BRIGHTNESS : 0u);
                               }
                           });
        } else {
            DecodePcxLines(pData, layout, usefulBytes,
                           [&visit, &palette](std::uint32_t b, std::uint32_t y,
                                              std::uint8_t value) { visit(b, y, palette[value]); });
        }
    };
    ThresholdLogo(image, walk);
    return LOGO_LOADED_OK;
}

} // namespace brimwell
