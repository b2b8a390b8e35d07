// Fuzz target of the firmware filter: any bytes are filtered and, for a size the page
// accepts, read through the same steps as the page. Every accepted file must give content
// whose frame holds line by line, must not depend on which line ends it used, and must
// filter to itself again. A broken invariant aborts, so libFuzzer keeps the input.
#include "maintenance/FirmwareFilter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace brimwell;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Hands the fuzzer's bytes to ReadFirmwareFile as the file "in".
class OneFile : public IFileSource, public IReadableFile {
public:
    OneFile(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::unique_ptr<IReadableFile> OpenForRead(const std::string& path) override {
        if (path != "in") {
            return nullptr;
        }
        return std::make_unique<Borrowed>(*this);
    }
    bool IsRegularFile(const std::string& path) override { return path == "in"; }
    bool QuerySize(std::uint64_t* pSize) override {
        *pSize = m_size;
        return true;
    }
    bool Read(std::uint8_t* pBuffer, std::uint32_t length, std::uint32_t* pRead) override {
        *pRead = static_cast<std::uint32_t>(std::min<std::size_t>(length, m_size));
        std::memcpy(pBuffer, m_data, *pRead);
        return true;
    }

private:
    class Borrowed : public IReadableFile {
    public:
        explicit Borrowed(OneFile& f) : m_f(f) {}
        bool QuerySize(std::uint64_t* pSize) override { return m_f.QuerySize(pSize); }
        bool Read(std::uint8_t* pBuffer, std::uint32_t length, std::uint32_t* pRead) override {
            return m_f.Read(pBuffer, length, pRead);
        }

    private:
        OneFile& m_f;
    };
    const std::uint8_t* m_data;
    std::size_t m_size;
};

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    return line;
}

// The content is lines ended by CR LF, with no other CR or LF: the header first, "EOP" and
// "MOVE" last, and no other line that the printer could take for "EOP".
void CheckFrame(const std::string& content) {
    std::vector<std::string_view> lines;
    std::string_view rest = content;
    while (!rest.empty()) {
        const auto at = rest.find("\r\n");
        Check(at != std::string_view::npos);
        const std::string_view line = rest.substr(0, at);
        Check(line.find_first_of("\r\n") == std::string_view::npos);
        lines.push_back(line);
        rest.remove_prefix(at + 2);
    }
    Check(lines.size() >= 3);
    Check(lines.front() == kFirmwareHeader);
    Check(lines[lines.size() - 2] == kFirmwareEnd);
    Check(lines.back() == kFirmwareMove);
    for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
        Check(Trimmed(lines[i]) != kFirmwareEnd);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string content;
    const bool accepted = FilterFirmware(data, size, &content);
    if (accepted) {
        Check(content.size() <= size + size / 2 + 2);
        CheckFrame(content);
    }

    // CR, LF or both: the same lines, so the same verdict and the same content.
    std::vector<std::uint8_t> lf(data, data + size);
    std::replace(lf.begin(), lf.end(), std::uint8_t{'\r'}, std::uint8_t{'\n'});
    std::string lfContent;
    Check(FilterFirmware(lf.data(), lf.size(), &lfContent) == accepted);
    Check(!accepted || lfContent == content);

    // Without NUL bytes nothing is cut, so the content is its own filtered form.
    if (accepted && std::memchr(data, 0, size) == nullptr) {
        std::string again;
        Check(FilterFirmware(reinterpret_cast<const std::uint8_t*>(content.data()), content.size(),
                             &again));
        Check(again == content);
    }

    // The page's steps: the size first, then the filter.
    OneFile file(data, size);
    const FirmwareFile read = ReadFirmwareFile(file, "in");
    if (!IsFirmwareSizeAcceptable(size)) {
        Check(read.status == FirmwareStatus::BadSize);
    } else {
        Check(read.status == (accepted ? FirmwareStatus::Ok : FirmwareStatus::Invalid));
        Check(read.content == (accepted ? content : std::string()));
    }
    Check(ReadFirmwareFile(file, "other").status == FirmwareStatus::OpenFailed);
    if (accepted) {
        const std::string job = FirmwareJob(content);
        Check(job.size() == kFirmwarePreamble.size() + content.size());
        Check(job.compare(0, kFirmwarePreamble.size(), kFirmwarePreamble) == 0);
    }
    return 0;
}
