// The user name as the printer receives it: Windows code page 1252, '?' for what it lacks.
#include "tester/UserNameCodec.h"

#include <gtest/gtest.h>

#include <string>

namespace brimwell::test {
namespace {

TEST(UserNameCodec, ConvertsToCodePage1252) {
    struct Case {
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"", ""},
        {"LAB 3", "LAB 3"},
        {"Zo\xC3\xAB", "Zo\xEB"},                         // Zoë: 3 bytes
        {"\xCE\xA9mega", "?mega"},                        // Ωmega
        {"na\xC3\xAFve caf\xC3\xA9", "na\xEFve caf\xE9"}, // Latin-1 range
        {"\xC3\xBF\xC2\xA0", "\xFF\xA0"},                 // ÿ and no-break space
        {"\xE2\x82\xAC"
         "5",
         "\x80"
         "5"},                                                                // € is 0x80
        {"\xC5\x92uvre \xE2\x80\x93 \xE2\x84\xA2", "\x8Cuvre \x96 \x99"},     // Œ, en dash, ™
        {"\xC5\xB8\xC5\xBD\xC5\xA0", "\x9F\x8E\x8A"},                         // Ÿ Ž Š
        {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "\x81\x8D\x8F\x90\x9D"}, // unassigned bytes
        {"\xC2\x80", "?"}, // C1 control with no byte
        {"\xC4\x80"
         "B",
         "?B"},                             // Ā: not in the code page
        {"\xE6\x97\xA5\xE6\x9C\xAC", "??"}, // one '?' per character
        {"\xF0\x9F\x98\x80!", "?!"},        // beyond the BMP
        {"A\xFF"
         "B",
         "A?B"},                          // not UTF-8
        {"A\xC3", "A?"},                  // cut short
        {"\xC0\xAF", "??"},               // overlong '/'
        {"\xED\xA0\x80", "???"},          // a lone surrogate
        {std::string("AB\0CD", 5), "AB"}, // ends at a zero
        {"tab\there", "tab\there"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UserNameToPrinterBytes(c.utf8), c.bytes) << c.utf8;
    }
}

TEST(UserNameCodec, CountsCharactersAsTheEditBoxDoes) {
    EXPECT_EQ(Utf16Length(""), 0u);
    EXPECT_EQ(Utf16Length("Zo\xC3\xAB"), 3u);
    EXPECT_EQ(Utf16Length("\xE6\x97\xA5"), 1u);
    EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u); // a surrogate pair
    EXPECT_EQ(Utf16Length(std::string(24, 'x')), kUserNameMaxChars);
}

} // namespace
} // namespace brimwell::test
