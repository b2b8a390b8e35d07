#pragma once
#include <string>

namespace brimwell {

// Which document a text page shows (its page argument).
inline constexpr int TEXT_INFO_ABOUT = 0;
inline constexpr int TEXT_INFO_CONNECTING = 1;
inline constexpr int TEXT_INFO_FIRMWARE = 2;
inline constexpr int TEXT_INFO_LOGOS = 3;
inline constexpr int TEXT_INFO_COUNT = 4;

// The system a "Connecting a Printer" document speaks of.
enum class ConnectingSystem { Linux, Windows };

// The four documents of the text pages as 8-bit RTF (Windows-1252, other characters as \uN),
// made from their paragraphs in the current language: the paragraphs are the catalogue's
// entries, so translators never see RTF. Words between <b> and </b> in a paragraph are bold.
std::string AboutRtf();
// "Connecting a Printer": two paragraphs every system shares, then the system's own (device
// node, udev rule and group on Linux; Windows' USB printer driver, Device Manager and
// `brimwell-cli doctor` on Windows).
std::string ConnectingRtf(ConnectingSystem system);
std::string FirmwareRtf();
std::string LogosRtf();

// The system the program is built for (a per-system source).
ConnectingSystem ThisSystem();

// The document of a text index in the current language, for this system; the empty document
// for an index outside 0 to 3. The text stays valid to the end of the program.
const char* TextInfoRtf(int nTextIndex);

} // namespace brimwell
