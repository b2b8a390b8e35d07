#include "maintenance/FirmwareFilter.h"

#include "printer/PrinterJob.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace brimwell {
namespace {

// Where the frame check stands after the retained lines seen so far.
enum class FrameState { ExpectingHeader, InProgram, AfterEop, Complete };

bool IsBlank(std::uint8_t c) {
    return c == ' ' || c == '\t';
}

std::string_view View(const std::uint8_t* p, std::size_t n) {
    return std::string_view(reinterpret_cast<const char*>(p), n);
}

// The length of line [p, p + n) without its trailing spaces and tabs.
std::size_t TrimmedLength(const std::uint8_t* p, std::size_t n) {
    while (n > 0 && IsBlank(p[n - 1])) {
        --n;
    }
    return n;
}

} // namespace

std::string FirmwareStatusMessage(FirmwareStatus status, const std::string& path) {
    switch (status) {
    case FirmwareStatus::Ok:
        break;
    case FirmwareStatus::OpenFailed:
        return FormatMessage(Tr(kMsgFirmwareCantOpen), path);
    case FirmwareStatus::BadSize:
        return Tr(kMsgFirmwareBadSize);
    case FirmwareStatus::ReadFailed:
        return Tr(kMsgFirmwareReadError);
    case FirmwareStatus::Invalid:
        return FormatMessage(Tr(kMsgFirmwareInvalid), path);
    }
    return {};
}

bool IsFirmwareSizeAcceptable(std::uint64_t size) {
    return size >= FIRMWARE_MIN_FILE_SIZE && size <= FIRMWARE_MAX_FILE_SIZE;
}

// One pass over the bytes: each line is found, trimmed, judged and copied where it lies.
// A retained line of n bytes costs at least n + 1 bytes of input (its line end; the last line
// may lack one, but then it is at least one byte) and gives n + 2 bytes of output, so the
// content never exceeds 3/2 of the input plus 2 bytes: it is sized once for that and cut to
// what was written at the end.
bool FilterFirmware(const std::uint8_t* pData, std::size_t nSize, std::string* pContent) {
    pContent->resize(nSize + nSize / 2 + 2);
    char* const first = &(*pContent)[0];
    char* out = first;
    FrameState state = FrameState::ExpectingHeader;
    const std::uint8_t* const end = pData + nSize;
    const std::uint8_t* line = pData;
    // The next LF at or after `line` (end when there is none), looked for again only once
    // passed, so that CR-only files are not searched to the end for every line.
    const std::uint8_t* lf = nullptr;
    while (line < end) {
        if (!lf || lf < line) {
            const void* found = std::memchr(line, '\n', static_cast<std::size_t>(end - line));
            lf = found ? static_cast<const std::uint8_t*>(found) : end;
        }
        const void* cr = std::memchr(line, '\r', static_cast<std::size_t>(lf - line));
        const std::uint8_t* const stop = cr ? static_cast<const std::uint8_t*>(cr) : lf;
        const std::uint8_t* const next = stop < end ? stop + 1 : end;
        const std::size_t length = TrimmedLength(line, static_cast<std::size_t>(stop - line));
        if (length == 0 || line[0] == '*') {
            line = next;
            continue;
        }

        const std::string_view whole = View(line, length);
        switch (state) {
        case FrameState::ExpectingHeader:
            if (whole != kFirmwareHeader) {
                pContent->clear();
                return false;
            }
            state = FrameState::InProgram;
            break;
        case FrameState::InProgram:
            if (whole == kFirmwareEnd) {
                state = FrameState::AfterEop;
            }
            break;
        case FrameState::AfterEop:
            if (whole != kFirmwareMove) {
                pContent->clear();
                return false;
            }
            state = FrameState::Complete;
            break;
        case FrameState::Complete:
            pContent->clear();
            return false;
        }

        // A NUL ends what is sent of the line. A program line cut that way must not come out
        // as "EOP": the printer would end the program there and take the rest as commands,
        // which is just what the frame check is for.
        std::size_t copied = length;
        if (const void* nul = std::memchr(line, 0, length)) {
            copied = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - line);
            if (state == FrameState::InProgram &&
                View(line, TrimmedLength(line, copied)) == kFirmwareEnd) {
                pContent->clear();
                return false;
            }
        }
        std::memcpy(out, line, copied);
        out += copied;
        *out++ = '\r';
        *out++ = '\n';
        line = next;
    }
    pContent->resize(static_cast<std::size_t>(out - first));
    if (state != FrameState::Complete) {
        pContent->clear();
        return false;
    }
    return true;
}

std::string FirmwareJob(std::string_view content) {
    std::string job;
    job.reserve(kFirmwarePreamble.size() + content.size());
    job.append(kFirmwarePreamble);
    job.append(content);
    return job;
}

FirmwareFile ReadFirmwareFile(IFileSource& files, const std::string& path) {
    FirmwareFile result;
    const std::unique_ptr<IReadableFile> file = files.OpenForRead(path);
    if (!file) {
        result.status = FirmwareStatus::OpenFailed;
        return result;
    }
    std::uint64_t size = 0;
    if (!file->QuerySize(&size) || !IsFirmwareSizeAcceptable(size)) {
        result.status = FirmwareStatus::BadSize;
        return result;
    }
    // One block of exactly the file's size, released on every way out.
    const std::unique_ptr<std::uint8_t, decltype(&std::free)> block(
        static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(size))), &std::free);
    const auto length = static_cast<std::uint32_t>(size);
    std::uint32_t read = 0;
    if (!block || !file->Read(block.get(), length, &read) || read != length) {
        result.status = FirmwareStatus::ReadFailed;
        return result;
    }
    result.status = FilterFirmware(block.get(), length, &result.content) ? FirmwareStatus::Ok
                                                                         : FirmwareStatus::Invalid;
    if (result.status != FirmwareStatus::Ok) {
        result.content.clear();
    }
    return result;
}

} // namespace brimwell
