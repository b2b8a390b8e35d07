// UTF-8 and UTF-16 as the dialog hosts convert the interface's text, and the edit stream
// every rich-text view reads.
#include "platform/Utf.h"
#include "platform/RichText.h"

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

} // namespace
} // namespace brimwell::test
