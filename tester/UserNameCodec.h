#pragma once
#include <cstddef>
#include <string>

namespace brimwell {

// The user-name box takes at most this many characters, counted as the edit control counts
// them (UTF-16 code units).
inline constexpr std::size_t kUserNameMaxChars = 24;

// The user name as the printer receives it: the text the user interface gives (UTF-8) in,
// 8-bit text in the thread's ANSI code page out, one byte per character in single-byte code
// pages, so "Zoë" is 3 bytes. A character the code page cannot represent becomes its default
// character '?'. The text ends at its first zero character, as a C string would. On Windows
// this is WideCharToMultiByte with CP_THREAD_ACP and no best-fit look-alikes, one character at
// a time (a failed conversion gives an empty name);
// elsewhere it is Windows code page 1252, Western European, the code page of the systems the
// printer is sold for.
std::string UserNameToPrinterBytes(const std::string& utf8);

// Keeps the text of the user-name box on one line of printable characters, so that what the
// box shows is what "MODE.MOD" gets. `text` is the box's text (UTF-16) after an edit, with
// the cursor at `cursor`, which ends what was just pasted: a line break before the cursor
// ends the paste, so from the first such break up to the cursor is dropped; every other
// control character (below 32, and 127) is dropped wherever it is. The cursor follows.
void KeepUserNameOneLine(std::u16string& text, std::size_t& cursor);

// The number of UTF-16 code units of UTF-8 text (each invalid byte counts as one).
std::size_t Utf16Length(const std::string& utf8);

} // namespace brimwell
