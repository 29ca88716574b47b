#include "TextFields.h"

namespace simcard {
namespace text {

std::optional<std::vector<std::string>> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : line) {
        if (quoted) {
            if (c == '"')
                quoted = false;
            else
                word.push_back(c);
            continue;
        }
        if (c == '#')
            break;
        if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word.push_back(c);
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.push_back(word);
    return words;
}

std::optional<std::pair<std::string, std::string>> SplitField(const std::string& word) {
    const auto eq = word.find('=');
    if (eq == std::string::npos || eq == 0)
        return std::nullopt;
    return std::make_pair(word.substr(0, eq), word.substr(eq + 1));
}

std::optional<std::uint64_t> ParseNumber(const std::string& text, std::uint64_t max) {
    std::size_t at = 0;
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        at = 2;
    }
    if (at >= text.size())
        return std::nullopt;
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        if (digit > max || value > (max - digit) / base)
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

std::optional<bool> ParseYesNo(const std::string& text) {
    if (text == "yes" || text == "on" || text == "1")
        return true;
    if (text == "no" || text == "off" || text == "0")
        return false;
    return std::nullopt;
}

} // namespace text
} // namespace simcard
