#pragma once
// The ZSoft PCX layout the PCX reader and the PCX encoder share: a 128-byte header of
// little-endian fields, then run-length encoded lines.
#include "logo/LogoCodec.h"

#include <cstddef>
#include <cstdint>

namespace brimwell {

// Header fields, by offset.
inline constexpr std::size_t PCX_MANUFACTURER = 0;
inline constexpr std::size_t PCX_VERSION = 1;
inline constexpr std::size_t PCX_ENCODING = 2;
inline constexpr std::size_t PCX_BIT_COUNT = 3;
inline constexpr std::size_t PCX_XMIN = 4;
inline constexpr std::size_t PCX_YMIN = 6;
inline constexpr std::size_t PCX_XMAX = 8;
inline constexpr std::size_t PCX_YMAX = 10;
inline constexpr std::size_t PCX_HRES = 12;
inline constexpr std::size_t PCX_VRES = 14;
inline constexpr std::size_t PCX_HEADER_PALETTE = 16; // 16 entries of red, green, blue
inline constexpr std::size_t PCX_PLANES = 65;
inline constexpr std::size_t PCX_BYTES_PER_LINE = 66;
inline constexpr std::size_t PCX_PALETTE_INFO = 68;
// The lines follow the header.
inline constexpr std::size_t PCX_DATA = LOGO_PCX_HEADER_SIZE;

// The first byte of every PCX file.
inline constexpr std::uint8_t PCX_MANUFACTURER_ZSOFT = 0x0A;
// Line codes from here on announce a run: the low six bits count it, the next byte repeats.
inline constexpr std::uint8_t PCX_RUN_CODE = 0xC0;

} // namespace brimwell
