#include "tester/UserNameCodec.h"

#include "platform/Utf.h"

#include <algorithm>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace brimwell {
namespace {

constexpr char32_t kInvalid = kUtfInvalid;

#ifndef _WIN32
// Windows code page 1252, bytes 0x80 to 0x9F. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as Windows does.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr char kDefaultChar = '?';

char ToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (int k = 0; k < 32; ++k) {
        if (kCp1252High[k] == cp) {
            return static_cast<char>(0x80 + k);
        }
    }
    return kDefaultChar;
}
#endif

} // namespace

std::size_t Utf16Length(const std::string& utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
        units += (cp != kInvalid && cp > 0xFFFF) ? 2 : 1;
    }
    return units;
}

#ifdef _WIN32

// One character at a time, so that each character the code page lacks (a malformed byte, a
// character beyond the BMP) becomes one default character, as elsewhere.
std::string UserNameToPrinterBytes(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
        if (cp == 0) {
            break;
        }
        if (cp == kInvalid) {
            bytes += '?';
            continue;
        }
        wchar_t units[2];
        int unitCount = 1;
        if (cp > 0xFFFF) {
            units[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            units[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            unitCount = 2;
        } else {
            units[0] = static_cast<wchar_t>(cp);
        }
        // Without WC_NO_BEST_FIT_CHARS Windows would write a look-alike ("Omega" for "Ωmega")
        // instead of the default character, and send a name the user did not type.
        char out[8];
        BOOL usedDefault = FALSE;
        int length = WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, units, unitCount, out,
                                         sizeof out, nullptr, &usedDefault);
        if (length <= 0) {
            return {}; // a failed conversion gives an empty name
        }
        if (usedDefault && unitCount == 2) {
            length /= 2; // one default character for the pair, not one per half
        }
        bytes.append(out, static_cast<std::size_t>(length));
    }
    return bytes;
}

#else

std::string UserNameToPrinterBytes(const std::string& utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = DecodeUtf8(utf8, i);
        if (cp == 0) {
            break;
        }
        bytes += cp == kInvalid ? kDefaultChar : ToCp1252(cp);
    }
    return bytes;
}

#endif

void KeepUserNameOneLine(std::u16string& text, std::size_t& cursor) {
    cursor = std::min(cursor, text.size());
    for (std::size_t i = 0; i < cursor; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            text.erase(i, cursor - i);
            cursor = i;
            break;
        }
    }
    std::u16string kept;
    kept.reserve(text.size());
    std::size_t keptBeforeCursor = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 32 || text[i] == 127) {
            continue;
        }
        kept.push_back(text[i]);
        keptBeforeCursor += i < cursor ? 1 : 0;
    }
    text = std::move(kept);
    cursor = keptBeforeCursor;
}

} // namespace brimwell
