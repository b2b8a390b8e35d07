#include "text/MoCatalog.h"

#include <cstring>

namespace brimwell {
namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
constexpr std::size_t kHeaderSize = 28;
// A plural rule is a short expression ("n==1 ? 0 : n%10>=2 && ... ? 1 : 2"): these bound what
// a damaged or hostile header can make the parser do.
constexpr int kMaxRuleDepth = 64;
constexpr std::size_t kMaxRuleNodes = 256;
constexpr unsigned long kMaxPlurals = 100;

std::uint32_t Read32(const std::string& bytes, std::size_t at, bool bigEndian) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
    return bigEndian ? std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 |
                           std::uint32_t{p[2]} << 8 | p[3]
                     : std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 |
                           std::uint32_t{p[1]} << 8 | p[0];
}

std::string Key(std::string_view msgid, std::string_view context) {
    if (context.empty()) {
        return std::string(msgid);
    }
    std::string key(context);
    key += '\x04'; // msgfmt's separator of a context and its message
    key += msgid;
    return key;
}

// The plural rule's text after "plural=" (up to ';' or the line's end), parsed by recursive
// descent with C's precedence.
class RuleParser {
public:
    RuleParser(std::string_view text, std::vector<MoCatalogRuleNode>& nodes)
        : m_text(text), m_nodes(nodes) {}

    int Parse() {
        const int root = Choice(0);
        Skip();
        return m_failed || m_at != m_text.size() ? -1 : root;
    }

private:
    void Skip() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t')) {
            ++m_at;
        }
    }
    bool Take(std::string_view token) {
        Skip();
        if (m_text.substr(m_at, token.size()) == token) {
            m_at += token.size();
            return true;
        }
        return false;
    }
    int Add(MoCatalogRuleNode node) {
        if (m_nodes.size() >= kMaxRuleNodes) {
            m_failed = true;
            return -1;
        }
        m_nodes.push_back(node);
        return static_cast<int>(m_nodes.size() - 1);
    }
    int Binary(char op, char op2, int a, int b) {
        MoCatalogRuleNode node{op, op2};
        node.a = a;
        node.b = b;
        return Add(node);
    }

    int Choice(int depth) {
        if (depth > kMaxRuleDepth) {
            m_failed = true;
            return -1;
        }
        const int condition = Or(depth);
        if (m_failed || !Take("?")) {
            return condition;
        }
        const int yes = Choice(depth + 1);
        if (m_failed || !Take(":")) {
            m_failed = true;
            return -1;
        }
        const int no = Choice(depth + 1);
        MoCatalogRuleNode node{'?', 0};
        node.a = condition;
        node.b = yes;
        node.c = no;
        return m_failed ? -1 : Add(node);
    }
    int Or(int depth) {
        int left = And(depth);
        while (!m_failed && Take("||")) {
            left = Binary('|', '|', left, And(depth));
        }
        return left;
    }
    int And(int depth) {
        int left = Equality(depth);
        while (!m_failed && Take("&&")) {
            left = Binary('&', '&', left, Equality(depth));
        }
        return left;
    }
    int Equality(int depth) {
        int left = Relation(depth);
        while (!m_failed) {
            if (Take("==")) {
                left = Binary('=', '=', left, Relation(depth));
            } else if (Take("!=")) {
                left = Binary('!', '=', left, Relation(depth));
            } else {
                break;
            }
        }
        return left;
    }
    int Relation(int depth) {
        int left = Sum(depth);
        while (!m_failed) {
            if (Take("<=")) {
                left = Binary('<', '=', left, Sum(depth));
            } else if (Take(">=")) {
                left = Binary('>', '=', left, Sum(depth));
            } else if (Take("<")) {
                left = Binary('<', 0, left, Sum(depth));
            } else if (Take(">")) {
                left = Binary('>', 0, left, Sum(depth));
            } else {
                break;
            }
        }
        return left;
    }
    int Sum(int depth) {
        int left = Product(depth);
        while (!m_failed) {
            if (Take("+")) {
                left = Binary('+', 0, left, Product(depth));
            } else if (Take("-")) {
                left = Binary('-', 0, left, Product(depth));
            } else {
                break;
            }
        }
        return left;
    }
    int Product(int depth) {
        int left = Unary(depth);
        while (!m_failed) {
            char op = 0;
            for (const char candidate : {'*', '/', '%'}) {
                if (Take(std::string_view(&candidate, 1))) {
                    op = candidate;
                    break;
                }
            }
            if (op == 0) {
                break;
            }
            left = Binary(op, 0, left, Unary(depth));
        }
        return left;
    }
    int Unary(int depth) {
        if (depth > kMaxRuleDepth) {
            m_failed = true;
            return -1;
        }
        Skip();
        // "!" but not "!=": the latter is an operator between two terms.
        if (m_text.substr(m_at, 1) == "!" && m_text.substr(m_at, 2) != "!=") {
            ++m_at;
            MoCatalogRuleNode node{'!', 0};
            node.a = Unary(depth + 1);
            return m_failed ? -1 : Add(node);
        }
        return Primary(depth);
    }
    int Primary(int depth) {
        Skip();
        if (Take("(")) {
            const int inner = Choice(depth + 1);
            if (!Take(")")) {
                m_failed = true;
                return -1;
            }
            return inner;
        }
        if (Take("n")) {
            return Add(MoCatalogRuleNode{'n', 0});
        }
        if (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9') {
            MoCatalogRuleNode node{'#', 0};
            while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9') {
                if (node.value > 100000000) {
                    m_failed = true; // no rule needs such a number
                    return -1;
                }
                node.value = node.value * 10 + static_cast<unsigned long>(m_text[m_at] - '0');
                ++m_at;
            }
            return Add(node);
        }
        m_failed = true;
        return -1;
    }

    std::string_view m_text;
    std::vector<MoCatalogRuleNode>& m_nodes;
    std::size_t m_at = 0;
    bool m_failed = false;
};

