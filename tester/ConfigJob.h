#pragma once
#include <string>

namespace brimwell {

// "MODE.MOD" tells the printer's label program which tester's output it will receive: the
// mode character on the first line and, for the one tester type that prints it, the user
// name on the second.
inline constexpr const char* kModePayloadFormat = "%c\r\n%s\r\n";

// The store job for "MODE.MOD": the file-store word with one empty line after it, then the
// counted DOWNLOAD of the payload. The payload ends with CR LF, so "MOVE" follows it
// directly. Arguments: the payload length in bytes, then the payload.
inline constexpr const char* kConfigJobFormat =
    "\r\nQVX5930\r\n\r\nDOWNLOAD \"MODE.MOD\",%d,%sMOVE\r\n";

// The content of "MODE.MOD": the mode character, CR LF, the user-name bytes, CR LF; 5 bytes
// plus the user name. The user name is 8-bit printer text (see UserNameToPrinterBytes),
// empty for every tester type that prints none; it is taken up to its first zero byte, as
// the job's "%s" would take it, so the stated length always matches the bytes sent.
std::string FormatModePayload(char chMode, const std::string& userName);

// The whole configuration job for a mode character and user name.
std::string BuildConfigJob(char chMode, const std::string& userName);

} // namespace brimwell
