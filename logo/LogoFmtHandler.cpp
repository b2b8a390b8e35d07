#include "logo/LogoFmtHandler.h"

#include "logo/BmpReader.h"
#include "logo/PcxEncoder.h"
#include "logo/PcxReader.h"
#include "resources/StringTable.h"

#include <cstring>
#include <limits>

namespace brimwell {

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
    return (b & LogoPixelMask(static_cast<std::uint32_t>(x))) != 0;
}

// Sizes the image for width x height, all black. The buffer only grows; a clear (0 x 0)
// always fails and keeps the buffer for the next image.
bool CLogoFmtHandler::AllocImage(std::uint32_t nWidth, std::uint32_t nHeight) {
    const std::uint64_t stride = LogoImageStride(nWidth);
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
    SetStatus(Read(format, pData, nSize));
}

// The content, never the file name, picks the reader: "BM" for a BMP, 0x0A for a PCX.
void CLogoFmtHandler::Decode(const std::uint8_t* pData, std::size_t nSize) {
    if (IsBmpFile(pData, nSize)) {
        SetStatus(Read(LogoFormat::Bmp, pData, nSize));
    } else if (IsPcxFile(pData, nSize)) {
        SetStatus(Read(LogoFormat::Pcx, pData, nSize));
    } else {
        SetStatus(LOGO_NOT_COMPATIBLE);
    }
}

LogoStatus CLogoFmtHandler::Read(LogoFormat format, const std::uint8_t* pData, std::size_t nSize) {
    return format == LogoFormat::Bmp ? ReadBmpLogo(pData, nSize, *this)
                                     : ReadPcxLogo(pData, nSize, *this);
}

LogoRows CLogoFmtHandler::Resize(std::uint32_t nWidth, std::uint32_t nHeight) {
    if (!AllocImage(nWidth, nHeight)) {
        return LogoRows{nullptr, 0, 0, 0};
    }
    return LogoRows{m_pPixels, m_nStride, nWidth, nHeight};
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
    if (!GrowBuffer(LogoImageStride(h) * w)) {
        std::free(copy);
        return false;
    }
    AllocImage(h, w); // fits the buffer now, so it cannot fail
    // New pixel (x', y') is old pixel (y', h - 1 - x'): the old top row becomes the right-most
    // column.
    for (std::uint32_t y = 0; y < h; ++y) {
        const std::uint8_t* row = copy + y * oldStride;
        const std::uint32_t nx = h - 1 - y;
        const std::uint8_t bit = LogoPixelMask(nx);
        for (std::uint32_t x = 0; x < w; ++x) {
            if (row[x / 8] & LogoPixelMask(x)) {
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

PcxBlock CLogoFmtHandler::GetPcxBlock(std::int32_t nIndex) {
    if (!IsLoaded()) {
        return PcxBlock{m_abScratch, 0};
    }
    const auto w = static_cast<std::uint32_t>(GetWidth());
    const auto h = static_cast<std::uint32_t>(GetHeight());
    if (nIndex < 0) {
        WritePcxHeader(w, h, m_abScratch);
        return PcxBlock{m_abScratch, LOGO_PCX_HEADER_SIZE};
    }
    if (static_cast<std::uint32_t>(nIndex) >= h) {
        return PcxBlock{m_abScratch, 0};
    }
    const std::uint8_t* row = m_pPixels + static_cast<std::size_t>(nIndex) * m_nStride;
    return PcxBlock{m_abScratch, EncodePcxLine(row, PcxBytesPerLine(w), m_abScratch)};
}

} // namespace brimwell
