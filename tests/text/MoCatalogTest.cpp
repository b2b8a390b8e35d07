// The message catalogue reader: catalogues as msgfmt lays them out (either byte order), the
// plural rules of the languages in use, and damaged files refused without reading outside them.
#include "text/MoCatalog.h"
#include "support/MoFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace brimwell {
namespace {

using test::MoFile;

std::string Header(const std::string& pluralForms) {
    return "Content-Type: text/plain; charset=UTF-8\nPlural-Forms: " + pluralForms + "\n";
}

TEST(MoCatalog, FindsMessagesContextsAndPluralsInEitherByteOrder) {
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"", Header("nplurals=2; plural=(n != 1);")},
        {"Welcome", "Willkommen"},
        {std::string("button\x04Send"), "Senden"},
        {std::string("%u byte sent\0%u bytes sent", 27),
         std::string("%u Byte gesendet\0%u Bytes gesendet", 35)},
        {"Untranslated", ""},
    };
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        MoCatalog catalogue;
        ASSERT_TRUE(catalogue.Load(MoFile(entries, bigEndian)));
        EXPECT_STREQ(catalogue.Find("Welcome"), "Willkommen");
        EXPECT_EQ(catalogue.Find("Send"), nullptr); // only in its context
        EXPECT_STREQ(catalogue.Find("Send", "button"), "Senden");
        EXPECT_EQ(catalogue.Find("Welcome", "button"), nullptr);
        EXPECT_EQ(catalogue.Find("Untranslated"), nullptr);
        EXPECT_EQ(catalogue.Find("Missing"), nullptr);
        EXPECT_STREQ(catalogue.FindPlural("%u byte sent", 1), "%u Byte gesendet");
        EXPECT_STREQ(catalogue.FindPlural("%u byte sent", 0), "%u Bytes gesendet");
        EXPECT_STREQ(catalogue.FindPlural("%u byte sent", 12), "%u Bytes gesendet");
    }
}

TEST(MoCatalog, PluralRulesPickTheFormsOfEachLanguage) {
    struct Case {
        const char* pluralForms;
        std::map<unsigned long, unsigned long> forms; // n -> form
    };
    const Case cases[] = {
        {"nplurals=2; plural=(n != 1);", {{0, 1}, {1, 0}, {2, 1}}},          // de, nl, en
        {"nplurals=2; plural=(n > 1);", {{0, 0}, {1, 0}, {2, 1}, {100, 1}}}, // fr
        {"nplurals=1; plural=0;", {{0, 0}, {1, 0}, {7, 0}}},
        {"nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);",
         {{1, 0}, {2, 1}, {4, 1}, {5, 2}, {12, 2}, {22, 1}, {25, 2}, {112, 2}}}, // pl
        {"nplurals=3; plural=n%10==1 && n%100!=11 ? 0 : n != 0 ? 1 : 2;",
         {{0, 2}, {1, 0}, {11, 1}, {21, 0}}}, // lv
        {"nplurals=2; plural=!(n == 1);", {{1, 0}, {3, 1}}},
        {"nplurals=2; plural=n/0;", {{5, 0}}},             // no division by zero
        {"nplurals=2; plural=n+5;", {{0, 0}, {1, 0}}},     // beyond the forms: the first
        {"nplurals=2; plural=(n != 1;", {{1, 0}, {2, 1}}}, // unreadable: "n != 1"
        {"nplurals=0; plural=0;", {{1, 0}, {2, 1}}},
        {"plural=n>1;", {{1, 0}, {2, 1}}}, // without nplurals
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pluralForms);
        MoCatalog catalogue;
        ASSERT_TRUE(catalogue.Load(MoFile({{"", Header(c.pluralForms)}})));
        for (const auto& [n, form] : c.forms) {
            EXPECT_EQ(catalogue.PluralForm(n), form) << "n = " << n;
        }
    }
}

