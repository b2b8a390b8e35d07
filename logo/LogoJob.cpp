#include "logo/LogoJob.h"

#include "printer/TextFormat.h"

#include <cstring>

namespace brimwell {
namespace {

// Line end, the printer's file-store word and two empty lines open every store job; the MOVE
// line closes it.
constexpr char kStorePreamble[] = "\r\nQVX5930\r\n\r\n\r\n";
constexpr char kStoreClose[] = "\r\nMOVE\r\n";

bool SendText(const LogoByteSink& sink, const char* text) {
    return sink(reinterpret_cast<const std::uint8_t*>(text),
                static_cast<std::uint32_t>(std::strlen(text)));
}

std::vector<std::uint8_t> Collect(const std::function<bool(const LogoByteSink&)>& produce) {
    std::vector<std::uint8_t> bytes;
    const bool ok = produce([&bytes](const std::uint8_t* data, std::uint32_t size) {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    });
    if (!ok) {
        bytes.clear();
    }
    return bytes;
}

} // namespace

const char* LogoPrinterFileName(LogoKind kind) {
    return kind == LogoKind::Pass ? "LOGO1.PCX" : "FAIL.PCX";
}

std::uint32_t LogoPcxFileSize(CLogoFmtHandler& logo) {
    std::uint32_t total = 0;
    for (std::int32_t i = -1;; ++i) {
        const PcxBlock block = logo.GetPcxBlock(i);
        if (block.size == 0) {
            return total;
        }
        total += block.size;
    }
}

bool WriteLogoPcxFile(CLogoFmtHandler& logo, const LogoByteSink& sink) {
    if (!logo.IsLoaded()) {
        return false;
    }
    for (std::int32_t i = -1;; ++i) {
        const PcxBlock block = logo.GetPcxBlock(i);
        if (block.size == 0) {
            return true;
        }
        if (!sink(block.data, block.size)) {
            return false;
        }
    }
}

bool WriteLogoJob(CLogoFmtHandler& logo, LogoKind kind, const LogoByteSink& sink) {
    if (!logo.IsLoaded()) {
        return false;
    }
    std::string command;
    AppendPrintf(command, "DOWNLOAD \"%s\",%u,", LogoPrinterFileName(kind),
                 static_cast<unsigned>(LogoPcxFileSize(logo)));
    return SendText(sink, kStorePreamble) && SendText(sink, command.c_str()) &&
           WriteLogoPcxFile(logo, sink) && SendText(sink, kStoreClose);
}

std::vector<std::uint8_t> BuildLogoPcxFile(CLogoFmtHandler& logo) {
    return Collect([&logo](const LogoByteSink& sink) { return WriteLogoPcxFile(logo, sink); });
}

std::vector<std::uint8_t> BuildLogoJob(CLogoFmtHandler& logo, LogoKind kind) {
    return Collect(
        [&logo, kind](const LogoByteSink& sink) { return WriteLogoJob(logo, kind, sink); });
}

} // namespace brimwell
