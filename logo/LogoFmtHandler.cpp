#include "logo/LogoFmtHandler.h"

#include "resources/StringTable.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace brimwell {
namespace {

// Little-endian fields. Callers have checked that the bytes lie inside the file.
std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t S32(const std::uint8_t* p) {
    const std::uint32_t u = U32(p);
    std::int32_t s;
    std::memcpy(&s, &u, sizeof s);
    return s;
}
void PutU16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Windows BMP: a 14-byte file header, then an info header of at least 40 bytes (its size is
// its first field), then the colour table, then the rows at the pixel data offset.
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

// ZSoft PCX: a 128-byte header, run-length encoded lines, optionally a 0x0C mark and a
// 256-entry RGB table at the very end.
constexpr std::size_t PCX_BIT_COUNT = 3;
constexpr std::size_t PCX_XMIN = 4;
constexpr std::size_t PCX_YMIN = 6;
constexpr std::size_t PCX_XMAX = 8;
constexpr std::size_t PCX_YMAX = 10;
constexpr std::size_t PCX_HRES = 12;
constexpr std::size_t PCX_VRES = 14;
constexpr std::size_t PCX_HEADER_PALETTE = 16; // 16 entries of red, green, blue
constexpr std::size_t PCX_PLANES = 65;
constexpr std::size_t PCX_BYTES_PER_LINE = 66;
constexpr std::size_t PCX_PALETTE_INFO = 68;
constexpr std::size_t PCX_DATA = 128;
constexpr std::uint8_t PCX_MANUFACTURER_ZSOFT = 0x0A;
constexpr std::uint8_t PCX_RUN_CODE = 0xC0; // codes from here on announce a run
constexpr std::uint32_t PCX_MAX_RUN = 63;
constexpr std::size_t PCX_TRAILER_SIZE = 769;
constexpr std::uint8_t PCX_TRAILER_MARK = 0x0C;
constexpr std::uint32_t PCX_PRINTER_DPI = 200;

constexpr std::uint32_t WHITE_BRIGHTNESS = 3 * 255;

// Bytes of a one-bit image row: whole 32-bit words.
std::uint64_t ImageStride(std::uint64_t width) {
    return 4 * ((width + 31) / 32);
}
// Bytes of a line in the printer's PCX file: always even.
std::uint32_t PcxBytesPerLine(std::uint32_t width) {
    return 2 * ((width + 15) / 16);
}

// The longest encoded line (every byte a single code of 0xC0 or above) fits the scratch.
static_assert(2 * (2 * ((LOGO_MAX_SIDE + 15) / 16)) <= LOGO_PCX_HEADER_SIZE,
              "an encoded line must fit the encoding scratch");

// Where a checked BMP keeps its palette and rows.
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

// The checks of an uncompressed Windows BMP's headers, in a fixed order; the first that fails
// decides the status. On success `layout` says where the palette and the rows lie.
LogoStatus CheckBmpHeaders(const std::uint8_t* pData, std::size_t nSize, BmpLayout& layout) {
    if (nSize < BMP_MIN_SIZE) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::uint32_t infoSize = U32(pData + BMP_INFO_SIZE);
    if (infoSize < BMP_MIN_INFO_SIZE) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (U32(pData + BMP_FILE_SIZE_FIELD) != nSize) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (U16(pData + BMP_PLANES) != 1) {
        return LOGO_NOT_COMPATIBLE;
    }
    if (U32(pData + BMP_COMPRESSION) != 0) {
        return LOGO_NOT_COMPATIBLE; // run-length and bit-field files are not taken
    }
    const std::uint32_t bits = U16(pData + BMP_BIT_COUNT);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::int32_t width = S32(pData + BMP_WIDTH);
    const std::int32_t rawHeight = S32(pData + BMP_HEIGHT);
    if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) {
        return LOGO_NOT_COMPATIBLE;
    }
    const bool topDown = rawHeight < 0; // a negative height marks rows stored top-down
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width > LOGO_MAX_SIDE || height > LOGO_MAX_SIDE) {
        return LOGO_TOO_LARGE;
    }

