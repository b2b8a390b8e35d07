#pragma once
#include "platform/FileSource.h"

#include <memory>
#include <string>

namespace brimwell {

// Reads user files from the local file system. Only regular files are opened: a path that
// names a FIFO, a device node or a directory fails at once instead of blocking the caller
// (the logo page loads on every keystroke, so "/dev/..." or a pipe's path is typed in passing).
class PosixFileSource : public IFileSource {
public:
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override;
    bool IsRegularFile(const std::string& path) override;
    std::string LastFailureReason() const override { return *m_reason; }

private:
    // Shared with the files opened, which note a failed read in it.
    std::shared_ptr<std::string> m_reason = std::make_shared<std::string>();
};

} // namespace brimwell
