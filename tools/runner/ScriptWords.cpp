#include "ScriptWords.h"

#include <cctype>
#include <cstdio>

namespace runner {

bool SplitWords(const std::string& line, std::vector<Word>* words, std::string* error) {
    words->clear();
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        Word word;
        word.offset = i;
        if (c == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char q = line[i++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q == '\\') {
                    if (i >= line.size() || (line[i] != '"' && line[i] != '\\')) {
                        *error = "bad escape in quoted text (only \\\" and \\\\)";
                        return false;
                    }
                    word.text += line[i++];
                    continue;
                }
                word.text += q;
            }
            if (!closed) {
                *error = "quoted text is not closed";
                return false;
            }
            if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '#') {
                *error = "no blank after quoted text";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '#') {
                if (line[i] == '"') {
                    *error = "quote inside a word";
                    return false;
                }
                word.text += line[i++];
            }
        }
        words->push_back(std::move(word));
    }
    return true;
}

std::string StripComment(const std::string& line) {
    bool quoted = false;
    std::size_t end = line.size();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (quoted && line[i] == '\\') {
            ++i;
            continue;
        }
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == '#' && !quoted) {
            end = i;
            break;
        }
    }
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t'))
        --end;
    std::size_t begin = 0;
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t'))
        ++begin;
    return line.substr(begin, end - begin);
}

std::optional<std::uint64_t> ParseNumber(const std::string& text, std::uint64_t max) {
    std::uint64_t base = 10;
    std::size_t i = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i >= text.size() || text.size() - i > 16)
        return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        std::uint64_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint64_t>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<std::uint64_t>(c - 'a' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > max)
            return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> ParseDuration(const std::string& text) {
    constexpr std::uint64_t kDayMs = 24ull * 3600 * 1000;
    std::size_t digits = 0;
    while (digits < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[digits])) || text[digits] == '.'))
        ++digits;
    const std::string number = text.substr(0, digits);
    const std::string unit = text.substr(digits);
    std::uint64_t scale = 0;
    if (unit == "ms")
        scale = 1;
    else if (unit == "s")
        scale = 1000;
    else if (unit == "m")
        scale = 60000;
    else if (unit == "h")
        scale = 3600000;
    if (scale == 0 || number.empty() || number.front() == '.' || number.back() == '.')
        return std::nullopt;
    const std::size_t dot = number.find('.');
    const std::string whole = number.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : number.substr(dot + 1);
    if (fraction.find('.') != std::string::npos || fraction.size() > 3 || whole.size() > 9)
        return std::nullopt;
    std::uint64_t ms = *ParseNumber(whole, ~0ull) * scale;
    std::uint64_t fractionScale = scale;
    for (char c : fraction) {
        fractionScale /= 10;
        ms += static_cast<std::uint64_t>(c - '0') * fractionScale;
    }
    if (!fraction.empty() && fractionScale == 0 && scale < 1000)
        return std::nullopt; // fractions of a millisecond
    if (ms > kDayMs)
        return std::nullopt;
    return ms;
}

std::string FormatDuration(std::uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%03llus", static_cast<unsigned long long>(ms / 1000),
                  static_cast<unsigned long long>(ms % 1000));
    return text;
}

} // namespace runner
