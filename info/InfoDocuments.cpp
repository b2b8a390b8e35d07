#include "info/InfoDocuments.h"

#include "text/Translate.h"
#include "text/Utf.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace brimwell {
namespace {

// Every document has one font, Arial, as font 0 and the default font, and its lines end with
// carriage returns. Sizes are in half points (\fs26 is 13 points), spacing and indents in twips.
constexpr const char* kHeader = R"({\rtf1\ansi\deff0 {\fonttbl {\f0 Arial;}})"
                                "\r";
constexpr const char* kBlackBlue = R"({\colortbl;\red0\green0\blue0;\red0\green0\blue255;})"
                                   "\r";
constexpr const char* kBlack = R"({\colortbl;\red0\green0\blue0;})"
                               "\r";

// The looks of the documents' paragraphs: everything a paragraph's RTF has before its text.
constexpr const char* kTitle = R"(\pard\ql\cf1\b\ul\fs32 )";
constexpr const char* kFirstBody = R"(\pard\ql\sb200\cf1\b0\ulnone\fs26 )";
constexpr const char* kBody = R"(\pard\ql\sb200 )";
constexpr const char* kItem = R"(\pard\ql\li250\sb80 \bullet  )";
constexpr const char* kAfterList = R"(\pard\ql\sb250 )";

// A paragraph: its look and its text, UTF-8; `translate` false for a name or an address.
struct Para {
    const char* look;
    const char* text;
    bool translate = true;
};

// The characters of Windows-1252 above 0x7F that are not Latin-1's: their code points for
// the bytes 0x80 to 0x9F (0 where the code page has none).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendHexByte(std::string& rtf, unsigned value) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\'%02x", value & 0xFFu);
    rtf += escaped;
}

// One UTF-16 unit as \uN with a '?' for readers without Unicode.
void AppendUnicode(std::string& rtf, unsigned unit) {
    rtf += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(unit))) + "?";
}

// A paragraph's text as RTF: the RTF specials escaped, <b>...</b> as bold, the characters
// beyond ASCII as Windows-1252 escapes where the code page has them, else as \uN.
void AppendText(std::string& rtf, const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.compare(at, 3, "<b>") == 0) {
            rtf += "{\\b ";
            at += 3;
            continue;
        }
        if (text.compare(at, 4, "</b>") == 0) {
            rtf += "}";
            at += 4;
            continue;
        }
        const char32_t decoded = DecodeUtf8(text, at);
        const char32_t cp = decoded == kUtfInvalid ? U'\uFFFD' : decoded;
        if (cp == '\\' || cp == '{' || cp == '}') {
            rtf += '\\';
            rtf += static_cast<char>(cp);
        } else if (cp >= 0x20 && cp < 0x7F) {
            rtf += static_cast<char>(cp);
        } else if (cp >= 0xA0 && cp <= 0xFF) {
            AppendHexByte(rtf, static_cast<unsigned>(cp));
        } else if (cp < 0x20 || cp == 0x7F) {
            rtf += ' '; // no control characters inside a paragraph
        } else {
            bool mapped = false;
            for (unsigned i = 0; i < 32 && !mapped; ++i) {
                if (kCp1252High[i] == cp) {
                    AppendHexByte(rtf, 0x80 + i);
                    mapped = true;
                }
            }
            if (!mapped && cp <= 0xFFFF) {
                AppendUnicode(rtf, static_cast<unsigned>(cp));
            } else if (!mapped) {
                const char32_t v = cp - 0x10000;
                AppendUnicode(rtf, 0xD800 + static_cast<unsigned>(v >> 10));
                AppendUnicode(rtf, 0xDC00 + static_cast<unsigned>(v & 0x3FF));
            }
        }
    }
}

std::string Document(const char* colours, const std::vector<Para>& paragraphs) {
    std::string rtf = kHeader;
    rtf += colours;
    for (const Para& p : paragraphs) {
        rtf += p.look;
        AppendText(rtf, p.translate ? Tr(p.text) : p.text);
        rtf += "\\par\r";
    }
    return rtf + "}";
}

} // namespace

// Five centred bold paragraphs. The first leaves room above it for the banner picture that
// the about page lays over the top of the view.
std::string AboutRtf() {
    char version[160];
    // TRANSLATORS: the about page's first line; %s is the version, such as 1.4.0.
    std::snprintf(version, sizeof version, Tr("Brimwell Utility \u2013 Version %s"),
                  BRIMWELL_VERSION);
    char telephone[160];
    // TRANSLATORS: %s is the telephone number, written as callers abroad dial it.
    std::snprintf(telephone, sizeof telephone, Tr("Telephone %s"), "+44 (0)1632 960 500");
    return Document(kBlackBlue,
                    {
                        {R"(\pard\qc\sb4200\cf1\b\fs32 )", version, false},
                        {R"(\pard\qc\sb1000\cf1\b\fs32 )", "Brimwell Ltd", false},
                        {R"(\pard\qc\sb200\cf2\b\fs26 )", "customercare@brimwell.example", false},
                        {R"(\pard\qc\sb100\cf2\b\fs26 )", "www.brimwell.example", false},
                        {R"(\pard\qc\sb200\cf1\b\fs26 )", telephone, false},
                    });
}

