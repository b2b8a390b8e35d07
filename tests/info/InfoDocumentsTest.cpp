#include "info/InfoDocuments.h"
#include "text/RtfReader.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brimwell::test {
namespace {

using namespace rtf;

// One paragraph's look in a line: alignment, space before, indents, then each run as
// [B]old [U]nderline size c colour, e.g. "C sb200 | B13c2".
std::string Shape(const Paragraph& p) {
    std::string s(1, "LCRJ"[static_cast<int>(p.format.align)]);
    s += " sb" + std::to_string(p.format.spaceBefore);
    if (p.format.leftIndent != 0) {
        s += " li" + std::to_string(p.format.leftIndent);
    }
    if (p.format.firstIndent != 0) {
        s += " fi" + std::to_string(p.format.firstIndent);
    }
    s += " |";
    for (const Run& r : p.runs) {
        s += std::string(" ") + (r.format.bold ? "B" : "") + (r.format.underline ? "U" : "") +
             std::to_string(r.format.halfPoints / 2) + (r.format.halfPoints % 2 ? ".5" : "") + "c" +
             std::to_string(r.format.colorIndex);
    }
    return s;
}

std::vector<std::string> Repeat(int n, const std::string& shape) {
    return std::vector<std::string>(static_cast<std::size_t>(n), shape);
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Case {
    const char* name;
    std::string rtf;
    std::vector<std::string> shapes;
    std::vector<std::string> phrases; // each must appear in the plain text
    std::string exactText = {};       // without phrases: the whole plain text
    std::function<void(const Document&)> more = {};
};

const std::string kTitle = "L sb0 | BU16c1";
const std::string kBody = "L sb200 | 13c1";
const std::string kItem = "L sb80 li250 | 13c1";
const std::string kAfterList = "L sb250 | 13c1";

TEST(RtfReader, ReadsTheFourDocumentsAndSurvivesMalformedInput) {
    const Case cases[] = {
        {"about",
         AboutRtf(),
         {"C sb4200 | B16c1", "C sb1000 | B16c1", "C sb200 | B13c2", "C sb100 | B13c2",
          "C sb200 | B13c1"},
         {"Brimwell Utility \u2013 Version " BRIMWELL_VERSION "\nBrimwell Ltd\n", "@"},
         "",
         [](const Document& d) {
             ASSERT_EQ(d.colors.size(), 3u);
             EXPECT_TRUE(d.colors[0].automatic);
             EXPECT_EQ(d.colors[1].red + d.colors[1].green + d.colors[1].blue, 0); // black
             EXPECT_EQ(d.colors[2].red + d.colors[2].green, 0);                    // blue
             EXPECT_EQ(d.colors[2].blue, 255);
         }},
        {"connecting on Linux",
         ConnectingRtf(ConnectingSystem::Linux),
         std::vector<std::string>{kTitle} + Repeat(3, kBody),
         {"Connecting a Printer\nNewer Brimwell printers", "USB-to-Parallel adapter",
          "printer\u2019s device node", "/dev/usb/lp0", "70-brimwell.rules", "group lp"}},
        {"connecting on Windows",
         ConnectingRtf(ConnectingSystem::Windows),
         std::vector<std::string>{kTitle} + Repeat(3, kBody),
         {"Connecting a Printer\nNewer Brimwell printers", "USB-to-Parallel adapter",
          "USB Printing Support", "another USB cable", "Device Manager", "generic USB driver",
          "brimwell-cli doctor"},
         "",
         [](const Document& d) {
             // Nothing of Linux's device nodes, udev or groups.
             for (const char* linuxOnly : {"/dev/", "udev", "group lp"}) {
                 EXPECT_EQ(d.PlainText().find(linuxOnly), std::string::npos) << linuxOnly;
             }
             // The two paragraphs every system shares, word for word.
             const Document onLinux = Parse(ConnectingRtf(ConnectingSystem::Linux));
             for (std::size_t i = 0; i < 3; ++i) {
                 EXPECT_EQ(d.paragraphs[i].runs[0].text, onLinux.paragraphs[i].runs[0].text) << i;
             }
         }},
        {"firmware",
         FirmwareRtf(),
         std::vector<std::string>{kTitle, kBody, "L sb200 | 13c1 B13c1 13c1"} + Repeat(3, kItem) +
             std::vector<std::string>{kAfterList} + Repeat(3, kItem) +
             std::vector<std::string>{kAfterList},
         {"Updating Printer Firmware\nOn power-up", "'AUTO.BAS'", "'.tpl'",
          "'DOWNLOAD \"AUTO.BAS\"'", "'EOP'", "'MOVE'", "power-cycled"},
         "",
         [](const Document& d) { EXPECT_EQ(d.paragraphs[2].runs[1].text, "are not"); }},
        {"logos",
         LogosRtf(),
         std::vector<std::string>{kTitle} + Repeat(7, kBody),
         {"Creating Logo Files\n", "360 x 360", "PCX 1 or 8 bpp; BMP 1, 4, 8 or 24 bpp",
          "wax ribbon"}},
        {"unbalanced opening braces",
         "{\\rtf1{{{\\b bold {\\ul under",
         {"L sb0 | B12c0 BU12c0"},
         {},
         "bold under"},
        {"stray closing braces", "}}}a\\par}b}", {"L sb0 | 12c0", "L sb0 | 12c0"}, {}, "a\nb"},
        {"truncated and bad hex escapes", "{\\rtf1 caf\\'e9\\'zz\\'4", {}, {}, "caf\u00e9zz"},
        {"huge numbers clamp",
         "{\\rtf1\\fs99999999999\\sb-99999999999\\li2147483648\\fi-99999\\cf4294967296 x\\par}",
         {"L sb0 li31680 fi-31680 | 1000c1000000"},
         {},
         "x"},
        {"escaped characters, code page and unicode",
         "{\\rtf1 \\\\ \\{x\\} a\\~b \\'80\\'81 \\uc1\\u8364?\\u-10179?\\u-8704? end}",
         {},
         {},
         "\\ {x} a\u00a0b \u20ac\ufffd \u20ac\U0001F600 end"},
        {"destinations and unknown words skipped",
         "{\\rtf1{\\*\\generator Writer 1.0;}{\\info{\\title T}}{\\stylesheet{\\s0 N;}}\\foo42 "
         "\\zzz keep{\\*\\unknown gone}\\par}",
         {},
         {},
         "keep"},
        {"binary data skipped", "{\\rtf1 a{\\*\\blip\\bin4 {}\\x}b\\bin99999", {}, {}, "ab"},
        {"deep nesting",
         std::string(600, '{') + "\\b deep" + std::string(600, '}') + " after",
         {"L sb0 | B12c0 12c0"},
         {},
         "deep after"},
        {"empty input", "", {}, {}, ""},
        {"font and colour tables",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f3\\fswiss Liberation Sans;}}"
         "{\\colortbl;\\red300\\green-5\\blue128;;}\\f3\\cf1 x}",
         {},
         {},
         "x",
         [](const Document& d) {
             EXPECT_EQ(d.FontName(3), "Liberation Sans");
             ASSERT_EQ(d.colors.size(), 3u);
             EXPECT_FALSE(d.colors[1].automatic);
             EXPECT_EQ(d.colors[1].red, 255); // clamped to the byte
             EXPECT_EQ(d.colors[1].green, 0);
             EXPECT_EQ(d.colors[1].blue, 128);
             EXPECT_TRUE(d.colors[2].automatic);
             EXPECT_EQ(d.paragraphs[0].runs[0].format.fontIndex, 3);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Document doc = Parse(c.rtf);
        if (!c.shapes.empty()) {
            std::vector<std::string> shapes;
            for (const Paragraph& p : doc.paragraphs) {
                shapes.push_back(Shape(p));
            }
            EXPECT_EQ(shapes, c.shapes);
        }
        const std::string text = doc.PlainText();
        for (const std::string& phrase : c.phrases) {
            EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
        }
        if (c.phrases.empty()) {
            EXPECT_EQ(text, c.exactText);
        }
        if (c.more) {
            c.more(doc);
        }
    }
}

TEST(RtfReader, EveryDocumentStartsWithItsOneFontAndEndsLinesWithCarriageReturns) {
    for (int i = -1; i <= TEXT_INFO_COUNT; ++i) {
        const std::string rtf = TextInfoRtf(i);
        if (i < 0 || i >= TEXT_INFO_COUNT) {
            EXPECT_EQ(rtf, "") << i;
            continue;
        }
        EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\deff0 {\\fonttbl {\\f0 Arial;}}\r", 0), 0u) << i;
        EXPECT_EQ(rtf.find('\n'), std::string::npos) << i;
        const Document doc = Parse(rtf);
        ASSERT_EQ(doc.fonts.size(), 1u);
        EXPECT_EQ(doc.fonts[0].name, "Arial");
        EXPECT_EQ(doc.fonts[0].number, 0);
    }
}

} // namespace
} // namespace brimwell::test
