#pragma once
// A compiled gettext message catalogue (a .mo file, as msgfmt writes it), read from memory:
// translations by message, by message in a context, and by message and count with the
// catalogue's own plural rule (its header's Plural-Forms). A damaged catalogue is refused
// whole; nothing is read outside the bytes handed in.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brimwell {

// A node of a plural rule's expression: C's operators on unsigned long.
struct MoCatalogRuleNode {
    char op;  // 'n', '#' number, '!' not, '?' choice, or a binary operator's first char
    char op2; // second char of "==", "!=", "<=", ">=", "&&", "||"; else 0
    unsigned long value = 0;
    int a = -1, b = -1, c = -1;
};

class MoCatalog {
public:
    MoCatalog() = default;
    // The entries point into the catalogue's own bytes: moved, never copied.
    MoCatalog(const MoCatalog&) = delete;
    MoCatalog& operator=(const MoCatalog&) = delete;
    MoCatalog(MoCatalog&&) = default;
    MoCatalog& operator=(MoCatalog&&) = default;

    // Reads the catalogue from `bytes` (kept as a copy). False, and an empty catalogue, when
    // they are no catalogue: a wrong magic number or revision, a table or string outside
    // the bytes, a string without its terminating NUL.
    bool Load(std::string bytes);
    bool IsLoaded() const { return m_loaded; }
    std::size_t Size() const { return m_entries.size(); }

    // The translation of `msgid` in `context` (empty: none), or nullptr when the catalogue
    // has none (or an empty one: msgfmt leaves untranslated entries out, but a hand-made
    // catalogue may keep them).
    const char* Find(std::string_view msgid, std::string_view context = {}) const;
    // The translation of `msgid` (with plural `msgid_plural` in the source) for count `n`:
    // the form the plural rule picks, or nullptr when there is none.
    const char* FindPlural(std::string_view msgid, unsigned long n,
                           std::string_view context = {}) const;

    // The form the catalogue's plural rule picks for `n`; the rule of English and German
    // ("n != 1") when the header has none or one that cannot be read.
    unsigned long PluralForm(unsigned long n) const;
    unsigned long PluralCount() const { return m_nPlurals; }

private:
    struct Entry {
        std::string_view translation; // the forms, each ended by a NUL
    };
    using Node = MoCatalogRuleNode;
    bool ParsePluralForms(std::string_view header);
    unsigned long Evaluate(int node, unsigned long n, int depth) const;

    std::string m_bytes;
    bool m_loaded = false;
    std::unordered_map<std::string_view, Entry> m_entries; // key: context EOT msgid
    unsigned long m_nPlurals = 2;
    std::vector<Node> m_rule; // empty: n != 1
    int m_root = -1;
};

// The languages to look for, best first, from a POSIX environment as gettext reads it:
// LANGUAGE (a colon-separated list) unless the locale is "C" or "POSIX", then the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty. Each name becomes itself without
// its codeset and modifier, then its bare language ("de_AT.UTF-8" gives "de_AT", "de").
// `get` reads a variable (nullptr: unset). Empty for the "C" or "POSIX" locale.
std::vector<std::string> LanguagesFromEnvironment(const char* (*get)(const char* name));

// "de_AT.UTF-8@euro" as the names to look for: "de_AT", "de"; Windows' "de-AT" alike.
std::vector<std::string> LanguageFallbacks(std::string_view locale);

} // namespace brimwell
