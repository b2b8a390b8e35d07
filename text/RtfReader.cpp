#include "text/RtfReader.h"

#include "text/Hex.h"
#include "text/Utf.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace brimwell::rtf {
namespace {

// Spacing and indents beyond 22 inches (the widest paper RTF writers offer) mean nothing.
constexpr int kMaxTwips = 31680;
// Font sizes from 1 to 1000 points.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 2000;
constexpr int kDefaultHalfPoints = 24;
// Control words are at most 32 letters long; longer ones are read whole but compared by
// their first 32 letters.
constexpr std::size_t kMaxWordLength = 32;
constexpr std::size_t kMaxFontNameLength = 256;
constexpr char32_t kReplacement = 0xFFFD;

// Destinations whose text is not part of the document.
constexpr std::array<const char*, 14> kSkippedDestinations = {
    "info",
    "stylesheet",
    "pict",
    "object",
    "header",
    "footer",
    "footnote",
    "fldinst",
    "listtable",
    "filetbl",
    "listoverridetable",
    "revtbl",
    "rsidtbl",
    "xmlnstbl",
};

struct Symbol {
    const char* word;
    char32_t codePoint;
};
constexpr std::array<Symbol, 11> kSymbolWords = {{
    {"tab", U'\t'},
    {"line", 0x2028}, // a line break inside the paragraph
    {"emdash", 0x2014},
    {"endash", 0x2013},
    {"emspace", 0x2003},
    {"enspace", 0x2002},
    {"bullet", 0x2022},
    {"lquote", 0x2018},
    {"rquote", 0x2019},
    {"ldblquote", 0x201C},
    {"rdblquote", 0x201D},
}};

enum class Dest { Text, FontTable, ColorTable, Skip };

// What a group saves on '{' and restores on '}'.
struct State {
    CharFormat chr;
    ParaFormat para;
    Dest dest = Dest::Text;
    int unicodeSkip = 1; // \ucN: fallback characters that follow each \uN
};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

class Reader {
public:
    explicit Reader(std::string_view in) : m_in(in) {}

    Document Read() {
        while (m_pos < m_in.size()) {
            const char c = m_in[m_pos++];
            switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                CloseGroup();
                break;
            case '\\':
                Control();
                break;
            case '\r':
            case '\n':
                break; // line breaks in the source are not text
            default:
                TextByte(static_cast<std::uint8_t>(c));
                break;
            }
        }
        if (!m_para.runs.empty()) {
            EndParagraph();
        }
        return std::move(m_doc);
    }

private:
    void OpenGroup() {
        m_pendingSkip = 0;
        if (m_saved.size() >= static_cast<std::size_t>(kMaxGroupDepth)) {
            ++m_untracked; // balanced, but shares its parent's state
            return;
        }
        m_saved.push_back(m_st);
    }

    void CloseGroup() {
        m_pendingSkip = 0;
        if (m_untracked > 0) {
            --m_untracked;
        } else if (!m_saved.empty()) {
            m_st = m_saved.back();
            m_saved.pop_back();
        } // a '}' without its '{' closes nothing
    }

