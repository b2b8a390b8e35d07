#pragma once
#include "logo/LogoCodec.h"
#include "platform/FileSource.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "The bitmap header record is laid out for a little-endian machine"
#endif

namespace brimwell {

// The message text of a status ("" for a value that has none).
const char* LogoStatusMessage(LogoStatus status);

// The device-independent bitmap description that draws the one-bit image, laid out byte for
// byte like the Windows BITMAPINFO with a two-entry colour table (fields little-endian).
struct LogoBitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight; // negative: rows stored top-down
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
struct LogoRgbQuad {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};
struct LogoBitmapInfo {
    LogoBitmapInfoHeader bmiHeader;
    LogoRgbQuad bmiColors[2]; // 0 black, 1 white
};
static_assert(sizeof(LogoBitmapInfoHeader) == 40, "BITMAPINFOHEADER is 40 bytes");
static_assert(sizeof(LogoBitmapInfo) == 48, "BITMAPINFO with two colours is 48 bytes");

// Which reader LoadAs applies.
enum class LogoFormat { Bmp, Pcx };

// One block of the printer's PCX file: the header or one encoded line. The bytes live in the
// holder and stay valid until the next call.
struct PcxBlock {
    const std::uint8_t* data;
    std::uint32_t size;
};

// The logo holder: keeps the one-bit image (logo/LogoCodec.h) that the BMP or PCX reader made
// of a logo file, and the status of that load; turns and inverts the image, and hands it to the
// PCX encoder block by block as the printer's file. The status says why a load failed.
class CLogoFmtHandler : private ILogoCanvas {
public:
    // Every buffer the holder obtains comes from `allocate` and goes back with std::free.
    using Allocator = void* (*)(std::size_t);

    explicit CLogoFmtHandler(IFileSource& files, Allocator allocate = &std::malloc);
    virtual ~CLogoFmtHandler();
    CLogoFmtHandler(const CLogoFmtHandler&) = delete;
    CLogoFmtHandler& operator=(const CLogoFmtHandler&) = delete;

    // Loads a logo file (UTF-8 path, possibly empty). Afterwards the status tells the outcome;
    // the image is the file's (LOGO_LOADED_OK) or cleared (anything else).
    void LoadFile(const std::string& path);
    // The same for a file already in memory: the size limits, then the reader that the first
    // bytes choose.
    void LoadBytes(const std::uint8_t* pData, std::size_t nSize);
    // Runs one reader whatever the first bytes are and without the file-size limits, and sets
    // the status as a load does. Lets tests and the fuzzer drive each reader over any bytes.
    void LoadAs(LogoFormat format, const std::uint8_t* pData, std::size_t nSize);

    // Turns the image 90 degrees clockwise. False (and nothing changed) when no logo is
    // loaded or the memory for the turn cannot be had.
    bool Rotate();
    // Swaps black and white in every byte of the rows, padding included.
    void Invert();
    // Block -1 (any negative index) is the 128-byte header, block i the encoded image row i;
    // an index of height or more, or no loaded logo, gives a size of 0.
    PcxBlock GetPcxBlock(std::int32_t nIndex);

    LogoStatus GetStatus() const { return m_nStatus; }
    bool IsLoaded() const { return m_nStatus == LOGO_LOADED_OK; }
    std::int32_t GetWidth() const { return m_bmi.bmiHeader.biWidth; }
    std::int32_t GetHeight() const { return -m_bmi.bmiHeader.biHeight; }
    std::uint32_t GetStride() const { return m_nStride; }
    std::uint32_t GetCapacity() const { return m_nCapacity; }
    const std::uint8_t* GetPixels() const { return m_pPixels; }
    const LogoBitmapInfo& GetBitmapInfo() const { return m_bmi; }
    // The pixel at x, y: true for white. Outside the image: false.
    bool GetPixel(std::int32_t x, std::int32_t y) const;

private:
    // The readers' canvas: the image sized for their picture, all black.
    LogoRows Resize(std::uint32_t nWidth, std::uint32_t nHeight) override;
    bool AllocImage(std::uint32_t nWidth, std::uint32_t nHeight);
    bool GrowBuffer(std::uint64_t nSize);
    void Decode(const std::uint8_t* pData, std::size_t nSize);
    void SetStatus(LogoStatus status);
    LogoStatus Read(LogoFormat format, const std::uint8_t* pData, std::size_t nSize);

    LogoStatus m_nStatus = LOGO_NO_FILE;
    LogoBitmapInfo m_bmi{};
    std::uint32_t m_nStride = 0;
    std::uint32_t m_nCapacity = 0;
    std::uint8_t* m_pPixels = nullptr;
    std::uint8_t m_abScratch[LOGO_PCX_HEADER_SIZE] = {};
    IFileSource& m_files;
    Allocator m_allocate;
};

} // namespace brimwell
