#pragma once
// Compiled gettext catalogues made in memory, for tests that need a language of their own.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace brimwell::test {

// A .mo file: the header, the two tables (sorted by original, as msgfmt writes them), then
// the strings, each followed by a NUL.
inline std::string MoFile(std::vector<std::pair<std::string, std::string>> entries,
                          bool bigEndian = false) {
    std::sort(entries.begin(), entries.end());
    std::string out;
    const auto put = [&out, bigEndian](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            const int shift = bigEndian ? 24 - 8 * i : 8 * i;
            out += static_cast<char>((v >> shift) & 0xff);
        }
    };
    const auto n = static_cast<std::uint32_t>(entries.size());
    put(0x950412de);
    put(0);
    put(n);
    put(28);
    put(28 + 8 * n);
    put(0);
    put(28 + 16 * n);
    std::uint32_t at = 28 + 16 * n;
    std::string strings;
    for (const bool translation : {false, true}) {
        for (const auto& [original, translated] : entries) {
            const std::string& s = translation ? translated : original;
            put(static_cast<std::uint32_t>(s.size()));
            put(at);
            at += static_cast<std::uint32_t>(s.size() + 1);
            strings += s;
            strings += '\0';
        }
    }
    return out + strings;
}

} // namespace brimwell::test
