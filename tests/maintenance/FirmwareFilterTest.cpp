#include "maintenance/FirmwareFilter.h"
#include "platform/fake/FakeServices.h"

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

using namespace std::string_literals;
using File = fake::MemoryFileSource::File;

const std::string H = "DOWNLOAD \"AUTO.BAS\"";
const std::string kSmallest = H + "\r\nEOP\r\nMOVE\r\n"; // 32 bytes; filters to itself
const std::string kSent = H + "\r\n10 PRINT \"PASS\"\r\n20 GOTO 10\r\nEOP\r\nMOVE\r\n";

// The frame with LF endings (28 bytes), padded to n bytes by a blank last line.
std::string Padded(std::size_t n) {
    return H + "\nEOP\nMOVE\n" + std::string(n - 29, ' ');
}

TEST(FirmwareFilter, FilesAreSizedReadThenFilteredAndFramed) {
    constexpr auto Ok = FirmwareStatus::Ok, Bad = FirmwareStatus::Invalid;
    constexpr auto Size = FirmwareStatus::BadSize, Read = FirmwareStatus::ReadFailed;
    const struct {
        const char* what;
        std::string file;
        FirmwareStatus status;
        std::string content;
        void (*spoil)(File&) = nullptr;
    } cases[] = {
        {"smallest file", kSmallest, Ok, kSmallest},
        {"29 bytes: size before content", Padded(29), Size, ""},
        {"30 bytes", Padded(30), Ok, kSmallest},
        {"131072 bytes", Padded(131072), Ok, kSmallest},
        {"131073 bytes", Padded(131073), Size, ""},
        {"size unknown", kSmallest, Size, "", [](File& f) { f.sizeFails = true; }},
        {"size past 32 bits", kSmallest, Size, "", [](File& f) { f.claimedSize = 1ull << 32; }},
        {"read fails", kSmallest, Read, "", [](File& f) { f.readFails = true; }},
        {"short read", kSmallest, Read, "", [](File& f) { f.shortRead = 31; }},
        {"LF only", H + "\n10 PRINT \"PASS\"\n20 GOTO 10\nEOP\nMOVE\n", Ok, kSent},
        {"CR only, no last end", H + "\r10 PRINT \"PASS\"\r20 GOTO 10\rEOP\rMOVE", Ok, kSent},
        {"mixed ends", H + "\n\r10 PRINT \"PASS\"\r\n\n20 GOTO 10\rEOP\n\rMOVE\r\r", Ok, kSent},
        {"header with trailing blanks", H + " \t \r\nEOP\r\nMOVE\r\n", Ok, kSmallest},
        {"header with leading blanks", " " + kSmallest, Bad, ""},
        {"header in lower case", "download \"auto.bas\"\r\nEOP\r\nMOVE\r\n", Bad, ""},
        {"comments and blanks anywhere; an indented star is program text",
         "* by hand\r\n\r\n \t\r\n" + H + "\r\n*x\r\n\r\n  * kept\r\nEOP\r\n*\r\nMOVE\r\n\t\r\n*\n",
         Ok, H + "\r\n  * kept\r\nEOP\r\nMOVE\r\n"},
        {"MOVE and a second header before EOP are program text", H + "\r\nMOVE\r\n" + kSmallest, Ok,
         H + "\r\nMOVE\r\n" + kSmallest},
        {"EOP not followed by MOVE", H + "\r\nEOP\r\n10 END\r\nEOP\r\nMOVE\r\n", Bad, ""},
        {"a line after MOVE", kSmallest + "MOVE\r\n", Bad, ""},
        {"lower-case eop is program text", H + "\r\n10 END\r\neop\r\nMOVE\r\n", Bad, ""},
        {"no EOP", H + "\r\n10 END\r\n20 END\r\nMOVE\r\n", Bad, ""},
        {"trailing blanks trimmed, leading kept",
         H + "\r\n  10 PRINT \"A \" \t \r\n\tEOP\t\r\n" + "EOP  \r\nMOVE\t\r\n", Ok,
         H + "\r\n  10 PRINT \"A \"\r\n\tEOP\r\nEOP\r\nMOVE\r\n"},
        {"a NUL ends what is sent of a line; the frame sees the whole line",
         H + "\r\n10 PRINT\0 gone \r\n\0 x\r\nMOVE\0x\r\nEOP\r\nMOVE\r\n"s, Ok,
         H + "\r\n10 PRINT\r\n\r\nMOVE\r\nEOP\r\nMOVE\r\n"},
        {"a program line cut to EOP", H + "\r\nEOP \0 x\r\nEOP\r\nMOVE\r\n"s, Bad, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake::MemoryFileSource files;
        File& file = files.Add("f.tpl", std::vector<std::uint8_t>(c.file.begin(), c.file.end()));
        if (c.spoil) {
            c.spoil(file);
        }
        const FirmwareFile read = ReadFirmwareFile(files, "f.tpl");
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.content, c.content);
        EXPECT_EQ(files.closed, 1);
    }
    ASSERT_EQ(kSmallest.size(), 32u);
    fake::MemoryFileSource none;
    EXPECT_EQ(ReadFirmwareFile(none, "f.tpl").status, FirmwareStatus::OpenFailed);
}

} // namespace
} // namespace brimwell::test
