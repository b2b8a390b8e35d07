#include "platform/Languages.h"

#include "text/Translate.h"
#include "text/Utf.h"

#include <windows.h>

namespace brimwell {

std::vector<std::string> UserLanguages() {
    // "de-DE\0en-US\0\0": the user's UI languages, best first.
    ULONG count = 0;
    ULONG chars = 0;
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &chars) || chars == 0) {
        return {};
    }
    std::wstring names(chars, L'\0');
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &chars)) {
        return {};
    }
    std::vector<std::string> languages;
    for (std::size_t at = 0; at < names.size() && names[at] != L'\0';) {
        const std::size_t end = names.find(L'\0', at);
        const std::wstring name = names.substr(at, end - at);
        for (std::string& fallback : LanguageFallbacks(Utf8FromUtf16(std::u16string_view(
                 reinterpret_cast<const char16_t*>(name.data()), name.size())))) {
            languages.push_back(std::move(fallback));
        }
        if (end == std::wstring::npos) {
            break;
        }
        at = end + 1;
    }
    return languages;
}

std::optional<std::string> ReadCatalogue(const std::string& language) {
    // The catalogues are RCDATA resources named MO_<LANGUAGE>, such as MO_DE.
    std::wstring name = L"MO_";
    for (const char c : language) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '-')) {
            return std::nullopt;
        }
        name += static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : (c == '-' ? '_' : c));
    }
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) {
        return std::nullopt;
    }
    HGLOBAL loaded = ::LoadResource(module, found);
    const DWORD size = ::SizeofResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(bytes), size);
}

std::string UseUserLanguage() {
    return ChooseCatalogue(UserLanguages(), &ReadCatalogue);
}

} // namespace brimwell
