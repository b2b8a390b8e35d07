// UTF-8 and UTF-16 as the dialog hosts convert the interface's text, the edit stream every
// rich-text view reads, and the addresses the views make links.
#include "text/EditStream.h"
#include "text/TextLinks.h"
#include "text/Utf.h"

#include <gtest/gtest.h>

namespace brimwell::test {
namespace {

TEST(Utf, ConvertsBothWaysAndReplacesWhatIsMalformed) {
    const struct {
        std::string utf8;
        std::u16string utf16;
        std::string back; // the UTF-8 of utf16
    } cases[] = {
        {"", u"", ""},
        {"LAB 3", u"LAB 3", "LAB 3"},
        {"Zo\xC3\xAB \xE2\x82\xAC", u"Zo\u00EB \u20AC", "Zo\xC3\xAB \xE2\x82\xAC"},
        {"\xF0\x9F\x96\xA8", u"\U0001F5A8", "\xF0\x9F\x96\xA8"}, // a surrogate pair
        // Every bad byte stands for one U+FFFD: a stray continuation, a cut sequence, an
        // overlong form, an encoded surrogate.
        {"a\x80z", u"a\uFFFDz", "a\xEF\xBF\xBDz"},
        {"\xE2\x82", u"\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xC0\xAF", u"\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16);
        EXPECT_EQ(Utf8FromUtf16(c.utf16), c.back);
    }
    // A lone surrogate in UTF-16 becomes U+FFFD.
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

struct Source {
    std::string text;
    std::size_t pos = 0;
    std::uint32_t failAt = 0; // the call (1-based) that fails; 0 never
    int calls = 0;
    std::int32_t claimExtra = 0;
};

std::uint32_t Read(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb,
                   std::int32_t* pcb) {
    auto* source = reinterpret_cast<Source*>(cookie);
    if (++source->calls == static_cast<int>(source->failAt)) {
        *pcb = 0;
        return 7;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(cb), source->text.size() - source->pos);
    std::copy_n(source->text.data() + source->pos, n, buffer);
    source->pos += n;
    *pcb = static_cast<std::int32_t>(n) + (n ? source->claimExtra : 0);
    return 0;
}

TEST(EditStream, ReadsPiecesUntilTheEndOrAFailureAndNeverMoreThanAPiece) {
    const std::string big(3 * RICHTEXT_STREAM_PIECE + 5, 'r');
    const struct {
        std::string text;
        std::uint32_t failAt;
        std::int32_t claimExtra;
        std::size_t read;
        std::uint32_t error;
        int calls;
    } cases[] = {
        {"{\\rtf1 x}", 0, 0, 9, 0, 2},
        {big, 0, 0, big.size(), 0, 5},
        {big, 2, 0, RICHTEXT_STREAM_PIECE, 7, 2},
        // Claims more than a piece: only the piece is taken.
        {"abc", 0, 5000, RICHTEXT_STREAM_PIECE, 0, 2},
    };
    for (const auto& c : cases) {
        Source source{c.text, 0, c.failAt, 0, c.claimExtra};
        EditStream es;
        es.dwCookie = reinterpret_cast<std::uintptr_t>(&source);
        es.pfnCallback = &Read;
        const std::string read = ReadEditStream(es);
        EXPECT_EQ(read.size(),
                  c.claimExtra ? static_cast<std::size_t>(RICHTEXT_STREAM_PIECE) : c.read);
        EXPECT_EQ(read.substr(0, 3), c.text.substr(0, 3));
        EXPECT_EQ(es.dwError, c.error);
        EXPECT_EQ(source.calls, c.calls);
    }
}

TEST(Addresses, FoundInOnePassWithTheTargetsTheyOpen) {
    const struct {
        const char16_t* text;
        std::vector<std::u16string> addresses;
        std::vector<std::u16string> targets;
    } cases[] = {
        {u"Mail customercare@brimwell.example today.",
         {u"customercare@brimwell.example"},
         {u"mailto:customercare@brimwell.example"}},
        {u"See www.brimwell.example.",
         {u"www.brimwell.example"},
         {u"https://www.brimwell.example"}},
        {u"(https://brimwell.example/help?a=1), or http://x.example!",
         {u"https://brimwell.example/help?a=1", u"http://x.example"},
         {u"https://brimwell.example/help?a=1", u"http://x.example"}},
        {u"first.last+tag@sub.brimwell.example\rwww.a.example",
         {u"first.last+tag@sub.brimwell.example", u"www.a.example"},
         {u"mailto:first.last+tag@sub.brimwell.example", u"https://www.a.example"}},
        {u"no address @ all, user@localhost, ftp://x.example", {}, {}},
        {u"", {}, {}},
    };
    for (const auto& c : cases) {
        const std::u16string text = c.text;
        SCOPED_TRACE(Utf8FromUtf16(text));
        std::vector<std::u16string> found;
        std::vector<std::u16string> targets;
        for (const auto& [start, end] : FindAddresses(text)) {
            found.push_back(text.substr(start, end - start));
            targets.push_back(AddressTarget(found.back()));
        }
        EXPECT_EQ(found, c.addresses);
        EXPECT_EQ(targets, c.targets);
    }
    // Long runs of letters take no longer than one pass.
    std::u16string longRun(200000, u'x');
    longRun += u"@a.example www.b.example";
    EXPECT_EQ(FindAddresses(longRun).size(), 2u);
    // Only a whole address has a target.
    EXPECT_EQ(AddressTarget(u"see www.a.example"), u"");
    EXPECT_EQ(AddressTarget(u"C:\\Windows\\notepad.exe"), u"");
}

TEST(Addresses, OnlyMailAndWebTargetsMayOpen) {
    for (const char16_t* target :
         {u"mailto:a@b.example", u"http://x.example", u"https://x.example"}) {
        EXPECT_TRUE(IsOpenableTarget(target));
    }
    for (const char16_t* target :
         {u"file:///etc/passwd", u"C:\\Windows\\notepad.exe", u"", u"mailto"}) {
        EXPECT_FALSE(IsOpenableTarget(target));
    }
}

} // namespace
} // namespace brimwell::test
