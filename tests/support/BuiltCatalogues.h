#pragma once
// The catalogues this build compiled (BRIMWELL_LOCALE_DIR, the build's share/locale), for tests
// that speak the shipped languages and the pseudo-language.
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace brimwell::test {

// English (no catalogue), then every language the build compiles a catalogue for.
inline constexpr const char* kEnglish = "en";
inline const std::vector<std::string>& BuiltLanguages() {
    static const std::vector<std::string> languages = {kEnglish, "de", "nl", "fr", "qps"};
    return languages;
}

// The catalogue of `language` as the build compiled it; empty for English; nothing when the
// build made none.
inline std::optional<std::string> BuiltCatalogue(const std::string& language) {
    if (language == kEnglish) {
        return std::string();
    }
    const std::string path =
        std::string(BRIMWELL_LOCALE_DIR) + "/" + language + "/LC_MESSAGES/brimwell.mo";
    // Under Wine a Linux path names the current drive's folder; the root is also drive Z:.
    for (const std::string& at : {path, "Z:" + path}) {
        std::ifstream in(at, std::ios::binary);
        if (in) {
            std::ostringstream bytes;
            bytes << in.rdbuf();
            return bytes.str();
        }
    }
    return std::nullopt;
}

} // namespace brimwell::test
