#pragma once
// What the logo readers, the PCX encoder and the logo holder share: the load statuses, the size
// limits, the one-bit image the readers fill, the thresholding of a picture to black and white,
// and the little-endian fields both file formats are made of.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace brimwell {

// Outcome of the last load. The message of each value is string table entry 200 + value.
using LogoStatus = std::int32_t;
inline constexpr LogoStatus LOGO_NO_FILE = 0;
inline constexpr LogoStatus LOGO_OPEN_FAILED = 1;
inline constexpr LogoStatus LOGO_READ_FAILED = 2;
inline constexpr LogoStatus LOGO_NOT_COMPATIBLE = 3;
inline constexpr LogoStatus LOGO_TOO_LARGE = 4;
inline constexpr LogoStatus LOGO_NO_MEMORY = 5;
inline constexpr LogoStatus LOGO_LOADED_OK = 6;

// The largest logo the printer takes, in pixels either way.
inline constexpr std::int32_t LOGO_MAX_SIDE = 360;
// Logo files are read whole; anything outside these sizes is no logo file.
inline constexpr std::uint64_t LOGO_MIN_FILE_SIZE = 128;
inline constexpr std::uint64_t LOGO_MAX_FILE_SIZE = 1048576;
// Size of the printer file's header, and of the encoding scratch that holds it or one line.
inline constexpr std::uint32_t LOGO_PCX_HEADER_SIZE = 128;

// The one-bit image: rows top-down, each padded to whole 32-bit words, the most significant
// bit of a byte leftmost, 1 = white.
inline constexpr std::uint64_t LogoImageStride(std::uint64_t width) {
    return 4 * ((width + 31) / 32);
}
// The bit of pixel x within its byte, x / 8, of the row.
inline constexpr std::uint8_t LogoPixelMask(std::uint32_t x) {
    return static_cast<std::uint8_t>(0x80u >> (x % 8));
}

// The rows a reader fills, all black when handed over.
struct LogoRows {
    std::uint8_t* pixels;
    std::uint32_t stride;
    std::uint32_t width;
    std::uint32_t height;
};

// Where a reader puts its picture. A reader asks once, after the headers have passed its
// checks, with the picture's size (1 to LOGO_MAX_SIDE either way); pixels is null when the
// memory cannot be had.
class ILogoCanvas {
public:
    virtual LogoRows Resize(std::uint32_t width, std::uint32_t height) = 0;

protected:
    ~ILogoCanvas() = default;
};

// Brightness is the sum of red, green and blue: 0 (black) to this (white).
inline constexpr std::uint32_t LOGO_WHITE_BRIGHTNESS = 3 * 255;

// Sets the image bits from the brightness of every pixel the file supplies: the mean over the
// whole picture is the threshold, and a pixel at or above it is white. `walk` calls its visitor
// with x, y and brightness, in the same order on both passes.
template <typename PixelWalk>
void ThresholdLogo(const LogoRows& image, const PixelWalk& walk) {
    std::uint64_t total = 0;
    walk([&total](std::uint32_t, std::uint32_t, std::uint32_t brightness) { total += brightness; });
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(image.height);
    // An all-black picture (mean 0) stays black rather than turning all white.
    const std::uint64_t threshold = std::max<std::uint64_t>(total / pixels, 1);
    std::uint8_t* const pixelsOut = image.pixels;
    const std::size_t stride = image.stride;
    walk([=](std::uint32_t x, std::uint32_t y, std::uint32_t brightness) {
        if (brightness >= threshold) {
            pixelsOut[y * stride + x / 8] |= LogoPixelMask(x);
        }
    });
}

// Little-endian fields. Callers have checked that the bytes lie inside the file.
inline std::uint16_t LogoLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LogoLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t LogoLeS32(const std::uint8_t* p) {
    const std::uint32_t u = LogoLe32(p);
    std::int32_t s;
    std::memcpy(&s, &u, sizeof s);
    return s;
}
inline void LogoPutLe16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

} // namespace brimwell
