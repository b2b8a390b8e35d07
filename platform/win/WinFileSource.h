#pragma once
#include "platform/FileSource.h"

namespace brimwell {

// Reads user files with the file API. Only files on disk are opened: a directory, a device or
// a pipe fails at once instead of blocking the caller.
class WinFileSource : public IFileSource {
public:
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override;
    bool IsRegularFile(const std::string& path) override;
};

} // namespace brimwell
