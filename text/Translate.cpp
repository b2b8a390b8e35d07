#include "text/Translate.h"

#include <mutex>
#include <set>
#include <utility>

namespace brimwell {
namespace {

const MoCatalog* g_current = nullptr;

std::string& CurrentLanguageText() {
    static std::string language;
    return language;
}

// Every catalogue ever made current: texts handed out point into them.
const MoCatalog* Keep(std::unique_ptr<MoCatalog> catalogue) {
    static std::mutex lock;
    static std::vector<std::unique_ptr<MoCatalog>> kept;
    if (!catalogue) {
        return nullptr;
    }
    const std::lock_guard<std::mutex> hold(lock);
    kept.push_back(std::move(catalogue));
    return kept.back().get();
}

// A language name as catalogues are named: letters, digits, '_' and '-' ("de", "pt_BR",
// "sr-Latn"); never a path.
bool IsLanguageName(const std::string& name) {
    if (name.empty() || name.size() > 32) {
        return false;
    }
    for (const char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool IsEnglish(const std::string& name) {
    return name == "en" || name.rfind("en_", 0) == 0 || name.rfind("en-", 0) == 0;
}

} // namespace

const char* Tr(const char* msgid) {
    if (g_current && msgid && *msgid) {
        if (const char* text = g_current->Find(msgid)) {
            return text;
        }
    }
    return msgid;
}

const char* TrCtx(const char* context, const char* msgid) {
    if (g_current && msgid && *msgid) {
        if (const char* text = g_current->Find(msgid, context ? context : "")) {
            return text;
        }
    }
    return msgid;
}

const char* TrPlural(const char* singular, const char* plural, unsigned long n) {
    if (g_current && singular) {
        if (const char* text = g_current->FindPlural(singular, n)) {
            return text;
        }
    }
    return n == 1 ? singular : plural;
}

const MoCatalog* CurrentCatalogue() {
    return g_current;
}

const std::string& CurrentLanguage() {
    return CurrentLanguageText();
}

void UseCatalogue(std::unique_ptr<MoCatalog> catalogue, const std::string& language) {
    g_current = Keep(std::move(catalogue));
    CurrentLanguageText() = g_current ? language : std::string();
}

std::string ChooseCatalogue(const std::vector<std::string>& preferred,
                            const CatalogueReader& read) {
    std::set<std::string> tried;
    for (const std::string& wanted : preferred) {
        for (const std::string& name : LanguageFallbacks(wanted)) {
            if (IsEnglish(name)) {
                UseCatalogue(nullptr, "");
                return "";
            }
            if (!IsLanguageName(name) || !tried.insert(name).second || !read) {
                continue;
            }
            if (auto bytes = read(name)) {
                auto catalogue = std::make_unique<MoCatalog>();
                if (catalogue->Load(std::move(*bytes))) {
                    UseCatalogue(std::move(catalogue), name);
                    return name;
                }
            }
        }
    }
    UseCatalogue(nullptr, "");
    return "";
}

ScopedCatalogue::ScopedCatalogue()
    : m_previous(g_current), m_previousLanguage(CurrentLanguageText()) {
    g_current = nullptr;
    CurrentLanguageText().clear();
}

ScopedCatalogue::ScopedCatalogue(const std::string& bytes, const std::string& language)
    : m_previous(g_current), m_previousLanguage(CurrentLanguageText()) {
    auto catalogue = std::make_unique<MoCatalog>();
    if (catalogue->Load(bytes)) {
        UseCatalogue(std::move(catalogue), language);
    } else {
        UseCatalogue(nullptr, "");
    }
}

ScopedCatalogue::~ScopedCatalogue() {
    g_current = m_previous;
    CurrentLanguageText() = m_previousLanguage;
}

} // namespace brimwell
