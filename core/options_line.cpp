#include "core/options_line.h"

#include <algorithm>

namespace tarvel {

namespace {

// A ';' outside quotes ends a piece (unless it opens one); the pieces are written with CR LF
// between them, but no break goes before a rest made only of ';'.
std::string BreakAtSeparators(std::string_view line) {
    std::string text;
    char openQuote = 0;
    std::size_t pieceStart = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (openQuote != 0) {
            if (c == openQuote) {
                openQuote = 0;
            }
            continue;
        }
        if (c == '"' || c == '\'') {
            openQuote = c;
        } else if (c == ';' && i != pieceStart) {
            text.append(line.substr(pieceStart, i + 1 - pieceStart));
            const std::string_view rest = line.substr(i + 1);
            if (rest.find_first_not_of(';') != std::string_view::npos) {
                text += "\r\n";
            }
            pieceStart = i + 1;
        }
    }
    text.append(line.substr(pieceStart));
    return text;
}

} // namespace

std::string OptionsToLines(std::string_view optionsLine) {
    std::string text = BreakAtSeparators(optionsLine);
    text.erase(std::remove(text.begin(), text.end(), ';'), text.end());
    return text;
}

std::vector<std::string> SplitItems(std::string_view text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        items.emplace_back(text.substr(start, i - start));
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size()) {
        items.emplace_back(text.substr(start));
    }
    return items;
}

} // namespace tarvel
