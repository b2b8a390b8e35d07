#pragma once
#include "logo/LogoCodec.h"

#include <cstddef>
#include <cstdint>

namespace brimwell {

// True when the bytes open as a PCX file: the ZSoft manufacturer byte 0x0A.
bool IsPcxFile(const std::uint8_t* pData, std::size_t nSize);

// Reads a ZSoft PCX of one plane of 1 or 8 bits per pixel onto `canvas` as black and white.
// The header is checked, the canvas asked for, and the structure of every line checked, in
// that order, before any pixel is decoded; the first failure decides the status.
// LOGO_LOADED_OK when the canvas holds the picture.
LogoStatus ReadPcxLogo(const std::uint8_t* pData, std::size_t nSize, ILogoCanvas& canvas);

} // namespace brimwell
