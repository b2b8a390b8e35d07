#pragma once
// Where the program's language comes from and where its catalogues are kept, per system.
#include <optional>
#include <string>
#include <vector>

namespace brimwell {

// The user's languages, best first, with their regional fallbacks ("de_AT", "de"): on Linux
// from LANGUAGE, LC_ALL, LC_MESSAGES and LANG as gettext reads them; on Windows the user's
// preferred UI languages (GetUserPreferredUILanguages).
std::vector<std::string> UserLanguages();

// The compiled catalogue (.mo) of a language, or nothing. Linux: the file
// <locale dir>/<language>/LC_MESSAGES/brimwell.mo, where the locale dir is BRIMWELL_LOCALEDIR
// when set, else ../share/locale beside the program's folder (the installed tree and the
// build tree alike); Windows: the catalogue built into the program.
std::optional<std::string> ReadCatalogue(const std::string& language);

// Makes the catalogue of the user's language current (English when none matches) and returns
// its language; the programs call it once at start.
std::string UseUserLanguage();

} // namespace brimwell
