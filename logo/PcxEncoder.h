#pragma once
#include "logo/LogoCodec.h"

#include <cstdint>

namespace brimwell {

// The printer's logo file: a ZSoft PCX of version 5, one plane of one bit, run-length encoded,
// 200 dpi, black and white in the header palette, lines of an even byte count, no trailing
// palette. The one-bit image's rows are its lines as they are.

// Bytes of a line in the printer's PCX file: always even.
inline constexpr std::uint32_t PcxBytesPerLine(std::uint32_t width) {
    return 2 * ((width + 15) / 16);
}
// The longest encoded line (every byte a single code of 0xC0 or above) fits a buffer of the
// header's size.
static_assert(2 * PcxBytesPerLine(LOGO_MAX_SIDE) <= LOGO_PCX_HEADER_SIZE,
              "an encoded line must fit the encoding scratch");

// Writes the file's header for a width x height image into `out`.
void WritePcxHeader(std::uint32_t width, std::uint32_t height,
                    std::uint8_t (&out)[LOGO_PCX_HEADER_SIZE]);

// Encodes the first nBytes bytes of a row into `out`, which holds at least 2 x nBytes bytes;
// returns the count written.
std::uint32_t EncodePcxLine(const std::uint8_t* pRow, std::uint32_t nBytes, std::uint8_t* out);

} // namespace brimwell