    // Colour count. With a palette, 0 means the full 2^bits and more than that is wrong; a
    // direct-colour file has none. The field is a count: a negative one would pull the
    // required pixel offset back into the headers, so it is refused too.
    const std::int32_t coloursUsed = S32(pData + BMP_COLOURS_USED);
    std::int64_t colours;
    if (bits <= 8) {
        const std::int32_t full = 1 << bits;
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
    if (S32(pData + BMP_COLOURS_IMPORTANT) > colours) {
        return LOGO_NOT_COMPATIBLE;
    }

    // The colour table follows the info header and ends before the pixel data; the rows end
    // inside the file. 64-bit sums of 32-bit fields cannot overflow.
    const std::uint64_t tableStart = BMP_FILE_HEADER_SIZE + static_cast<std::uint64_t>(infoSize);
    const std::uint64_t pixelOffset = U32(pData + BMP_PIXEL_OFFSET);
    if (pixelOffset < tableStart + 4 * static_cast<std::uint64_t>(colours)) {
        return LOGO_NOT_COMPATIBLE;
    }
    const std::uint64_t fileStride = 4 * ((static_cast<std::uint64_t>(width) * bits + 31) / 32);
    if (pixelOffset + fileStride * static_cast<std::uint64_t>(height) > nSize) {
        return LOGO_NOT_COMPATIBLE;
    }
    layout = {bits,
              static_cast<std::uint32_t>(width),
              static_cast<std::uint32_t>(height),
              topDown,
              colours,
              tableStart,
              pixelOffset,
              fileStride};
    return LOGO_LOADED_OK;
}

// The size and line length of a checked PCX.
struct PcxLayout {
    std::uint32_t bits = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerLine = 0;
};

// The checks of a PCX header: one plane of 1 or 8 bits per pixel and a size the holder takes.
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
    const std::int32_t width = static_cast<std::int32_t>(U16(pData + PCX_XMAX)) -
                               static_cast<std::int32_t>(U16(pData + PCX_XMIN)) + 1;
    const std::int32_t height = static_cast<std::int32_t>(U16(pData + PCX_YMAX)) -
                                static_cast<std::int32_t>(U16(pData + PCX_YMIN)) + 1;
    const std::uint32_t bytesPerLine = U16(pData + PCX_BYTES_PER_LINE);
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

// Structure scan: every line's codes, and every run's value byte, lie inside the file. A line
// ends once its byte count reaches bytes per line, even in the middle of a run. After the last
// line comes nothing, or the 0x0C mark and a 256-entry RGB table (`trailer` then points at the
// table).
LogoStatus ScanPcxLines(const std::uint8_t* pData, std::size_t nSize, const PcxLayout& layout,
                        const std::uint8_t*& trailer) {
    const std::uint32_t h = layout.height;
    const std::uint32_t bytesPerLine = layout.bytesPerLine;
    std::size_t pos = PCX_DATA;
    for (std::uint32_t line = 0; line < h; ++line) {
        std::uint32_t count = 0;
        while (count < bytesPerLine) {
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

} // namespace

const char* LogoStatusMessage(LogoStatus status) {
    if (status < LOGO_NO_FILE || status > LOGO_LOADED_OK) {
        return "";
    }
    const char* text = LoadStringResource(IDS_LOGO_STATUS_BASE + status);
    return text ? text : "";
}

CLogoFmtHandler::CLogoFmtHandler(IFileSource& files, Allocator allocate)
    : m_files(files), m_allocate(allocate) {
    LogoBitmapInfoHeader& h = m_bmi.bmiHeader;
    h.biSize = sizeof(LogoBitmapInfoHeader);
    h.biPlanes = 1;
    h.biBitCount = 1;
    m_bmi.bmiColors[0] = LogoRgbQuad{0, 0, 0, 0};
    m_bmi.bmiColors[1] = LogoRgbQuad{255, 255, 255, 0};
    AllocImage(0, 0);
}

CLogoFmtHandler::~CLogoFmtHandler() {
    std::free(m_pPixels);
}

bool CLogoFmtHandler::GetPixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) {
        return false;
    }
    const std::uint8_t b = m_pPixels[static_cast<std::size_t>(y) * m_nStride + x / 8];
    return (b >> (7 - x % 8)) & 1;
}

// Sizes the image for width x height, all black. The buffer only grows; a clear (0 x 0)
// always fails and keeps the buffer for the next image.
bool CLogoFmtHandler::AllocImage(std::uint32_t nWidth, std::uint32_t nHeight) {
    const std::uint64_t stride = ImageStride(nWidth);
    const std::uint64_t size = stride * nHeight;
    if (size > m_nCapacity) {
        std::free(m_pPixels);
        m_pPixels = nullptr;
        m_nCapacity = 0;
        if (size <= std::numeric_limits<std::uint32_t>::max()) {
            m_pPixels = static_cast<std::uint8_t*>(m_allocate(static_cast<std::size_t>(size)));
            if (m_pPixels) {
                m_nCapacity = static_cast<std::uint32_t>(size);
            }
        }
    }
    if (!m_pPixels || size == 0) {
        m_bmi.bmiHeader.biWidth = 0;
        m_bmi.bmiHeader.biHeight = 0;
        m_nStride = 0;
        return false;
    }
    std::memset(m_pPixels, 0, static_cast<std::size_t>(size));
    m_bmi.bmiHeader.biWidth = static_cast<std::int32_t>(nWidth);
    m_bmi.bmiHeader.biHeight = -static_cast<std::int32_t>(nHeight);
    m_nStride = static_cast<std::uint32_t>(stride);
    return true;
}

// Makes the buffer hold at least nSize bytes, obtaining the new buffer before letting go of
// the old one: on failure the buffer and its contents are as they were.
bool CLogoFmtHandler::GrowBuffer(std::uint64_t nSize) {
    if (nSize <= m_nCapacity) {
        return true;
    }
    if (nSize > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    auto* p = static_cast<std::uint8_t*>(m_allocate(static_cast<std::size_t>(nSize)));
    if (!p) {
        return false;
    }
    std::free(m_pPixels);
    m_pPixels = p;
    m_nCapacity = static_cast<std::uint32_t>(nSize);
    return true;
}

void CLogoFmtHandler::SetStatus(LogoStatus status) {
    m_nStatus = status;
    if (status != LOGO_LOADED_OK) {
        AllocImage(0, 0);
    }
}

void CLogoFmtHandler::LoadFile(const std::string& path) {
    if (path.empty()) {
        SetStatus(LOGO_NO_FILE);
        return;
    }
    const std::unique_ptr<IReadableFile> file = m_files.OpenForRead(path);
    if (!file) {
        SetStatus(LOGO_OPEN_FAILED);
        return;
    }
    std::uint64_t size = 0;
    if (!file->QuerySize(&size)) {
        SetStatus(LOGO_OPEN_FAILED);
        return;
    }
    if (size < LOGO_MIN_FILE_SIZE || size > LOGO_MAX_FILE_SIZE) {
        SetStatus(LOGO_NOT_COMPATIBLE);
        return;
    }
    auto* buffer = static_cast<std::uint8_t*>(m_allocate(static_cast<std::size_t>(size)));
    if (!buffer) {
        SetStatus(LOGO_NO_MEMORY);
        return;
    }
    const auto length = static_cast<std::uint32_t>(size);
    std::uint32_t read = 0;
    if (!file->Read(buffer, length, &read) || read != length) {
        SetStatus(LOGO_READ_FAILED);
    } else {
        Decode(buffer, length);
    }
    std::free(buffer);
}

void CLogoFmtHandler::LoadBytes(const std::uint8_t* pData, std::size_t nSize) {
    if (nSize < LOGO_MIN_FILE_SIZE || nSize > LOGO_MAX_FILE_SIZE) {
        SetStatus(LOGO_NOT_COMPATIBLE);
        return;
    }
    Decode(pData, nSize);
}

void CLogoFmtHandler::LoadAs(LogoFormat format, const std::uint8_t* pData, std::size_t nSize) {
    SetStatus(format == LogoFormat::Bmp ? ReadBmp(pData, nSize) : ReadPcx(pData, nSize));
}

// The content, never the file name, picks the reader: "BM" for a BMP, 0x0A for a PCX.
void CLogoFmtHandler::Decode(const std::uint8_t* pData, std::size_t nSize) {
    if (nSize >= 2 && pData[0] == 'B' && pData[1] == 'M') {
        SetStatus(ReadBmp(pData, nSize));
    } else if (nSize >= 1 && pData[0] == PCX_MANUFACTURER_ZSOFT) {
        SetStatus(ReadPcx(pData, nSize));
    } else {
        SetStatus(LOGO_NOT_COMPATIBLE);
    }
}

// Sets the image bits from the brightness (0 to 765) of every pixel the file supplies: the
// mean over the whole picture is the threshold, and a pixel at or above it is white. `walk`
// calls its visitor with x, y and brightness, in the same order on both passes.
template <typename PixelWalk>
void CLogoFmtHandler::Threshold(const PixelWalk& walk) {
    std::uint64_t total = 0;
    walk([&total](std::uint32_t, std::uint32_t, std::uint32_t brightness) { total += brightness; });
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(GetWidth()) * static_cast<std::uint64_t>(GetHeight());
    // An all-black picture (mean 0) stays black rather than turning all white.
    const std::uint64_t threshold = std::max<std::uint64_t>(total / pixels, 1);
    std::uint8_t* const pixelsOut = m_pPixels;
    const std::size_t stride = m_nStride;
    walk([=](std::uint32_t x, std::uint32_t y, std::uint32_t brightness) {
        if (brightness >= threshold) {
            pixelsOut[y * stride + x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
    });
}

// Uncompressed Windows BMP of 1, 4, 8 or 24 bits per pixel, bottom-up or top-down: the
// headers checked whole, then the pixel walk.
LogoStatus CLogoFmtHandler::ReadBmp(const std::uint8_t* pData, std::size_t nSize) {
    BmpLayout layout;
    const LogoStatus status = CheckBmpHeaders(pData, nSize, layout);
    if (status != LOGO_LOADED_OK) {
        return status;
    }
    const std::uint32_t bits = layout.bits;
    const std::int64_t colours = layout.colours;
    const std::uint64_t tableStart = layout.tableStart;
    const bool topDown = layout.topDown;
    if (!AllocImage(layout.width, layout.height)) {
        return LOGO_NO_MEMORY;
    }

    // Brightness of every palette index; an index past the colour count is black. The table
    // lies inside the file: it ends at or before the pixel offset, which the rows follow.
    std::uint32_t palette[256] = {};
    for (std::int64_t i = 0; i < colours; ++i) {
        const std::uint8_t* entry = pData + tableStart + 4 * i; // blue, green, red, reserved
        palette[i] = entry[0] + entry[1] + entry[2];
    }

    const std::uint8_t* const rows = pData + layout.pixelOffset;
    const std::uint32_t w = layout.width;
    const std::uint32_t h = layout.height;
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
                // Pixels are packed from the most significant bits of each byte down.
                const std::uint32_t mask = (1u << bits) - 1;
                for (std::uint32_t x = 0; x < w; ++x) {
                    const std::uint32_t bit = x * bits;
                    const std::uint32_t shift = 8 - bits - bit % 8;
                    visit(x, y, palette[(row[bit / 8] >> shift) & mask]);
                }
            }
        }
    };
    Threshold(walk);
    return LOGO_LOADED_OK;
}

// ZSoft PCX with one plane of 1 or 8 bits per pixel, run-length encoded whatever the header's
// encoding byte says. The structure is checked whole before any pixel is decoded.
LogoStatus CLogoFmtHandler::ReadPcx(const std::uint8_t* pData, std::size_t nSize) {
    PcxLayout layout;
    LogoStatus status = CheckPcxHeader(pData, nSize, layout);
    if (status != LOGO_LOADED_OK) {
        return status;
    }
    const std::uint32_t bits = layout.bits;
    const std::uint32_t w = layout.width;
    const std::uint32_t h = layout.height;
    const std::uint32_t bytesPerLine = layout.bytesPerLine;
    if (!AllocImage(w, h)) {
        return LOGO_NO_MEMORY;
    }
    const std::uint8_t* trailer = nullptr;
    status = ScanPcxLines(pData, nSize, layout, trailer);
    if (status != LOGO_LOADED_OK) {
        return status;
    }

    // 8-bit brightness by value: the trailing table when there is one, else the header's 16
    // entries, and black for values the header has no entry for.
    std::uint32_t palette[256] = {};
    if (bits == 8) {
        const std::uint8_t* table = trailer ? trailer : pData + PCX_HEADER_PALETTE;
        const std::uint32_t entries = trailer ? 256 : 16;
        for (std::uint32_t i = 0; i < entries; ++i) {
            palette[i] = table[3 * i] + table[3 * i + 1] + table[3 * i + 2];
        }
    }

    // Decoding follows the scan's rules. Copies at byte positions from bytes per line on, and
    // pixels at x of width or more, are dropped; what a short line leaves out stays black.
    // Bytes past the width are never looked at, however long the header says a line is.
    const std::uint32_t usefulBytes = std::min(bytesPerLine, bits == 1 ? (w + 7) / 8 : w);
    // Decodes every line, handing each kept copy to `put(b, y, value)`: byte position b of row y.
    auto decode = [&](auto&& put) {
        std::size_t at = PCX_DATA;
        for (std::uint32_t y = 0; y < h; ++y) {
            std::uint32_t count = 0;
            while (count < bytesPerLine) {
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
    };
    auto walk = [&](auto&& visit) {
        if (bits == 1) {
            decode([&visit, w](std::uint32_t b, std::uint32_t y, std::uint8_t value) {
                const std::uint32_t n = std::min<std::uint32_t>(8, w - b * 8);
                for (std::uint32_t k = 0; k < n; ++k) {
                    visit(b * 8 + k, y, (value >> (7 - k)) & 1 ? WHITE_BRIGHTNESS : 0u);
                }
            });
        } else {
            decode([&visit, &palette](std::uint32_t b, std::uint32_t y, std::uint8_t value) {
                visit(b, y, palette[value]);
            });
        }
    };
    Threshold(walk);
    return LOGO_LOADED_OK;
}

bool CLogoFmtHandler::Rotate() {
    if (!IsLoaded()) {
        return false;
    }
    const auto w = static_cast<std::uint32_t>(GetWidth());
    const auto h = static_cast<std::uint32_t>(GetHeight());
    const std::size_t oldStride = m_nStride;
    const std::size_t oldSize = oldStride * h;
    auto* copy = static_cast<std::uint8_t*>(m_allocate(oldSize));
    if (!copy) {
        return false;
    }
    std::memcpy(copy, m_pPixels, oldSize);
    // The rotated image's buffer is had before anything changes, so a failure leaves the
    // loaded logo as it was rather than an empty image that would still count as loaded.
    if (!GrowBuffer(ImageStride(h) * w)) {
        std::free(copy);
        return false;
    }
    AllocImage(h, w); // fits the buffer now, so it cannot fail
    // New pixel (x', y') is old pixel (y', h - 1 - x'): the old top row becomes the right-most
    // column.
    for (std::uint32_t y = 0; y < h; ++y) {
        const std::uint8_t* row = copy + y * oldStride;
        const std::uint32_t nx = h - 1 - y;
        const auto bit = static_cast<std::uint8_t>(0x80u >> (nx % 8));
        for (std::uint32_t x = 0; x < w; ++x) {
            if ((row[x / 8] >> (7 - x % 8)) & 1) {
                m_pPixels[static_cast<std::size_t>(x) * m_nStride + nx / 8] |= bit;
            }
        }
    }
    std::free(copy);
    return true;
}

void CLogoFmtHandler::Invert() {
    if (!IsLoaded()) {
        return;
    }
    const std::size_t size = static_cast<std::size_t>(m_nStride) * GetHeight();
    for (std::size_t i = 0; i < size; ++i) {
        m_pPixels[i] = static_cast<std::uint8_t>(~m_pPixels[i]);
    }
}

// The printer's logo file: version 5, one plane of one bit, run-length encoded, 200 dpi, black
// and white in the header palette, lines of an even byte count, no trailing palette.
PcxBlock CLogoFmtHandler::GetPcxBlock(std::int32_t nIndex) {
    if (!IsLoaded()) {
        return PcxBlock{m_abScratch, 0};
    }
    const auto w = static_cast<std::uint32_t>(GetWidth());
    const auto h = static_cast<std::uint32_t>(GetHeight());
    if (nIndex < 0) {
        std::uint8_t* s = m_abScratch;
        std::memset(s, 0, LOGO_PCX_HEADER_SIZE);
        s[0] = PCX_MANUFACTURER_ZSOFT;
        s[1] = 5; // version
        s[2] = 1; // run-length encoding
        s[PCX_BIT_COUNT] = 1;
        PutU16(s + PCX_XMIN, 0);
        PutU16(s + PCX_YMIN, 0);
        PutU16(s + PCX_XMAX, w - 1);
        PutU16(s + PCX_YMAX, h - 1);
        PutU16(s + PCX_HRES, PCX_PRINTER_DPI);
        PutU16(s + PCX_VRES, PCX_PRINTER_DPI);
        std::memset(s + PCX_HEADER_PALETTE + 3, 0xFF, 3); // colour 1 white, colour 0 black
        s[PCX_PLANES] = 1;
        PutU16(s + PCX_BYTES_PER_LINE, PcxBytesPerLine(w));
        PutU16(s + PCX_PALETTE_INFO, 1);
        return PcxBlock{m_abScratch, LOGO_PCX_HEADER_SIZE};
    }
    if (static_cast<std::uint32_t>(nIndex) >= h) {
        return PcxBlock{m_abScratch, 0};
    }
    const std::uint8_t* row = m_pPixels + static_cast<std::size_t>(nIndex) * m_nStride;
    return PcxBlock{m_abScratch, EncodeLine(row, PcxBytesPerLine(w))};
}

// Greedy runs of equal bytes, at most 63 long and never past the line's end. A run of more
// than one byte, or a single byte that would read as a run code, takes a count byte.
std::uint32_t CLogoFmtHandler::EncodeLine(const std::uint8_t* pRow, std::uint32_t nBytes) {
    std::uint32_t out = 0;
    std::uint32_t i = 0;
    while (i < nBytes) {
        const std::uint8_t value = pRow[i];
        std::uint32_t run = 1;
        while (i + run < nBytes && run < PCX_MAX_RUN && pRow[i + run] == value) {
            ++run;
        }
        if (run > 1 || value >= PCX_RUN_CODE) {
            m_abScratch[out++] = static_cast<std::uint8_t>(PCX_RUN_CODE + run);
        }
        m_abScratch[out++] = value;
        i += run;
    }
    return out;
}

} // namespace brimwell
