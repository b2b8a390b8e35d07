#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace brimwell {

// An open file being read (a logo picture, a firmware update file). Closing is destruction, so
// every path out of a load closes it.
class IReadableFile {
public:
    virtual ~IReadableFile() = default;
    // The file's size in bytes; false when it cannot be had.
    virtual bool QuerySize(std::uint64_t* pSize) = 0;
    // One read request for `length` bytes from the start of the file. False when the read
    // failed; *pRead receives how many bytes arrived (a short count is the caller's to judge).
    virtual bool Read(std::uint8_t* pBuffer, std::uint32_t length, std::uint32_t* pRead) = 0;
};

// Opens user files for reading: the one place where the logo holder and the firmware page
// touch the file system.
class IFileSource {
public:
    virtual ~IFileSource() = default;
    // nullptr when the path cannot be opened for reading (or names nothing readable as a
    // file).
    virtual std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) = 0;
    // True when the path names a regular file at this moment (links followed). Nothing is
    // opened: this is the look a page takes at every keystroke of a path.
    virtual bool IsRegularFile(const std::string& path) = 0;
    // The system's own words for why the last OpenForRead, or a Read of the file it opened,
    // failed ("No such file or directory"); empty when the system gave none.
    virtual std::string LastFailureReason() const { return {}; }
};

} // namespace brimwell
