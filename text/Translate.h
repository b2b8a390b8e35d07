#pragma once
// The program's texts in the user's language: every text a person reads (window texts,
// message boxes, accessible names, the help documents, the companion's human messages) goes
// through Tr() where it is shown; printer bytes, tester type names and printer file names
// never do. English is the source language: without a catalogue, Tr() returns its argument.
//
// The catalogue template (po/brimwell.pot) is made by xgettext from the calls below and the
// N_() marks (scripts/update-pot.sh); keep the message in the call as a string literal.
#include "text/MoCatalog.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Marks a text for the catalogue where it is defined (a table, a constant); it is translated
// with Tr() where it is shown.
#define N_(text) text
// The same, with a context that tells two equal English texts apart.
#define NC_(context, text) text

namespace brimwell {

// The current catalogue's translation of `msgid`, or `msgid` itself. The returned text lives
// as long as the program (catalogues are never unloaded).
const char* Tr(const char* msgid);
// The same for a message in a context.
const char* TrCtx(const char* context, const char* msgid);
// The form of a counted message for `n`: with the catalogue's plural rule, or English's
// (`singular` for 1, `plural` otherwise).
const char* TrPlural(const char* singular, const char* plural, unsigned long n);

// The current catalogue; nullptr for English. Catalogues are never unloaded, so it also names
// the language a cache of translated texts was made for.
const MoCatalog* CurrentCatalogue();

// The language of the current catalogue ("de", "nl", ...); empty for English.
const std::string& CurrentLanguage();

// Makes `catalogue` the current one, for `language`; nullptr: English. Call it on the
// window's thread before other threads read texts (at start, or in a test); the catalogue
// is kept to the end of the process, since texts handed out point into it.
void UseCatalogue(std::unique_ptr<MoCatalog> catalogue, const std::string& language);

// Reads a catalogue's bytes for a language name ("de_AT", "de"), or nothing when there is none.
using CatalogueReader = std::function<std::optional<std::string>(const std::string& language)>;

// The first language of `preferred` (best first, as LanguagesFromEnvironment or the Windows
// user's UI languages give them) that has a readable catalogue, with each name's fallbacks
// ("de_AT" then "de"); English ends the search: "en" and its variants need none. Makes that
// catalogue current and returns its language; empty (English) when none matched.
std::string ChooseCatalogue(const std::vector<std::string>& preferred, const CatalogueReader& read);

// Makes another catalogue current for a scope and restores the one before: the tests' way to
// speak another language, and the companion's way to keep --json output in English.
class ScopedCatalogue {
public:
    // English for the scope.
    ScopedCatalogue();
    // The catalogue in `bytes` (a .mo file) for the scope; English when they are no catalogue.
    ScopedCatalogue(const std::string& bytes, const std::string& language);
    ~ScopedCatalogue();
    ScopedCatalogue(const ScopedCatalogue&) = delete;
    ScopedCatalogue& operator=(const ScopedCatalogue&) = delete;

private:
    const MoCatalog* m_previous;
    std::string m_previousLanguage;
};

} // namespace brimwell