// The value of "name=" in a header field's text, up to ';' (or the end).
std::string_view FieldValue(std::string_view field, std::string_view name) {
    const std::size_t at = field.find(name);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view value = field.substr(at + name.size());
    return value.substr(0, value.find(';'));
}

} // namespace

bool MoCatalog::Load(std::string bytes) {
    *this = MoCatalog{};
    if (bytes.size() < kHeaderSize) {
        return false;
    }
    const std::uint32_t magic = Read32(bytes, 0, false);
    if (magic != kMagic && magic != kMagicSwapped) {
        return false;
    }
    const bool bigEndian = magic == kMagicSwapped;
    const std::uint32_t revision = Read32(bytes, 4, bigEndian);
    if ((revision >> 16) > 1) {
        return false; // a major revision this reader does not know
    }
    const std::uint64_t count = Read32(bytes, 8, bigEndian);
    const std::uint64_t originals = Read32(bytes, 12, bigEndian);
    const std::uint64_t translations = Read32(bytes, 16, bigEndian);
    const std::uint64_t size = bytes.size();
    if (originals + count * 8 > size || translations + count * 8 > size) {
        return false;
    }
    m_bytes = std::move(bytes);
    // A string of the table at `table`, entry `i`: inside the bytes and ended by a NUL.
    const auto stringAt = [this, bigEndian, size](std::uint64_t table, std::uint64_t i,
                                                  std::string_view& out) {
        const std::uint64_t length =
            Read32(m_bytes, static_cast<std::size_t>(table + i * 8), bigEndian);
        const std::uint64_t offset =
            Read32(m_bytes, static_cast<std::size_t>(table + i * 8 + 4), bigEndian);
        if (offset + length >= size || m_bytes[static_cast<std::size_t>(offset + length)] != '\0') {
            return false;
        }
        out = std::string_view(m_bytes.data() + offset, static_cast<std::size_t>(length));
        return true;
    };
    std::string_view header;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string_view original;
        std::string_view translation;
        if (!stringAt(originals, i, original) || !stringAt(translations, i, translation)) {
            *this = MoCatalog{};
            return false;
        }
        // The key is the message (with its context) without its plural.
        original = original.substr(0, original.find('\0'));
        if (original.empty()) {
            header = translation;
        } else if (!translation.empty()) {
            m_entries.emplace(original, Entry{translation});
        }
    }
    if (!ParsePluralForms(header)) {
        m_nPlurals = 2;
        m_rule.clear();
        m_root = -1;
    }
    m_loaded = true;
    return true;
}

bool MoCatalog::ParsePluralForms(std::string_view header) {
    const std::size_t at = header.find("Plural-Forms:");
    if (at == std::string_view::npos) {
        return false;
    }
    std::string_view field = header.substr(at);
    field = field.substr(0, field.find('\n'));
    const std::string_view count = FieldValue(field, "nplurals=");
    unsigned long n = 0;
    for (const char c : count) {
        if (c == ' ') {
            continue;
        }
        if (c < '0' || c > '9' || n > kMaxPlurals) {
            return false;
        }
        n = n * 10 + static_cast<unsigned long>(c - '0');
    }
    if (n == 0 || n > kMaxPlurals) {
        return false;
    }
    const std::string_view rule = FieldValue(field, "plural=");
    if (rule.empty()) {
        return false;
    }
    RuleParser parser(rule, m_rule);
    m_root = parser.Parse();
    if (m_root < 0) {
        return false;
    }
    m_nPlurals = n;
    return true;
}

