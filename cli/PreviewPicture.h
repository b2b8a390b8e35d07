#pragma once
#include "logo/LogoFmtHandler.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brimwell::cli {

// The label preview of `logo` as the logo page shows it (PREVIEW_WIDTH x PREVIEW_HEIGHT, the
// status message when no logo is loaded), encoded as a PNG file's bytes. Drawn with QtGui on
// Linux and with GDI, encoded by the Windows Imaging Component, on Windows: one source file
// per system. Empty, with the system's words in *reason, when it cannot be made.
std::vector<std::uint8_t> LabelPreviewPng(const CLogoFmtHandler& logo, std::string* reason);

} // namespace brimwell::cli