std::string ConnectingRtf(ConnectingSystem system) {
    std::vector<Para> paragraphs = {
        {kTitle, N_("Connecting a Printer")},
        {kFirstBody,
         N_("Newer Brimwell printers can be connected to the computer with a USB cable or "
            "through a USB-to-Parallel adapter. Older Brimwell printers have no USB connection "
            "and need a USB-to-Parallel adapter.")},
        {kBody, N_("The utility notices by itself when USB printers and USB-to-Parallel "
                   "adapters are present, connected or disconnected. When exactly one printer or "
                   "adapter is found, it becomes the target printer automatically. On some "
                   "computers several printers or adapters are found: identify the right one "
                   "and select it in the printer list.")},
    };
    if (system == ConnectingSystem::Linux) {
        paragraphs.push_back(
            {kBody,
             N_("On Linux a job goes to the printer\u2019s device node, such as /dev/usb/lp0. The "
                "udev rule 70-brimwell.rules, installed with the utility, lets the signed-in user "
                "write to Brimwell printers and adapters. If the printer is listed but a job "
                "cannot be sent, add your account to the group lp and sign in again.")});
    } else {
        paragraphs.push_back(
            {kBody,
             N_("On Windows the printer needs no driver of its own: Windows\u2019 own USB printer "
                "driver, USB Printing Support, takes it the first time it is plugged in. If the "
                "printer is not listed, switch it on, then try another USB cable or another USB "
                "port. In Device Manager the printer or adapter then shows a USB Printing "
                "Support entry under Universal Serial Bus controllers; if it stands elsewhere, "
                "for example under Other devices, or a generic USB driver installed by another "
                "program has replaced the printer\u2019s, uninstall that device and plug the "
                "printer in again. In a Command Prompt, brimwell-cli doctor tells what the "
                "computer sees of the printer.")});
    }
    return Document(kBlack, paragraphs);
}

std::string FirmwareRtf() {
    return Document(
        kBlack,
        {
            {kTitle, N_("Updating Printer Firmware")},
            {kFirstBody,
             N_("On power-up the Brimwell printer runs a BASIC program stored in 'AUTO.BAS'. The "
                "utility takes a firmware update file, usually with a '.tpl' extension, parses "
                "and validates it, and sends it to the printer, where it is stored as "
                "'AUTO.BAS'.")},
            // TRANSLATORS: the words between <b> and </b> are shown in bold; keep the marks.
            {kBody, N_("During parsing some characters or whole lines are stripped from the input "
                       "and <b>are not</b> sent to the printer:")},
            {kItem, N_("Trailing whitespace at the end of lines is stripped.")},
            {kItem, N_("Blank lines are stripped.")},
            {kItem, N_("Lines that begin with a '*' character are stripped. This allows comments, "
                       "version information and the like anywhere in the file.")},
            {kAfterList, N_("After stripping, the remaining content is validated before it is "
                            "sent. Content that does not meet the following rules is rejected:")},
            // TRANSLATORS: the quoted texts are lines of the firmware file: keep them as they are.
            {kItem, N_("The first remaining line must be 'DOWNLOAD \"AUTO.BAS\"'.")},
            {kItem, N_("The penultimate remaining line must be 'EOP'.")},
            {kItem, N_("The final remaining line must be 'MOVE'.")},
            {kAfterList, N_("After a firmware update the printer must be power-cycled (switched "
                            "off and on again) to run the new firmware.")},
        });
}

std::string LogosRtf() {
    return Document(
        kBlack,
        {
            {kTitle, N_("Creating Logo Files")},
            {kFirstBody, N_("If you know a paint or graphics program, you can make your own logo "
                            "files. Low-resolution pictures copied from a web site are generally "
                            "not suitable.")},
            {kBody, N_("The largest permitted logo is 360 x 360 pixels. For some tester types a "
                       "smaller logo is needed, so that it does not overlap the product ID "
                       "barcode.")},
            {kBody, N_("Plan the space of the logo: graphics, the text it must carry, and contact "
                       "details such as telephone numbers if you offer a testing and tagging "
                       "service.")},
            {kBody, N_("Accepted files are .PCX, or uncompressed Windows .BMP, with these bits per "
                       "pixel: PCX 1 or 8 bpp; BMP 1, 4, 8 or 24 bpp.")},
            {kBody, N_("The printer prints with a wax ribbon and cannot reproduce shades of grey "
                       "or colours. Every picture is therefore thresholded into an internal "
                       "black-and-white picture of one bit per pixel, which the preview shows and "
                       "which is sent to the printer.")},
            {kBody, N_("The utility previews the logo inside a drawing of a printed label, which "
                       "shows its orientation against the fold line and the other text of the "
                       "label. Logos can be rotated or inverted before they are sent.")},
            {kBody, N_("Printing large black areas at higher (darker) print density values can "
                       "make printing fail by overheating the print head and/or melting the wax "
                       "ribbon.")},
        });
}

const char* TextInfoRtf(int nTextIndex) {
    if (nTextIndex < 0 || nTextIndex >= TEXT_INFO_COUNT) {
        return "";
    }
    // Made once per language and kept: the page streams the text from the pointer.
    static std::mutex lock;
    static std::map<std::pair<const MoCatalog*, int>, std::string> made;
    const std::lock_guard<std::mutex> hold(lock);
    const auto key = std::make_pair(CurrentCatalogue(), nTextIndex);
    auto found = made.find(key);
    if (found == made.end()) {
        std::string rtf;
        switch (nTextIndex) {
        case TEXT_INFO_ABOUT:
            rtf = AboutRtf();
            break;
        case TEXT_INFO_CONNECTING:
            rtf = ConnectingRtf(ThisSystem());
            break;
        case TEXT_INFO_FIRMWARE:
            rtf = FirmwareRtf();
            break;
        default:
            rtf = LogosRtf();
            break;
        }
        found = made.emplace(key, std::move(rtf)).first;
    }
    return found->second.c_str();
}

} // namespace brimwell
