#pragma once
#include "logo/LogoFmtHandler.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace brimwell {

// Which logo a page or command stores: the printer's label program prints "LOGO1.PCX" on pass
// labels and "FAIL.PCX" on fail labels.
enum class LogoKind { Pass, Fail };

const char* LogoPrinterFileName(LogoKind kind);

// Receives the bytes of a job or file in order; false stops the assembly.
using LogoByteSink = std::function<bool(const std::uint8_t* data, std::uint32_t size)>;

// Size of the printer's PCX file for the holder's image: the header and every encoded line.
// 0 when no logo is loaded.
std::uint32_t LogoPcxFileSize(CLogoFmtHandler& logo);

// The printer's PCX file, block by block (header, then one block per line). False when no
// logo is loaded or the sink refused a block.
bool WriteLogoPcxFile(CLogoFmtHandler& logo, const LogoByteSink& sink);

// The whole store job: the file-store preamble, DOWNLOAD "<name>",<size>, the PCX file and
// the MOVE line that closes the store. False when no logo is loaded or the sink refused.
bool WriteLogoJob(CLogoFmtHandler& logo, LogoKind kind, const LogoByteSink& sink);

// The same, collected in memory; empty when no logo is loaded.
std::vector<std::uint8_t> BuildLogoPcxFile(CLogoFmtHandler& logo);
std::vector<std::uint8_t> BuildLogoJob(CLogoFmtHandler& logo, LogoKind kind);

} // namespace brimwell
