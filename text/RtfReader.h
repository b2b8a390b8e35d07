#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimwell::rtf {

// A reader for the part of RTF that plain documents use: groups, the font and colour tables,
// paragraph alignment, spacing and indents, bold, italic, underline, font size and colour,
// 8-bit text with \'hh escapes in the Windows-1252 code page and \uN characters. Everything
// else (unknown control words, \* destinations, pictures, style sheets) is skipped. The
// reader never fails: malformed input gives whatever document the well-formed part of it
// describes.

enum class Align { Left, Center, Right, Justify };

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24; // \fsN: font size in half points
    int colorIndex = 0;  // \cfN: entry of the colour table; 0 is the automatic colour
    int fontIndex = 0;   // \fN: number of a font-table entry

    bool operator==(const CharFormat& o) const {
        return bold == o.bold && italic == o.italic && underline == o.underline &&
               halfPoints == o.halfPoints && colorIndex == o.colorIndex && fontIndex == o.fontIndex;
    }
    bool operator!=(const CharFormat& o) const { return !(*this == o); }
};

// Spacing and indents in twips (1/1440 inch).
struct ParaFormat {
    Align align = Align::Left;
    int spaceBefore = 0; // \sbN
    int spaceAfter = 0;  // \saN
    int leftIndent = 0;  // \liN
    int firstIndent = 0; // \fiN, relative to the left indent; negative for a hanging indent
};

struct Run {
    std::string text; // UTF-8
    CharFormat format;
};

struct Paragraph {
    ParaFormat format;
    // The character format of the paragraph mark: it sets the height of an empty line.
    CharFormat markFormat;
    std::vector<Run> runs;

    std::string Text() const;
};

struct Color {
    bool automatic = true; // an entry without colour values: the viewer's text colour
    std::uint8_t red = 0, green = 0, blue = 0;
};

struct Font {
    int number = 0;
    std::string name;
};

struct Document {
    std::vector<Font> fonts;
    std::vector<Color> colors; // index = \cfN
    int defaultFont = 0;       // \deffN
    std::vector<Paragraph> paragraphs;

    // The font-table name of font `number`, or an empty string.
    std::string FontName(int number) const;
    // All text, paragraphs separated by "\n".
    std::string PlainText() const;
};

// Limits that keep hostile input cheap: deeper groups are still balanced but not tracked,
// and numeric parameters saturate instead of overflowing.
inline constexpr int kMaxGroupDepth = 256;
inline constexpr int kMaxParameter = 1000000;

Document Parse(std::string_view rtf);

// The Unicode code point of a Windows-1252 byte; unassigned bytes give U+FFFD.
char32_t Windows1252ToUnicode(std::uint8_t byte);

} // namespace brimwell::rtf