TEST(MoCatalog, AHostilePluralRuleIsRefusedNotFollowed) {
    const std::string deep = std::string(5000, '(') + "n" + std::string(5000, ')');
    const std::string negations = std::string(5000, '!') + "n";
    std::string wide = "n";
    for (int i = 0; i < 1000; ++i) {
        wide += "+n";
    }
    for (const std::string& rule : {deep, negations, wide, std::string("99999999999999999999")}) {
        MoCatalog catalogue;
        ASSERT_TRUE(catalogue.Load(MoFile({{"", Header("nplurals=2; plural=" + rule + ";")}})));
        EXPECT_EQ(catalogue.PluralForm(1), 0u);
        EXPECT_EQ(catalogue.PluralForm(2), 1u); // "n != 1" in its place
    }
}

TEST(MoCatalog, ADamagedCatalogueIsRefusedWhole) {
    const std::string good = MoFile({{"", Header("nplurals=2; plural=(n != 1);")}, {"A", "B"}});
    const auto changed = [&good](std::size_t at, char value) {
        std::string bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"shorter than the header", good.substr(0, 27)},
        {"wrong magic", changed(0, 0x00)},
        {"unknown major revision", changed(6, 0x02)},
        {"table past the end", changed(12, static_cast<char>(0xf0))},
        {"count past the end", changed(8, static_cast<char>(0xff))},
        {"string past the end", changed(28 + 12 + 3, static_cast<char>(0x7f))},
        {"string without its NUL", good.substr(0, good.size() - 1)},
        {"length running into the next string", changed(28 + 8, 5)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        MoCatalog catalogue;
        EXPECT_FALSE(catalogue.Load(bytes));
        EXPECT_FALSE(catalogue.IsLoaded());
        EXPECT_EQ(catalogue.Find("A"), nullptr);
    }
    MoCatalog catalogue;
    ASSERT_TRUE(catalogue.Load(good));
    EXPECT_FALSE(catalogue.Load("garbage")); // a failed load leaves nothing of the last one
    EXPECT_EQ(catalogue.Find("A"), nullptr);
    ASSERT_TRUE(catalogue.Load(good));
    const MoCatalog moved = std::move(catalogue);
    EXPECT_STREQ(moved.Find("A"), "B");
}

TEST(MoCatalog, TheLanguagesComeFromTheEnvironmentAsGettextReadsIt) {
    struct Case {
        std::map<std::string, std::string> env;
        std::vector<std::string> languages;
    };
    static std::map<std::string, std::string> g_env;
    const Case cases[] = {
        {{{"LANG", "de_AT.UTF-8"}}, {"de_AT", "de"}},
        {{{"LANG", "de_DE.UTF-8@euro"}}, {"de_DE", "de"}},
        {{{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "nl_BE.UTF-8"}}, {"nl_BE", "nl"}},
        {{{"LC_ALL", "fr_CH"}, {"LC_MESSAGES", "nl_BE.UTF-8"}}, {"fr_CH", "fr"}},
        {{{"LC_ALL", ""}, {"LANG", "nl"}}, {"nl"}},
        {{{"LANGUAGE", "nl:fr_FR"}, {"LANG", "de_DE.UTF-8"}}, {"nl", "fr_FR", "fr", "de_DE", "de"}},
        {{{"LANGUAGE", "de::de_CH"}, {"LANG", "de_DE"}}, {"de", "de_CH", "de_DE"}},
        {{{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}, {}}, // the C locale: English
        {{{"LANGUAGE", "de"}}, {}},
        {{{"LANG", "POSIX"}}, {}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        g_env = c.env;
        EXPECT_EQ(LanguagesFromEnvironment([](const char* name) -> const char* {
                      const auto it = g_env.find(name);
                      return it == g_env.end() ? nullptr : it->second.c_str();
                  }),
                  c.languages);
    }
    EXPECT_EQ(LanguageFallbacks("de-AT"), (std::vector<std::string>{"de_AT", "de"}));
}

} // namespace
} // namespace brimwell
