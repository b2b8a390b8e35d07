#pragma once
#include "platform/FileSource.h"
#include "text/Translate.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brimwell {

// An update file is the printer's store command around a BASIC program: the header line, the
// program, then "EOP" and "MOVE". Its size is judged on the raw file, before any filtering:
// anything shorter than 30 bytes cannot hold the frame with line ends, and 128 KiB bounds the
// one block the whole file is read into.
inline constexpr std::uint32_t FIRMWARE_MIN_FILE_SIZE = 30;
inline constexpr std::uint32_t FIRMWARE_MAX_FILE_SIZE = 131072;

// The frame lines, compared exactly and case-sensitively.
inline constexpr std::string_view kFirmwareHeader = "DOWNLOAD \"AUTO.BAS\"";
inline constexpr std::string_view kFirmwareEnd = "EOP";
inline constexpr std::string_view kFirmwareMove = "MOVE";

// What precedes the filtered content in the job: a line end, the file-store word and three
// line ends (15 bytes).
inline constexpr std::string_view kFirmwarePreamble = "\r\nQVX5930\r\n\r\n\r\n";

// The firmware page's own messages (error icon); "%s" is the file's path.
inline constexpr const char* kMsgFirmwareCantOpen = N_("Can't open '%s'!");
inline constexpr const char* kMsgFirmwareBadSize = N_("Invalid firmware update file size!");
inline constexpr const char* kMsgFirmwareReadError = N_("Error reading firmware update file!");
inline constexpr const char* kMsgFirmwareInvalid =
    N_("The file '%s' does not appear to be a valid Brimwell firmware update file.\r\n\r\nSee "
       "'Help : Updating Firmware' for further information.");

// How reading an update file ended, in the order the steps run.
enum class FirmwareStatus { Ok, OpenFailed, BadSize, ReadFailed, Invalid };

// The message shown for a status other than Ok, with the path put in; "" for Ok.
std::string FirmwareStatusMessage(FirmwareStatus status, const std::string& path);

// True for a raw file size from 30 to 131072 bytes.
bool IsFirmwareSizeAcceptable(std::uint64_t size);

// Filters the raw bytes of an update file and checks its frame, in one pass. A line ends at
// every CR and at every LF; trailing spaces and tabs are trimmed; empty lines and lines
// starting with "*" are dropped. The first retained line must be the header, the last two
// "EOP" and "MOVE", and "EOP" stands nowhere else. Every retained line goes to *pContent
// followed by CR LF, cut at its first NUL byte; a program line that the cut would turn into
// "EOP" rejects the file. Returns false, with *pContent empty, when the file is rejected.
// *pContent is sized once, for the largest possible result: no allocation per line.
bool FilterFirmware(const std::uint8_t* pData, std::size_t nSize, std::string* pContent);

// The job: the preamble, then the filtered content.
std::string FirmwareJob(std::string_view content);

// Opens, sizes, reads (one whole-file read into one block) and filters an update file: the
// steps the page runs when Send is pressed and the command-line companion runs for
// `firmware FILE`. The file is closed and the block released before this returns.
struct FirmwareFile {
    FirmwareStatus status = FirmwareStatus::OpenFailed;
    std::string content; // the filtered content when status is Ok
};
FirmwareFile ReadFirmwareFile(IFileSource& files, const std::string& path);

} // namespace brimwell
