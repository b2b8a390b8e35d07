#pragma once
// E-mail and web addresses in a text, as the rich-text views make them links: one rule for
// every host.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brimwell {

// The addresses in a text that open when clicked, as [start, end) ranges of UTF-16 code
// units, leftmost first: web addresses (http://, https://, www.) without a trailing full
// stop, comma or bracket, and e-mail addresses (a domain of two labels or more). One pass,
// however long a run of letters is.
std::vector<std::pair<std::size_t, std::size_t>> FindAddresses(std::u16string_view text);

// What an address opens: an e-mail address becomes mailto:, a www. address https://; one
// with its own scheme stays. Empty for anything that is not one whole address.
std::u16string AddressTarget(std::u16string_view address);

// Whether a target may be opened: mailto:, http: and https: only, never a program or a file.
bool IsOpenableTarget(std::u16string_view target);

} // namespace brimwell
