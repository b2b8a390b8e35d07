#include "cli/CliText.h"

#include "text/Utf.h"

#include <algorithm>

namespace brimwell::cli {

std::string Fmt(const char* format, const std::vector<std::string>& args) {
    const std::string f = format ? format : "";
    std::string out;
    std::size_t next = 0; // the argument a plain "%s" takes
    std::size_t i = 0;
    while (i < f.size()) {
        if (f[i] != '%') {
            out += f[i++];
            continue;
        }
        if (i + 1 < f.size() && f[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        std::size_t at = i + 1;
        std::size_t number = 0;
        while (at < f.size() && f[at] >= '0' && f[at] <= '9' && number < 1000) {
            number = number * 10 + static_cast<std::size_t>(f[at++] - '0');
        }
        std::size_t index;
        if (at > i + 1 && at + 1 < f.size() && f[at] == '$' && f[at + 1] == 's' && number > 0) {
            index = number - 1;
            at += 2;
        } else if (at == i + 1 && at < f.size() && f[at] == 's') {
            index = next++;
            at += 1;
        } else {
            out += f[i++]; // not a placeholder of ours: the '%' as written
            continue;
        }
        if (index < args.size()) {
            out += args[index];
        } else {
            out.append(f, i, at - i);
        }
        i = at;
    }
    return out;
}

std::size_t Columns(const std::string& utf8) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < utf8.size(); ++columns) {
        DecodeUtf8(utf8, i);
    }
    return columns;
}

std::string Wrap(const std::string& lead, const std::string& text, std::size_t indent) {
    std::string out;
    std::string line = lead;
    std::size_t width = Columns(lead);
    bool hasWord = false;
    const auto endLine = [&] {
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out += line + "\n";
        line.assign(indent, ' ');
        width = indent;
        hasWord = false;
    };
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(" \n", start), text.size());
        if (end > start) {
            std::string word = text.substr(start, end - start);
            std::size_t columns = Columns(word);
            if (hasWord && width + 1 + columns > kHelpWidth) {
                endLine();
            }
            if (hasWord) {
                line += ' ';
                ++width;
            }
            // A word longer than the line is cut where the line ends, and goes on in the next.
            while (width + columns > kHelpWidth) {
                const std::size_t fits =
                    std::max<std::size_t>(kHelpWidth > width ? kHelpWidth - width : 0, 1);
                std::size_t cut = 0;
                for (std::size_t n = 0; n < fits; ++n) {
                    DecodeUtf8(word, cut);
                }
                line += word.substr(0, cut);
                word.erase(0, cut);
                columns -= fits;
                endLine();
            }
            line += word;
            width += columns;
            hasWord = !word.empty() || hasWord;
        }
        if (end < text.size() && text[end] == '\n') {
            endLine();
        }
        start = end + 1;
    }
    if (hasWord || line != std::string(indent, ' ') || out.empty()) {
        endLine();
    }
    return out;
}

std::string Rows(const std::vector<std::pair<std::string, std::string>>& rows,
                 std::size_t maxColumn) {
    std::size_t column = 0;
    for (const auto& row : rows) {
        column = std::max(column, 2 + Columns(row.first) + 2);
    }
    column = std::min(column, maxColumn);
    std::string out;
    for (const auto& [term, text] : rows) {
        std::string lead = "  " + term;
        const std::size_t width = Columns(lead);
        if (width + 2 > column) {
            out += lead + "\n";
            lead.clear();
        }
        lead.append(column - (lead.empty() ? 0 : width), ' ');
        out += Wrap(lead, text, column);
    }
    return out;
}

} // namespace brimwell::cli
