#include "maintenance/FirmwareFilter.h"
#include "platform/fake/Fakes.h"

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

using namespace std::string_literals;

const std::string kHeader = "DOWNLOAD \"AUTO.BAS\"";
// The smallest useful file, 32 bytes with CR LF endings, and what it filters to.
const std::string kSmallest = kHeader + "\r\nEOP\r\nMOVE\r\n";
const std::string kFrame = kSmallest;

std::vector<std::uint8_t> Bytes(const std::string& s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

// The frame with LF endings (28 bytes), padded to n bytes by a blank last line.
std::string Padded(std::size_t n) {
    return kHeader + "\nEOP\nMOVE\n" + std::string(n - 29, ' ');
}

TEST(FirmwareFilter, FilesAreSizedThenFilteredAndFramed) {
    struct Case {
        const char* what;
        std::string file;
        FirmwareStatus status;
        std::string content; // when Ok
    };
    const std::string program = "10 PRINT \"PASS\"\r\n20 GOTO 10\r\n";
    const std::string sent = kHeader + "\r\n" + program + "EOP\r\nMOVE\r\n";
    const Case cases[] = {
        {"smallest file", kSmallest, FirmwareStatus::Ok, kFrame},
        {"29 bytes, refused on size before content", Padded(29), FirmwareStatus::BadSize, ""},
        {"30 bytes pass the size check", Padded(30), FirmwareStatus::Ok, kFrame},
        {"131072 bytes pass the size check", Padded(131072), FirmwareStatus::Ok, kFrame},
        {"131073 bytes, refused on size", Padded(131073), FirmwareStatus::BadSize, ""},
        {"LF only", kHeader + "\n10 PRINT \"PASS\"\n20 GOTO 10\nEOP\nMOVE\n", FirmwareStatus::Ok,
         sent},
        {"CR only, no last line end", kHeader + "\r10 PRINT \"PASS\"\r20 GOTO 10\rEOP\rMOVE",
         FirmwareStatus::Ok, sent},
        {"mixed line ends", kHeader + "\n\r10 PRINT \"PASS\"\r\n\n20 GOTO 10\rEOP\n\rMOVE\r\r",
         FirmwareStatus::Ok, sent},
        {"header with trailing blanks", kHeader + " \t \r\nEOP\r\nMOVE\r\n", FirmwareStatus::Ok,
         kFrame},
        {"header with leading blanks", " " + kSmallest, FirmwareStatus::Invalid, ""},
        {"header in lower case", "download \"auto.bas\"\r\nEOP\r\nMOVE\r\n",
         FirmwareStatus::Invalid, ""},
        {"comments and blanks anywhere; an indented star is program text",
         "* made by hand\r\n\r\n \t\r\n" + kHeader + "\r\n*note\r\n\r\n  * kept\r\n10 END\r\n" +
             "EOP\r\n* between\r\nMOVE\r\n\t\r\n* after\r\n",
         FirmwareStatus::Ok, kHeader + "\r\n  * kept\r\n10 END\r\nEOP\r\nMOVE\r\n"},
        {"MOVE and a second header before EOP are program text",
         kHeader + "\r\nMOVE\r\n" + kHeader + "\r\nEOP\r\nMOVE\r\n", FirmwareStatus::Ok,
         kHeader + "\r\nMOVE\r\n" + kHeader + "\r\nEOP\r\nMOVE\r\n"},
        {"EOP not followed by MOVE", kHeader + "\r\nEOP\r\n10 END\r\nEOP\r\nMOVE\r\n",
         FirmwareStatus::Invalid, ""},
        {"a line after MOVE", kSmallest + "10 END\r\n", FirmwareStatus::Invalid, ""},
        {"MOVE twice", kSmallest + "MOVE\r\n", FirmwareStatus::Invalid, ""},
        {"lower-case eop is program text", kHeader + "\r\n10 END\r\neop\r\nMOVE\r\n",
         FirmwareStatus::Invalid, ""},
        {"no MOVE", kHeader + "\r\n10 END\r\n20 END\r\nEOP\r\n", FirmwareStatus::Invalid, ""},
        {"no EOP", kHeader + "\r\n10 END\r\n20 END\r\nMOVE\r\n", FirmwareStatus::Invalid, ""},
        {"trailing blanks trimmed, leading kept",
         kHeader + "\r\n  10 PRINT \"A \" \t \r\n\t20 END\t\r\nEOP  \r\nMOVE\t\r\n",
         FirmwareStatus::Ok, kHeader + "\r\n  10 PRINT \"A \"\r\n\t20 END\r\nEOP\r\nMOVE\r\n"},
        {"a NUL ends what is sent of a line; the frame sees the whole line",
         kHeader + "\r\n10 PRINT\0 gone \r\n\0 x\r\nMOVE\0x\r\nEOP\r\nMOVE\r\n"s,
         FirmwareStatus::Ok, kHeader + "\r\n10 PRINT\r\n\r\nMOVE\r\nEOP\r\nMOVE\r\n"},
        {"a program line cut to EOP would end the program early",
         kHeader + "\r\n10 END\r\nEOP \0 x\r\nEOP\r\nMOVE\r\n"s, FirmwareStatus::Invalid, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::MemoryFileSource files;
        files.Add("f.tpl", Bytes(c.file));
        const FirmwareFile read = ReadFirmwareFile(files, "f.tpl");
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.content, c.content);
        EXPECT_EQ(files.closed, 1);
    }
}

TEST(FirmwareFilter, FilesThatCannotBeReadWholeAreRefused) {
    struct Case {
        const char* what;
        void (*spoil)(fake::MemoryFileSource::File&);
        FirmwareStatus status;
    };
    const Case cases[] = {
        {"size unknown", [](auto& f) { f.sizeFails = true; }, FirmwareStatus::BadSize},
        {"size past 32 bits", [](auto& f) { f.claimedSize = (1ull << 32) + 32; },
         FirmwareStatus::BadSize},
        {"read fails", [](auto& f) { f.readFails = true; }, FirmwareStatus::ReadFailed},
        {"short read", [](auto& f) { f.shortRead = 31; }, FirmwareStatus::ReadFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::MemoryFileSource files;
        c.spoil(files.Add("f.tpl", Bytes(kSmallest)));
        EXPECT_EQ(ReadFirmwareFile(files, "f.tpl").status, c.status);
        EXPECT_EQ(files.closed, 1);
    }
    ASSERT_EQ(kSmallest.size(), 32u);
    fake::MemoryFileSource none;
    EXPECT_EQ(ReadFirmwareFile(none, "f.tpl").status, FirmwareStatus::OpenFailed);
    EXPECT_EQ(FirmwareStatusMessage(FirmwareStatus::OpenFailed, "/x/f.tpl"),
              "Can't open '/x/f.tpl'!");
    EXPECT_EQ(FirmwareJob(kFrame), "\r\nQVX5930\r\n\r\n\r\n" + kFrame);
}

} // namespace
} // namespace brimwell::test
