// Choosing the catalogue of the user's language: the first language with a readable catalogue,
// each with its regional fallback, English ending the search, damaged and missing catalogues
// passed over; and the translations the program then reads, with English wherever the
// catalogue has none.
#include "text/Translate.h"
#include "support/MoFile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace brimwell {
namespace {

using test::MoFile;

// A catalogue that names its language in the translation of "Stop".
std::string Catalogue(const std::string& language, const std::string& pluralForms) {
    return MoFile(
        {{"", "Content-Type: text/plain; charset=UTF-8\nPlural-Forms: " + pluralForms + "\n"},
         {"Stop", "Stop (" + language + ")"},
         {std::string("%lu byte") + '\0' + "%lu bytes", std::string("%lu one-" + language) + '\0' +
                                                            "%lu few-" + language + '\0' +
                                                            "%lu many-" + language},
         {std::string("button") + '\x04' + "Open", "Open (" + language + " button)"}});
}

TEST(Translate, ChoosesTheFirstLanguageWithAReadableCatalogue) {
    const std::string damaged = Catalogue("x", "nplurals=2; plural=n != 1;").substr(0, 40);
    const std::map<std::string, std::string> kept = {
        {"de", Catalogue("de", "nplurals=2; plural=n != 1;")},
        {"nl", Catalogue("nl", "nplurals=2; plural=n != 1;")},
        {"fr", Catalogue("fr", "nplurals=2; plural=n > 1;")},
        {"pl", Catalogue("pl", "nplurals=3; plural=n==1 ? 0 : n%10>=2 && n%10<=4 && "
                               "(n%100<10 || n%100>=20) ? 1 : 2;")},
        {"sv", damaged},
        {"../de", Catalogue("../de", "nplurals=2; plural=n != 1;")},
        {"pt_BR", Catalogue("pt_BR", "nplurals=2; plural=n > 1;")},
    };
    struct Case {
        std::vector<std::string> preferred;
        std::string chosen; // empty: English
    };
    const Case cases[] = {
        {{"de_AT", "de"}, "de"},                // a region falls back to its language
        {{"de-CH"}, "de"},                      // Windows' spelling of a region
        {{"pt_BR", "pt"}, "pt_BR"},             // the region's own catalogue first
        {{"pt_PT", "pt"}, ""},                  // no catalogue for either
        {{"sv_SE", "sv", "nl_BE", "nl"}, "nl"}, // a damaged catalogue is passed over
        {{"en_GB", "en", "de"}, ""},            // English ends the search: it needs none
        {{"fr_CA.UTF-8@euro"}, "fr"},
        {{"../de", "de/../../x"}, ""}, // never a path
        {{}, ""},
    };
    const auto read = [&kept](const std::string& language) -> std::optional<std::string> {
        const auto found = kept.find(language);
        return found == kept.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.preferred));
        ScopedCatalogue restore; // each case starts in English and leaves it so
        EXPECT_EQ(ChooseCatalogue(c.preferred, read), c.chosen);
        EXPECT_EQ(CurrentLanguage(), c.chosen);
        EXPECT_STREQ(Tr("Stop"), c.chosen.empty() ? "Stop" : ("Stop (" + c.chosen + ")").c_str());
    }
}

TEST(Translate, ReadsMessagesContextsAndPluralsWithEnglishForWhatIsMissing) {
    struct Case {
        const char* language;
        std::string catalogue;
        std::vector<std::string> expected; // Tr, a missing message, TrCtx, plurals 0 1 2 5 22
    };
    const Case cases[] = {
        {"",
         "",
         {"Stop", "Close", "Open", "%lu bytes", "%lu byte", "%lu bytes", "%lu bytes", "%lu bytes"}},
        {"de",
         Catalogue("de", "nplurals=2; plural=n != 1;"),
         {"Stop (de)", "Close", "Open (de button)", "%lu few-de", "%lu one-de", "%lu few-de",
          "%lu few-de", "%lu few-de"}},
        {"fr",
         Catalogue("fr", "nplurals=2; plural=n > 1;"),
         {"Stop (fr)", "Close", "Open (fr button)", "%lu one-fr", "%lu one-fr", "%lu few-fr",
          "%lu few-fr", "%lu few-fr"}},
        {"pl",
         Catalogue("pl", "nplurals=3; plural=n==1 ? 0 : n%10>=2 && n%10<=4 && "
                         "(n%100<10 || n%100>=20) ? 1 : 2;"),
         {"Stop (pl)", "Close", "Open (pl button)", "%lu many-pl", "%lu one-pl", "%lu few-pl",
          "%lu many-pl", "%lu few-pl"}},
        // A damaged catalogue leaves the program in English.
        {"",
         Catalogue("de", "nplurals=2; plural=n != 1;").substr(0, 27),
         {"Stop", "Close", "Open", "%lu bytes", "%lu byte", "%lu bytes", "%lu bytes", "%lu bytes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ScopedCatalogue scope(c.catalogue, c.language);
        EXPECT_EQ(CurrentLanguage(), c.language);
        std::vector<std::string> got = {Tr("Stop"), Tr("Close"), TrCtx("button", "Open")};
        for (unsigned long n : {0ul, 1ul, 2ul, 5ul, 22ul}) {
            got.push_back(TrPlural("%lu byte", "%lu bytes", n));
        }
        EXPECT_EQ(got, c.expected);
    }
    EXPECT_EQ(CurrentLanguage(), "");
}

} // namespace
} // namespace brimwell
