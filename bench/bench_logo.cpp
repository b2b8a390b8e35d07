// The logo holder on the largest inputs it takes: a 360 x 360 BMP at 24 bits and a 360 x 360
// PCX at 8 bits with its trailing table. Each iteration loads (reader, two threshold passes)
// and walks every block of the printer's PCX file, as a send does.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoTestSupport.h"
#include "platform/linux/PosixFileSource.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

using namespace brimwell;
using namespace brimwell::test;

// A picture with both broad areas and fine detail, so the encoder meets long runs and single
// bytes alike.
std::uint8_t Shade(int x, int y) {
    const int circle = (x - 180) * (x - 180) + (y - 180) * (y - 180) < 140 * 140 ? 200 : 40;
    return static_cast<std::uint8_t>((circle + (x * 7 + y * 13) % 50) & 0xFF);
}

Bytes Bmp24() {
    BmpDesc s;
    s.width = 360;
    s.height = 360;
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 360; ++x) {
            const std::uint32_t v = Shade(x, y);
            s.pixels.push_back(v << 16 | (255 - v) << 8 | (v / 2));
        }
    }
    return MakeBmp(s);
}

Bytes Pcx8() {
    std::vector<Bytes> lines(360, Bytes(360));
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 360; ++x) {
            lines[y][x] = Shade(x, y);
        }
    }
    std::vector<Rgb> table(256);
    for (int i = 0; i < 256; ++i) {
        table[i] = Rgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                       static_cast<std::uint8_t>(i / 3)};
    }
    return MakePcx(360, 8, lines, &table);
}

std::uint32_t WalkBlocks(CLogoFmtHandler& h) {
    std::uint32_t total = 0;
    for (std::int32_t i = -1;; ++i) {
        const PcxBlock b = h.GetPcxBlock(i);
        if (b.size == 0) {
            return total;
        }
        total += b.size;
        benchmark::DoNotOptimize(b.data);
    }
}

void LoadAndWalk(benchmark::State& state, const Bytes& file) {
    fake::MemoryFileSource none;
    CLogoFmtHandler h(none);
    for (auto _ : state) {
        h.LoadBytes(file.data(), file.size());
        if (!h.IsLoaded()) {
            state.SkipWithError("the file did not load");
            return;
        }
        benchmark::DoNotOptimize(WalkBlocks(h));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

// The same from a file on disk: open, size, one read, decode, walk.
void LoadFileAndWalk(benchmark::State& state, const Bytes& file) {
    char path[] = "/tmp/bench-logo-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0 || ::write(fd, file.data(), file.size()) != static_cast<ssize_t>(file.size())) {
        state.SkipWithError("cannot write the input file");
        return;
    }
    ::close(fd);
    PosixFileSource files;
    CLogoFmtHandler h(files);
    for (auto _ : state) {
        h.LoadFile(path);
        benchmark::DoNotOptimize(WalkBlocks(h));
    }
    ::unlink(path);
    if (!h.IsLoaded()) {
        state.SkipWithError("the file did not load");
    }
}

void BM_Bmp24_360_LoadThresholdWalk(benchmark::State& state) {
    static const Bytes file = Bmp24();
    LoadAndWalk(state, file);
}
void BM_Pcx8Table_360_LoadThresholdWalk(benchmark::State& state) {
    static const Bytes file = Pcx8();
    LoadAndWalk(state, file);
}
void BM_Bmp24_360_FromDisk(benchmark::State& state) {
    static const Bytes file = Bmp24();
    LoadFileAndWalk(state, file);
}
void BM_Pcx8Table_360_FromDisk(benchmark::State& state) {
    static const Bytes file = Pcx8();
    LoadFileAndWalk(state, file);
}
void BM_Rotate_360(benchmark::State& state) {
    static const Bytes file = Bmp24();
    fake::MemoryFileSource none;
    CLogoFmtHandler h(none);
    h.LoadBytes(file.data(), file.size());
    for (auto _ : state) {
        h.Rotate();
    }
}

BENCHMARK(BM_Bmp24_360_LoadThresholdWalk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pcx8Table_360_LoadThresholdWalk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Bmp24_360_FromDisk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pcx8Table_360_FromDisk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rotate_360)->Unit(benchmark::kMicrosecond);

} // namespace