unsigned long MoCatalog::Evaluate(int index, unsigned long n, int depth) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_rule.size() ||
        depth > kMaxRuleDepth * 8) {
        return 0;
    }
    const Node& node = m_rule[static_cast<std::size_t>(index)];
    const auto a = [&] { return Evaluate(node.a, n, depth + 1); };
    const auto b = [&] { return Evaluate(node.b, n, depth + 1); };
    switch (node.op) {
    case 'n':
        return n;
    case '#':
        return node.value;
    case '?':
        return a() != 0 ? b() : Evaluate(node.c, n, depth + 1);
    case '!':
        return node.op2 == '=' ? a() != b() : a() == 0;
    case '=':
        return a() == b();
    case '<':
        return node.op2 == '=' ? a() <= b() : a() < b();
    case '>':
        return node.op2 == '=' ? a() >= b() : a() > b();
    case '&':
        return a() != 0 && b() != 0;
    case '|':
        return a() != 0 || b() != 0;
    case '+':
        return a() + b();
    case '-':
        return a() - b();
    case '*':
        return a() * b();
    case '/': {
        const unsigned long d = b();
        return d == 0 ? 0 : a() / d; // a rule that divides by zero picks the first form
    }
    case '%': {
        const unsigned long d = b();
        return d == 0 ? 0 : a() % d;
    }
    default:
        return 0;
    }
}

unsigned long MoCatalog::PluralForm(unsigned long n) const {
    const unsigned long form = m_root < 0 ? (n != 1 ? 1 : 0) : Evaluate(m_root, n, 0);
    return form < m_nPlurals ? form : 0;
}

const char* MoCatalog::Find(std::string_view msgid, std::string_view context) const {
    const auto it = m_entries.find(Key(msgid, context));
    return it == m_entries.end() ? nullptr : it->second.translation.data();
}

const char* MoCatalog::FindPlural(std::string_view msgid, unsigned long n,
                                  std::string_view context) const {
    const auto it = m_entries.find(Key(msgid, context));
    if (it == m_entries.end()) {
        return nullptr;
    }
    std::string_view forms = it->second.translation;
    for (unsigned long form = PluralForm(n); form > 0; --form) {
        const std::size_t end = forms.find('\0');
        if (end == std::string_view::npos) {
            return nullptr; // fewer forms than the rule has
        }
        forms.remove_prefix(end + 1);
    }
    return forms.empty() || forms.front() == '\0' ? nullptr : forms.data();
}

std::vector<std::string> LanguageFallbacks(std::string_view locale) {
    locale = locale.substr(0, locale.find('@'));
    locale = locale.substr(0, locale.find('.'));
    std::string name(locale);
    for (char& c : name) {
        if (c == '-') {
            c = '_';
        }
    }
    if (name.empty() || name == "C" || name == "POSIX") {
        return {};
    }
    std::vector<std::string> names{name};
    if (const std::size_t region = name.find('_'); region != std::string::npos && region > 0) {
        names.push_back(name.substr(0, region));
    }
    return names;
}

std::vector<std::string> LanguagesFromEnvironment(const char* (*get)(const char* name)) {
    const auto value = [get](const char* name) -> std::string_view {
        const char* text = get(name);
        return text ? std::string_view(text) : std::string_view();
    };
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = value(name);
        if (!locale.empty()) {
            break;
        }
    }
    // The "C" locale (also unset, and "C.UTF-8") speaks the program's own language; gettext
    // then ignores LANGUAGE too.
    if (LanguageFallbacks(locale).empty()) {
        return {};
    }
    std::vector<std::string> languages;
    const auto add = [&languages](std::string_view one) {
        for (std::string& name : LanguageFallbacks(one)) {
            bool known = false;
            for (const std::string& had : languages) {
                known = known || had == name;
            }
            if (!known) {
                languages.push_back(std::move(name));
            }
        }
    };
    std::string_view list = value("LANGUAGE");
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        add(list.substr(0, colon));
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    add(locale);
    return languages;
}

} // namespace brimwell
