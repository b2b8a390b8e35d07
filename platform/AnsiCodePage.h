#pragma once
#include <optional>
#include <string>

namespace brimwell {

// One character (a Unicode code point) in the 8-bit code page the printer's text is written
// in: its bytes, with the code page's default character '?' for a character the code page
// lacks (never a look-alike), or nothing when the system cannot convert at all.
// On Windows this is the thread's ANSI code page (WideCharToMultiByte with CP_THREAD_ACP and no
// best-fit look-alikes); elsewhere Windows code page 1252, Western European, the code page of
// the systems the printer is sold for.
std::optional<std::string> CharToAnsiCodePage(char32_t cp);

} // namespace brimwell
