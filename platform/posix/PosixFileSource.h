#pragma once
#include "platform/FileSource.h"

namespace brimwell {

// Reads user files from the local file system. Only regular files are opened: a path that
// names a FIFO, a device node or a directory fails at once instead of blocking the caller
// (the logo page loads on every keystroke, so "/dev/..." or a pipe's path is typed in passing).
class PosixFileSource : public IFileSource {
public:
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override;
    bool IsRegularFile(const std::string& path) override;
};

} // namespace brimwell
