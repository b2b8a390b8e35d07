// Fuzz target of the logo holder: any bytes go through both readers and the loader's own
// choice; every image that loads is turned, inverted and encoded, and must keep its
// invariants. A broken invariant aborts, so libFuzzer keeps the input.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoJob.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace brimwell;

class NoFiles : public IFileSource {
public:
    std::unique_ptr<IReadableFile> OpenForRead(const std::string&) override { return nullptr; }
    bool IsRegularFile(const std::string&) override { return false; }
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::uint8_t> Snapshot(const CLogoFmtHandler& h) {
    const std::uint8_t* p = h.GetPixels();
    return std::vector<std::uint8_t>(p, p + static_cast<std::size_t>(h.GetStride()) *
                                                static_cast<std::size_t>(h.GetHeight()));
}

// Walks every block and checks the file's shape: a 128-byte header, one block of 1 to
// 2 x bytes-per-line bytes per row, then nothing.
void WalkBlocks(CLogoFmtHandler& h) {
    Check(h.GetPcxBlock(-1).size == LOGO_PCX_HEADER_SIZE);
    const std::uint32_t bytesPerLine = 2 * ((static_cast<std::uint32_t>(h.GetWidth()) + 15) / 16);
    for (std::int32_t y = 0; y < h.GetHeight(); ++y) {
        const PcxBlock line = h.GetPcxBlock(y);
        Check(line.size >= 1 && line.size <= 2 * bytesPerLine);
    }
    Check(h.GetPcxBlock(h.GetHeight()).size == 0);
}

void Exercise(CLogoFmtHandler& h, CLogoFmtHandler& reread) {
    if (!h.IsLoaded()) {
        Check(h.GetWidth() == 0 && h.GetHeight() == 0 && h.GetStride() == 0);
        Check(h.GetPcxBlock(-1).size == 0);
        Check(!h.Rotate());
        return;
    }
    Check(h.GetWidth() >= 1 && h.GetWidth() <= LOGO_MAX_SIDE);
    Check(h.GetHeight() >= 1 && h.GetHeight() <= LOGO_MAX_SIDE);
    Check(h.GetStride() == 4 * ((static_cast<std::uint32_t>(h.GetWidth()) + 31) / 32));
    // The bits past the width are 0 after a load.
    for (std::int32_t y = 0; y < h.GetHeight(); ++y) {
        for (std::int32_t x = h.GetWidth(); x < static_cast<std::int32_t>(h.GetStride() * 8); ++x) {
            const std::uint8_t byte =
                h.GetPixels()[static_cast<std::size_t>(y) * h.GetStride() + x / 8];
            Check(((byte >> (7 - x % 8)) & 1) == 0);
        }
    }
    WalkBlocks(h);

    // The printer's file reads back as the same picture.
    const std::vector<std::uint8_t> pcx = BuildLogoPcxFile(h);
    Check(pcx.size() == LogoPcxFileSize(h));
    reread.LoadAs(LogoFormat::Pcx, pcx.data(), pcx.size());
    Check(reread.IsLoaded() && reread.GetWidth() == h.GetWidth() &&
          reread.GetHeight() == h.GetHeight());
    for (std::int32_t y = 0; y < h.GetHeight(); ++y) {
        for (std::int32_t x = 0; x < h.GetWidth(); ++x) {
            Check(reread.GetPixel(x, y) == h.GetPixel(x, y));
        }
    }

    // Four turns and two inversions give the image back.
    const std::vector<std::uint8_t> before = Snapshot(h);
    for (int i = 0; i < 4; ++i) {
        Check(h.Rotate());
        WalkBlocks(h);
    }
    Check(Snapshot(h) == before);
    h.Invert();
    WalkBlocks(h);
    h.Invert();
    Check(Snapshot(h) == before);
    Check(!BuildLogoJob(h, LogoKind::Fail).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NoFiles files;
    // One holder for all three loads, so that buffer reuse between images is exercised too.
    CLogoFmtHandler h(files);
    CLogoFmtHandler reread(files);
    h.LoadAs(LogoFormat::Bmp, data, size);
    Exercise(h, reread);
    h.LoadAs(LogoFormat::Pcx, data, size);
    Exercise(h, reread);
    h.LoadBytes(data, size);
    Exercise(h, reread);
    return 0;
}
