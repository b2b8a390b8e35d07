#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace brimwell {

// An open logo file. Closing is destruction, so every path out of a load closes it.
class ILogoFile {
public:
    virtual ~ILogoFile() = default;
    // The file's size in bytes; false when it cannot be had.
    virtual bool QuerySize(std::uint64_t* pSize) = 0;
    // One read request for `length` bytes from the start of the file. False when the read
    // failed; *pRead receives how many bytes arrived (a short count is the caller's to judge).
    virtual bool Read(std::uint8_t* pBuffer, std::uint32_t length, std::uint32_t* pRead) = 0;
};

// Opens logo files for reading: the one place where the logo holder touches the file system.
class ILogoFileSource {
public:
    virtual ~ILogoFileSource() = default;
    // nullptr when the path cannot be opened for reading (or names nothing readable as a
    // file).
    virtual std::unique_ptr<ILogoFile> OpenForRead(const std::string& path) = 0;
};

} // namespace brimwell
