#include "platform/AnsiCodePage.h"

#include <windows.h>

namespace brimwell {

std::optional<std::string> CharToAnsiCodePage(char32_t cp) {
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
        return std::nullopt;
    }
    if (usedDefault && unitCount == 2) {
        length /= 2; // one default character for the pair, not one per half
    }
    return std::string(out, static_cast<std::size_t>(length));
}

} // namespace brimwell
