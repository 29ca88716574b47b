// Tokens of a resource script and a cursor over them.
#pragma once

#include "ParseError.h"
#include "Preprocessor.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wlan::rc {

enum class TokenKind { Identifier, Number, String, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // identifier, punctuation, or the decoded string
    std::uint32_t number = 0;
    Location where;
};

// Appends the tokens of one line; throws ParseError on a malformed token.
void tokenizeLine(const SourceLine& line, std::vector<Token>& out);

// All lines, followed by one End token.
std::vector<Token> tokenize(const std::vector<SourceLine>& lines);

std::string quoted(const Token& token); // the token as a message shows it

class TokenCursor {
public:
    explicit TokenCursor(const std::vector<Token>& tokens) : tokens_(tokens) {}

    const Token& peek(std::size_t ahead = 0) const;
    const Token& next();
    bool atEnd() const { return peek().kind == TokenKind::End; }

    bool isPunct(char c, std::size_t ahead = 0) const;
    bool isKeyword(std::string_view keyword, std::size_t ahead = 0) const; // case-insensitive
    bool acceptPunct(char c);
    bool acceptKeyword(std::string_view keyword);

    void expectPunct(char c, std::string_view after);
    std::string expectString(std::string_view what);
    // BEGIN or {
    bool isBegin() const { return isKeyword("BEGIN") || isPunct('{'); }
    bool isEndOfBlock() const { return isKeyword("END") || isPunct('}'); }

private:
    const std::vector<Token>& tokens_;
    std::size_t pos_ = 0;
};

} // namespace wlan::rc
