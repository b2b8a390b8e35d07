#pragma once
#include "platform/FileSource.h"

#include <memory>
#include <string>

namespace brimwell {

// Reads user files with the file API. Only files on disk are opened: a directory, a device or
// a pipe fails at once instead of blocking the caller.
class WinFileSource : public IFileSource {
public:
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override;
    bool IsRegularFile(const std::string& path) override;
    std::string LastFailureReason() const override { return *m_reason; }

private:
    // Shared with the files opened, which note a failed read in it.
    std::shared_ptr<std::string> m_reason = std::make_shared<std::string>();
};

} // namespace brimwell
