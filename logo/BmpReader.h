#pragma once
#include "logo/LogoCodec.h"

#include <cstddef>
#include <cstdint>

namespace brimwell {

// True when the bytes open as a Windows BMP: the letters "BM".
bool IsBmpFile(const std::uint8_t* pData, std::size_t nSize);

// Reads an uncompressed Windows BMP of 1, 4, 8 or 24 bits per pixel, bottom-up or top-down,
// onto `canvas` as black and white. The headers are checked whole, in a fixed order, before the
// canvas is asked for; the first check that fails decides the status. LOGO_LOADED_OK when the
// canvas holds the picture.
LogoStatus ReadBmpLogo(const std::uint8_t* pData, std::size_t nSize, ILogoCanvas& canvas);

} // namespace brimwell
