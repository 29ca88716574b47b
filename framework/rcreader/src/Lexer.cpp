#include "Lexer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace wlan::rc {

namespace {

bool isIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool isIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int hexValue(char c) {
    return std::isdigit(static_cast<unsigned char>(c))
               ? c - '0'
               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

std::string printable(char c) {
    if (std::isprint(static_cast<unsigned char>(c))) {
        return std::string("'") + c + "'";
    }
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned char>(c));
    return buffer;
}

// Decimal without leading zeros, or 0x hexadecimal; an optional U and L suffix as C allows.
std::uint32_t parseNumber(const std::string& text, const Location& where) {
    std::size_t end = text.size();
    while (end > 0 && std::strchr("uUlL", text[end - 1]) != nullptr) {
        --end;
    }
    std::string digits = text.substr(0, end);
    unsigned base = 10;
    std::size_t start = 0;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        start = 2;
    }
    bool valid = start < digits.size() && (base == 16 || digits.size() == 1 || digits[0] != '0') &&
                 text.size() - end <= 2;
    std::uint64_t value = 0;
    for (std::size_t i = start; valid && i < digits.size(); ++i) {
        char c = digits[i];
        if (base == 16 ? !isHex(c) : !std::isdigit(static_cast<unsigned char>(c))) {
            valid = false;
            break;
        }
        value = value * base + static_cast<unsigned>(hexValue(c));
        if (value > 0xFFFFFFFFull) {
            fail(where, "number '" + text + "' is too large");
        }
    }
    if (!valid) {
        fail(where, "bad number '" + text + "'");
    }
    return static_cast<std::uint32_t>(value);
}

// Reads a string literal starting at the opening quote; returns the index after the closing quote.
std::size_t readString(const std::string& line, std::size_t i, const Location& where, std::string& value) {
    for (++i; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                value += '"';
                ++i;
                continue;
            }
            return i + 1;
        }
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i >= line.size()) {
            break;
        }
        char e = line[i];
        switch (e) {
        case 'n':
            value += '\n';
            break;
        case 't':
            value += '\t';
            break;
        case 'r':
            value += '\r';
            break;
        case 'a':
            value += '\a';
            break;
        case 'b':
            value += '\b';
            break;
        case 'f':
            value += '\f';
            break;
        case 'v':
            value += '\v';
            break;
        case '\\':
            value += '\\';
            break;
        case '\'':
            value += '\'';
            break;
        case '?':
            value += '?';
            break;
        case '"':
            fail(where, "write \"\" for a quote inside a string");
        case 'x': {
            int v = 0;
            int n = 0;
            while (n < 2 && i + 1 < line.size() && isHex(line[i + 1])) {
                v = v * 16 + hexValue(line[++i]);
                ++n;
            }
            if (n == 0) {
                fail(where, "\\x needs hexadecimal digits");
            }
            value += static_cast<char>(v);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int v = e - '0';
                for (int n = 1; n < 3 && i + 1 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '7';
                     ++n) {
                    v = v * 8 + (line[++i] - '0');
                }
                value += static_cast<char>(v & 0xFF);
            } else {
                fail(where, "unknown escape sequence '\\" + std::string(1, e) + "'");
            }
        }
    }
    fail(where, "unterminated string");
}

} // namespace

void tokenizeLine(const SourceLine& line, std::vector<Token>& out) {
    const std::string& s = line.text;
    std::size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
            continue;
        }
        Token token;
        token.where = line.where;
        if (c == '"' || (c == 'L' && i + 1 < s.size() && s[i + 1] == '"')) {
            token.kind = TokenKind::String;
            i = readString(s, c == 'L' ? i + 1 : i, line.where, token.text);
        } else if (isIdentStart(c)) {
            std::size_t start = i;
            while (i < s.size() && isIdentChar(s[i])) {
                ++i;
            }
            token.kind = TokenKind::Identifier;
            token.text = s.substr(start, i - start);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t start = i;
            while (i < s.size() && (isIdentChar(s[i]) || s[i] == '.')) {
                ++i;
            }
            token.kind = TokenKind::Number;
            token.text = s.substr(start, i - start);
            token.number = parseNumber(token.text, line.where);
        } else if (std::strchr(",|()+-~&{}", c) != nullptr) {
            token.kind = TokenKind::Punct;
            token.text = std::string(1, c);
            ++i;
        } else {
            fail(line.where, "unexpected character " + printable(c));
        }
        out.push_back(std::move(token));
    }
}

std::vector<Token> tokenize(const std::vector<SourceLine>& lines) {
    std::vector<Token> tokens;
    for (const SourceLine& line : lines) {
        tokenizeLine(line, tokens);
    }
    Token end;
    end.kind = TokenKind::End;
    if (!lines.empty()) {
        end.where = lines.back().where;
    }
    tokens.push_back(std::move(end));
    return tokens;
}

std::string quoted(const Token& token) {
    switch (token.kind) {
    case TokenKind::End:
        return "end of file";
    case TokenKind::String: {
        std::string shown = token.text.size() > 24 ? token.text.substr(0, 24) + "..." : token.text;
        return "string \"" + shown + "\"";
    }
    default:
        return "'" + token.text + "'";
    }
}

const Token& TokenCursor::peek(std::size_t ahead) const {
    return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
}

const Token& TokenCursor::next() {
    const Token& token = peek();
    if (pos_ + 1 < tokens_.size()) {
        ++pos_;
    }
    return token;
}

bool TokenCursor::isPunct(char c, std::size_t ahead) const {
    const Token& t = peek(ahead);
    return t.kind == TokenKind::Punct && t.text[0] == c;
}

bool TokenCursor::isKeyword(std::string_view keyword, std::size_t ahead) const {
    const Token& t = peek(ahead);
    return t.kind == TokenKind::Identifier && t.text.size() == keyword.size() &&
           std::equal(keyword.begin(), keyword.end(), t.text.begin(),
                      [](char k, char c) { return k == std::toupper(static_cast<unsigned char>(c)); });
}

bool TokenCursor::acceptPunct(char c) {
    if (isPunct(c)) {
        next();
        return true;
    }
    return false;
}

bool TokenCursor::acceptKeyword(std::string_view keyword) {
    if (isKeyword(keyword)) {
        next();
        return true;
    }
    return false;
}

void TokenCursor::expectPunct(char c, std::string_view after) {
    if (!acceptPunct(c)) {
        fail(peek().where, "expected '" + std::string(1, c) + "' after " + std::string(after) + ", found " +
                               quoted(peek()));
    }
}

std::string TokenCursor::expectString(std::string_view what) {
    if (peek().kind != TokenKind::String) {
        fail(peek().where, "expected " + std::string(what) + ", found " + quoted(peek()));
    }
    return next().text;
}

} // namespace wlan::rc
