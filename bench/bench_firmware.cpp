// The firmware filter on the largest file the page accepts (128 KiB), once of short program
// lines and once of long ones: the single pass over the bytes, with the one reservation of
// the content.
#include "maintenance/FirmwareFilter.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace brimwell;

// A valid update file of exactly 131072 bytes: header, program lines of about lineLength
// bytes (with trailing blanks, a comment now and then, LF endings), "EOP", "MOVE", and a
// blank tail that makes up the size.
std::vector<std::uint8_t> UpdateFile(std::size_t lineLength) {
    std::string file = std::string(kFirmwareHeader) + "\r\n";
    const std::string tail = "EOP\r\nMOVE\r\n";
    for (int n = 10; file.size() + lineLength + 1 + tail.size() < 131072; n += 10) {
        std::string line = std::to_string(n) + (n % 70 == 0 ? " REM " : " PRINT \"");
        line.resize(lineLength - 3, 'x');
        line += n % 30 == 0 ? "\" \t" : "\"  ";
        if (n % 110 == 0) {
            line[0] = '*';
        }
        file += line + "\n";
    }
    file += tail;
    file.resize(131072, ' ');
    return std::vector<std::uint8_t>(file.begin(), file.end());
}

void Filter(benchmark::State& state, std::size_t lineLength) {
    const std::vector<std::uint8_t> file = UpdateFile(lineLength);
    std::string content;
    if (!FilterFirmware(file.data(), file.size(), &content)) {
        state.SkipWithError("the file was rejected");
        return;
    }
    for (auto _ : state) {
        std::string out;
        benchmark::DoNotOptimize(FilterFirmware(file.data(), file.size(), &out));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
    state.counters["lines"] = static_cast<double>(file.size() / (lineLength + 1));
}

void BM_FirmwareFilterShortLines(benchmark::State& state) {
    Filter(state, 16);
}
void BM_FirmwareFilterLongLines(benchmark::State& state) {
    Filter(state, 2000);
}
BENCHMARK(BM_FirmwareFilterShortLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirmwareFilterLongLines)->Unit(benchmark::kMicrosecond);

} // namespace
