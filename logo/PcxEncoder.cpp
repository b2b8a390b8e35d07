#include "logo/PcxEncoder.h"

#include "logo/PcxFormat.h"

#include <cstring>

namespace brimwell {
namespace {

constexpr std::uint8_t PCX_VERSION_5 = 5;
constexpr std::uint8_t PCX_RUN_LENGTH_ENCODED = 1;
constexpr std::uint32_t PCX_PRINTER_DPI = 200;
constexpr std::uint32_t PCX_PALETTE_COLOUR = 1; // the palette info word: colour or black/white
constexpr std::uint32_t PCX_MAX_RUN = 63;       // the low six bits of a run code

} // namespace

void WritePcxHeader(std::uint32_t width, std::uint32_t height,
                    std::uint8_t (&out)[LOGO_PCX_HEADER_SIZE]) {
    std::uint8_t* s = out;
    std::memset(s, 0, LOGO_PCX_HEADER_SIZE);
    s[PCX_MANUFACTURER] = PCX_MANUFACTURER_ZSOFT;
    s[PCX_VERSION] = PCX_VERSION_5;
    s[PCX_ENCODING] = PCX_RUN_LENGTH_ENCODED;
    s[PCX_BIT_COUNT] = 1;
    LogoPutLe16(s + PCX_XMIN, 0);
    LogoPutLe16(s + PCX_YMIN, 0);
    LogoPutLe16(s + PCX_XMAX, width - 1);
    LogoPutLe16(s + PCX_YMAX, height - 1);
    LogoPutLe16(s + PCX_HRES, PCX_PRINTER_DPI);
    LogoPutLe16(s + PCX_VRES, PCX_PRINTER_DPI);
    std::memset(s + PCX_HEADER_PALETTE + 3, 0xFF, 3); // colour 1 white, colour 0 black
    s[PCX_PLANES] = 1;
    LogoPutLe16(s + PCX_BYTES_PER_LINE, PcxBytesPerLine(width));
    LogoPutLe16(s + PCX_PALETTE_INFO, PCX_PALETTE_COLOUR);
}

// Greedy runs of equal bytes, at most 63 long and never past the line's end. A run of more
// than one byte, or a single byte that would read as a run code, takes a count byte.
std::uint32_t EncodePcxLine(const std::uint8_t* pRow, std::uint32_t nBytes, std::uint8_t* out) {
    std::uint32_t n = 0;
    std::uint32_t i = 0;
    while (i < nBytes) {
        const std::uint8_t value = pRow[i];
        std::uint32_t run = 1;
        while (i + run < nBytes && run < PCX_MAX_RUN && pRow[i + run] == value) {
            ++run;
        }
        if (run > 1 || value >= PCX_RUN_CODE) {
            out[n++] = static_cast<std::uint8_t>(PCX_RUN_CODE + run);
        }
        out[n++] = value;
        i += run;
    }
    return n;
}

} // namespace brimwell
