#include "text/TextLinks.h"

namespace brimwell {
namespace {

bool IsAsciiAlnum(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsMailLocalChar(char16_t c) {
    return IsAsciiAlnum(c) || c == u'.' || c == u'_' || c == u'%' || c == u'+' || c == u'-';
}

bool IsDomainChar(char16_t c) {
    return IsAsciiAlnum(c) || c == u'-';
}

bool IsSpace(char16_t c) {
    return c <= u' ' || c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool IsUrlChar(char16_t c) {
    return !IsSpace(c) && c != u'<' && c != u'>' && c != u'"';
}

// The end of a web address starting at `at`, or 0 when none starts there.
std::size_t WebAddressEnd(const std::u16string_view text, std::size_t at) {
    std::size_t prefix = 0;
    for (const std::u16string_view p : {u"https://", u"http://", u"www."}) {
        if (text.substr(at, p.size()) == p) {
            prefix = p.size();
            break;
        }
    }
    if (prefix == 0) {
        return 0;
    }
    std::size_t end = at + prefix;
    while (end < text.size() && IsUrlChar(text[end])) {
        ++end;
    }
    // A full stop, comma, bracket and the like at the end belong to the sentence.
    while (end > at + prefix &&
           std::u16string_view(u".,;:!?)").find(text[end - 1]) != std::u16string_view::npos) {
        --end;
    }
    return end >= at + prefix + 2 ? end : 0;
}

// The end of the domain of an e-mail address whose '@' is at `at` (two labels or more), or 0.
std::size_t MailDomainEnd(const std::u16string_view text, std::size_t at) {
    std::size_t end = 0;
    std::size_t labels = 0;
    std::size_t i = at + 1;
    while (true) {
        const std::size_t start = i;
        while (i < text.size() && IsDomainChar(text[i])) {
            ++i;
        }
        if (i == start) {
            break;
        }
        ++labels;
        end = i;
        if (i >= text.size() || text[i] != u'.') {
            break;
        }
        ++i;
    }
    return labels >= 2 ? end : 0;
}

} // namespace

// A web address wins over an e-mail address at the same place.
std::vector<std::pair<std::size_t, std::size_t>> FindAddresses(const std::u16string_view text) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    std::size_t runEnd = 0;  // end of the run of mail-local characters holding i
    std::size_t mailEnd = 0; // end of the e-mail address that run starts, or 0
    std::size_t i = 0;
    while (i < text.size()) {
        if (const std::size_t end = WebAddressEnd(text, i)) {
            found.emplace_back(i, end);
            i = end;
            runEnd = 0;
            continue;
        }
        if (IsMailLocalChar(text[i])) {
            if (i >= runEnd) {
                runEnd = i;
                while (runEnd < text.size() && IsMailLocalChar(text[runEnd])) {
                    ++runEnd;
                }
                mailEnd =
                    runEnd < text.size() && text[runEnd] == u'@' ? MailDomainEnd(text, runEnd) : 0;
            }
            if (mailEnd) {
                found.emplace_back(i, mailEnd);
                i = mailEnd;
                runEnd = 0;
                continue;
            }
        }
        ++i;
    }
    return found;
}

std::u16string AddressTarget(const std::u16string_view address) {
    const std::vector<std::pair<std::size_t, std::size_t>> found = FindAddresses(address);
    if (found.size() != 1 || found[0].first != 0 || found[0].second != address.size()) {
        return {};
    }
    const auto startsWith = [address](std::u16string_view prefix) {
        return address.substr(0, prefix.size()) == prefix;
    };
    if (startsWith(u"http://") || startsWith(u"https://")) {
        return std::u16string(address);
    }
    if (startsWith(u"www.")) {
        return u"https://" + std::u16string(address);
    }
    return u"mailto:" + std::u16string(address);
}

bool IsOpenableTarget(std::u16string_view target) {
    for (const std::u16string_view scheme : {u"mailto:", u"http://", u"https://"}) {
        if (target.substr(0, scheme.size()) == scheme) {
            return true;
        }
    }
    return false;
}

} // namespace brimwell
