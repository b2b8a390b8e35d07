#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace brimwell {

// The value DecodeUtf8 gives for a malformed sequence.
inline constexpr char32_t kUtfInvalid = 0xFFFFFFFF;

// Decodes the UTF-8 sequence at text[i], advancing i past it. A malformed sequence (bad
// lead byte, missing continuation, overlong form, surrogate, beyond U+10FFFF) yields
// kUtfInvalid and advances one byte, so every bad byte stands for one character.
char32_t DecodeUtf8(std::string_view text, std::size_t& i);

// Appends the UTF-8 form of cp; a surrogate or a value beyond U+10FFFF becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// Conversions between the interface's UTF-8 and UTF-16; each malformed byte or lone surrogate
// becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

} // namespace brimwell