    // After a backslash: a control word (letters, an optional signed number and an optional
    // space that belongs to it) or a control symbol (one other character).
    void Control() {
        if (m_pos >= m_in.size()) {
            return; // a backslash at the very end
        }
        if (!IsLetter(m_in[m_pos])) {
            ControlSymbol(m_in[m_pos++]);
            return;
        }
        char word[kMaxWordLength + 1] = {};
        std::size_t length = 0;
        while (m_pos < m_in.size() && IsLetter(m_in[m_pos])) {
            if (length < kMaxWordLength) {
                word[length++] = m_in[m_pos];
            }
            ++m_pos;
        }
        bool hasParam = false;
        bool negative = false;
        int param = 0;
        if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && IsDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && IsDigit(m_in[m_pos])) {
            hasParam = true;
            param = std::min(kMaxParameter, param * 10 + (m_in[m_pos] - '0'));
            ++m_pos;
        }
        if (m_pos < m_in.size() && m_in[m_pos] == ' ') {
            ++m_pos;
        }
        ControlWord(word, hasParam, negative ? -param : param);
    }

    void ControlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            TextChar(static_cast<unsigned char>(c));
            break;
        case '\'': {
            // \'hh: one byte of the code page. A truncated escape stands for nothing.
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_in.size() && HexDigitValue(m_in[m_pos]) >= 0) {
                value = value * 16 + HexDigitValue(m_in[m_pos++]);
                ++digits;
            }
            if (digits == 2) {
                TextChar(Windows1252ToUnicode(static_cast<std::uint8_t>(value)));
            }
            break;
        }
        case '~':
            TextChar(0x00A0); // non-breaking space
            break;
        case '_':
            TextChar(0x2011); // non-breaking hyphen
            break;
        case '*':
            m_st.dest = Dest::Skip; // a destination this reader may not know
            break;
        case '\r':
        case '\n':
            if (m_st.dest == Dest::Text) {
                EndParagraph(); // a backslash before a line break is \par
            }
            break;
        default:
            break; // \- optional hyphen, \| \: and unknown symbols show nothing
        }
    }

    void ControlWord(const char* w, bool hasParam, int p) {
        if (m_pendingSkip > 0) {
            --m_pendingSkip; // a word counts as one fallback character of \uN
            return;
        }
        const auto is = [w](const char* name) { return std::strcmp(w, name) == 0; };
        if (is("bin")) {
            // \binN: N raw bytes that are data, not RTF.
            if (p > 0) {
                m_pos += std::min(static_cast<std::size_t>(p), m_in.size() - m_pos);
            }
            return;
        }
        if (is("u") && hasParam) {
            UnicodeChar(p < 0 ? p + 65536 : p);
            m_pendingSkip = m_st.unicodeSkip;
            return;
        }
        if (is("uc")) {
            m_st.unicodeSkip = std::clamp(p, 0, 8);
            return;
        }
        for (const char* skipped : kSkippedDestinations) {
            if (is(skipped)) {
                m_st.dest = Dest::Skip;
                return;
            }
        }
        for (const Symbol& symbol : kSymbolWords) {
            if (is(symbol.word)) {
                TextChar(symbol.codePoint);
                return;
            }
        }
        if (is("fonttbl")) {
            m_st.dest = Dest::FontTable;
        } else if (is("colortbl")) {
            m_st.dest = Dest::ColorTable;
            m_color = Color{};
        } else if (is("deff")) {
            m_doc.defaultFont = std::max(0, p);
            m_st.chr.fontIndex = m_doc.defaultFont;
        } else if (is("f")) {
            if (m_st.dest == Dest::FontTable) {
                m_fontNumber = std::max(0, p);
                m_fontName.clear();
            } else {
                m_st.chr.fontIndex = std::max(0, p);
            }
        } else if (m_st.dest == Dest::ColorTable) {
            const auto component = static_cast<std::uint8_t>(std::clamp(p, 0, 255));
            if (is("red") || is("green") || is("blue")) {
                m_color.automatic = false;
                (is("red") ? m_color.red : is("green") ? m_color.green : m_color.blue) = component;
            }
        } else if (m_st.dest == Dest::Text) {
            FormatWord(is, hasParam, p);
        }
    }

    template <class Is>
    void FormatWord(const Is& is, bool hasParam, int p) {
        CharFormat& chr = m_st.chr;
        ParaFormat& para = m_st.para;
        const bool on = !hasParam || p != 0; // \b and \b1 switch on, \b0 off
        const auto twips = [p](int lo) { return std::clamp(p, lo, kMaxTwips); };
        if (is("par")) {
            EndParagraph();
        } else if (is("pard")) {
            para = ParaFormat{};
        } else if (is("plain")) {
            chr = CharFormat{};
            chr.fontIndex = m_doc.defaultFont;
        } else if (is("ql")) {
            para.align = Align::Left;
        } else if (is("qc")) {
            para.align = Align::Center;
        } else if (is("qr")) {
            para.align = Align::Right;
        } else if (is("qj")) {
            para.align = Align::Justify;
        } else if (is("b")) {
            chr.bold = on;
        } else if (is("i")) {
            chr.italic = on;
        } else if (is("ul")) {
            chr.underline = on;
        } else if (is("ulnone")) {
            chr.underline = false;
        } else if (is("fs")) {
            chr.halfPoints = hasParam && p > 0 ? std::clamp(p, kMinHalfPoints, kMaxHalfPoints)
                                               : kDefaultHalfPoints;
        } else if (is("cf")) {
            chr.colorIndex = std::max(0, p);
        } else if (is("sb")) {
            para.spaceBefore = twips(0);
        } else if (is("sa")) {
            para.spaceAfter = twips(0);
        } else if (is("li")) {
            para.leftIndent = twips(-kMaxTwips);
        } else if (is("fi")) {
            para.firstIndent = twips(-kMaxTwips);
        }
        // Every other word is a property this reader does not show.
    }

    // A byte of text as it stands in the source.
    void TextByte(std::uint8_t byte) {
        if (byte == '\t') {
            TextChar(U'\t');
        } else if (byte >= 0x20) {
            TextChar(Windows1252ToUnicode(byte));
        } else if (m_pendingSkip > 0) {
            --m_pendingSkip; // other control bytes are not text, but still fallback
        }
    }

    // One character of text (a fallback character of \uN is dropped).
    void TextChar(char32_t cp) {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        m_highSurrogate = 0;
        Emit(cp);
    }

    void UnicodeChar(int value) {
        const auto cp = static_cast<char32_t>(std::clamp(value, 0, 0xFFFF));
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            m_highSurrogate = cp; // waits for its low half
            return;
        }
        if (cp >= 0xDC00 && cp <= 0xDFFF) {
            const char32_t high = m_highSurrogate;
            m_highSurrogate = 0;
            Emit(high ? 0x10000 + ((high - 0xD800) << 10) + (cp - 0xDC00) : kReplacement);
            return;
        }
        m_highSurrogate = 0;
        Emit(cp);
    }

    void Emit(char32_t cp) {
        switch (m_st.dest) {
        case Dest::Text: {
            if (m_para.runs.empty() || m_para.runs.back().format != m_st.chr) {
                m_para.runs.push_back(Run{{}, m_st.chr});
            }
            AppendUtf8(m_para.runs.back().text, cp);
            break;
        }
        case Dest::FontTable:
            if (cp == U';') {
                m_doc.fonts.push_back(Font{m_fontNumber, Trimmed(m_fontName)});
                m_fontName.clear();
            } else if (m_fontName.size() < kMaxFontNameLength) {
                AppendUtf8(m_fontName, cp);
            }
            break;
        case Dest::ColorTable:
            if (cp == U';') {
                m_doc.colors.push_back(m_color);
                m_color = Color{};
            }
            break;
        case Dest::Skip:
            break;
        }
    }

    void EndParagraph() {
        m_para.format = m_st.para;
        m_para.markFormat = m_st.chr;
        m_doc.paragraphs.push_back(std::move(m_para));
        m_para = Paragraph{};
    }

    std::string_view m_in;
    std::size_t m_pos = 0;
    State m_st;
    std::vector<State> m_saved;
    int m_untracked = 0;
    int m_pendingSkip = 0;
    char32_t m_highSurrogate = 0;
    int m_fontNumber = 0;
    std::string m_fontName;
    Color m_color;
    Paragraph m_para;
    Document m_doc;
};

} // namespace

std::string Paragraph::Text() const {
    std::string text;
    for (const Run& run : runs) {
        text += run.text;
    }
    return text;
}

std::string Document::FontName(int number) const {
    for (const Font& font : fonts) {
        if (font.number == number) {
            return font.name;
        }
    }
    return {};
}

std::string Document::PlainText() const {
    std::string text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        text += paragraphs[i].Text();
    }
    return text;
}

char32_t Windows1252ToUnicode(std::uint8_t byte) {
    // 0x80 to 0x9F are the code page's own; every other byte is its Latin-1 code point.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    if (byte >= 0x80 && byte < 0xA0) {
        return kHigh[byte - 0x80];
    }
    return byte;
}

Document Parse(std::string_view rtf) {
    return Reader(rtf).Read();
}

} // namespace brimwell::rtf
