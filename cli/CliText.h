#pragma once
// The companion's human texts once translated: placeholders filled in the order the
// translation puts them, and help laid out in columns and wrapped at the terminal's width
// whatever the length of the words a language uses.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace brimwell::cli {

// Help lines hold at most this many columns.
inline constexpr std::size_t kHelpWidth = 80;

// `format` with its placeholders replaced: "%s" takes the next argument, "%N$s" the Nth
// (1-based), so a translation may put them in another order or use one twice; "%%" is a
// percent sign. A placeholder without its argument, and any other directive, stays as written.
std::string Fmt(const char* format, const std::vector<std::string>& args);

// The columns a UTF-8 text takes on a terminal: one per character.
std::size_t Columns(const std::string& utf8);

// `text` after `lead` (already on the line), broken at spaces into lines of at most kHelpWidth
// columns, each further line starting with `indent` spaces; a "\n" in the text breaks the line
// where it stands. A word longer than a line is cut where the line ends. Ends with "\n".
std::string Wrap(const std::string& lead, const std::string& text, std::size_t indent);

// A table of terms (options, arguments, statuses as typed) and their descriptions, each row
// indented by two spaces; the descriptions start in one column, two past the longest term but
// not beyond `maxColumn`: a longer term puts its description on the next line.
std::string Rows(const std::vector<std::pair<std::string, std::string>>& rows,
                 std::size_t maxColumn);

} // namespace brimwell::cli
