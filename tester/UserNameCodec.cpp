#include "tester/UserNameCodec.h"

#include "platform/AnsiCodePage.h"
#include "text/Utf.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace brimwell {
namespace {

constexpr char32_t kInvalid = kUtfInvalid;

} // namespace

std::size_t Utf16Length(const std::string& utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
        units += (cp != kInvalid && cp > 0xFFFF) ? 2 : 1;
    }
    return units;
}

// One character at a time, so that each character the code page lacks (a malformed byte, a
// character beyond the BMP) becomes one default character.
std::string UserNameToPrinterBytes(const std::string& utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
        if (cp == 0) {
            break;
        }
        if (cp == kInvalid) {
            bytes += '?';
            continue;
        }
        const std::optional<std::string> ansi = CharToAnsiCodePage(cp);
        if (!ansi) {
            return {}; // a failed conversion gives an empty name
        }
        bytes += *ansi;
    }
    return bytes;
}

void KeepUserNameOneLine(std::u16string& text, std::size_t& cursor) {
    cursor = std::min(cursor, text.size());
    for (std::size_t i = 0; i < cursor; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            text.erase(i, cursor - i);
            cursor = i;
            break;
        }
    }
    std::u16string kept;
    kept.reserve(text.size());
    std::size_t keptBeforeCursor = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 32 || text[i] == 127) {
            continue;
        }
        kept.push_back(text[i]);
        keptBeforeCursor += i < cursor ? 1 : 0;
    }
    text = std::move(kept);
    cursor = keptBeforeCursor;
}

} // namespace brimwell
