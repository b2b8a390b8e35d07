#pragma once

namespace brimwell {

// Which document a text page shows (its page argument).
inline constexpr int TEXT_INFO_ABOUT = 0;
inline constexpr int TEXT_INFO_CONNECTING = 1;
inline constexpr int TEXT_INFO_FIRMWARE = 2;
inline constexpr int TEXT_INFO_LOGOS = 3;
inline constexpr int TEXT_INFO_COUNT = 4;

// The four documents of the text pages: 8-bit RTF (Windows-1252), zero-terminated.
extern const char kAboutRtf[];
// "Connecting a Printer" as each system has it: two shared paragraphs, then the system's own
// (device node, udev rule and group on Linux; Windows' USB printer driver, Device Manager and
// `brimwell-cli doctor` on Windows).
extern const char kConnectingLinuxRtf[];
extern const char kConnectingWindowsRtf[];
// The one of the two for the system the program is built for (a per-system source).
const char* ConnectingRtf();
extern const char kFirmwareRtf[];
extern const char kLogosRtf[];

// The document of a text index; the empty document for an index outside 0 to 3.
const char* TextInfoRtf(int nTextIndex);

} // namespace brimwell
