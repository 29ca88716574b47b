#include "Evaluator.h"

#include "Constants.h"

namespace wlan::rc {

namespace {

constexpr int kMaxDepth = 64;

} // namespace

std::uint32_t Evaluator::number(TokenCursor& cursor) {
    return orExpr(cursor, 0);
}

std::uint32_t Evaluator::style(TokenCursor& cursor, std::uint32_t base) {
    std::uint32_t value = base;
    do {
        bool clear = cursor.acceptKeyword("NOT");
        std::uint32_t bits = unary(cursor, 0);
        value = clear ? (value & ~bits) : (value | bits);
    } while (cursor.acceptPunct('|'));
    return value;
}

bool Evaluator::isKnownName(const std::string& name) const {
    return defines_.count(name) != 0 || builtinConstant(name).has_value();
}

std::map<std::string, std::int64_t, std::less<>> Evaluator::numericDefines() {
    std::map<std::string, std::int64_t, std::less<>> result;
    for (const auto& [name, define] : defines_) {
        if (define.body.empty()) {
            continue;
        }
        Token use;
        use.kind = TokenKind::Identifier;
        use.text = name;
        use.where = define.where;
        try {
            result[name] = static_cast<std::int32_t>(symbolValue(use, 0));
        } catch (const ParseError&) {
            // Not a number (a string or a keyword): not an id.
        }
    }
    return result;
}

std::uint32_t Evaluator::orExpr(TokenCursor& cursor, int depth) {
    std::uint32_t value = andExpr(cursor, depth);
    while (cursor.acceptPunct('|')) {
        value |= andExpr(cursor, depth);
    }
    return value;
}

std::uint32_t Evaluator::andExpr(TokenCursor& cursor, int depth) {
    std::uint32_t value = addExpr(cursor, depth);
    while (cursor.acceptPunct('&')) {
        value &= addExpr(cursor, depth);
    }
    return value;
}

std::uint32_t Evaluator::addExpr(TokenCursor& cursor, int depth) {
    std::uint32_t value = unary(cursor, depth);
    for (;;) {
        if (cursor.acceptPunct('+')) {
            value += unary(cursor, depth);
        } else if (cursor.acceptPunct('-')) {
            value -= unary(cursor, depth);
        } else {
            return value;
        }
    }
}

std::uint32_t Evaluator::unary(TokenCursor& cursor, int depth) {
    if (depth > kMaxDepth) {
        fail(cursor.peek().where, "expression nested too deeply");
    }
    if (cursor.acceptPunct('-')) {
        return 0u - unary(cursor, depth + 1);
    }
    if (cursor.acceptPunct('~')) {
        return ~unary(cursor, depth + 1);
    }
    if (cursor.acceptPunct('(')) {
        std::uint32_t value = orExpr(cursor, depth + 1);
        cursor.expectPunct(')', "expression");
        return value;
    }
    const Token& token = cursor.peek();
    if (token.kind == TokenKind::Number) {
        cursor.next();
        return token.number;
    }
    if (token.kind == TokenKind::Identifier) {
        cursor.next();
        return symbolValue(token, depth + 1);
    }
    fail(token.where, "expected a number, found " + quoted(token));
}

std::uint32_t Evaluator::symbolValue(const Token& name, int depth) {
    if (auto cached = cache_.find(name.text); cached != cache_.end()) {
        return cached->second;
    }
    auto define = defines_.find(name.text);
    if (define == defines_.end()) {
        if (auto builtin = builtinConstant(name.text)) {
            return *builtin;
        }
        fail(name.where, "unknown name '" + name.text + "'");
    }
    if (define->second.body.empty()) {
        fail(name.where, "'" + name.text + "' has no value");
    }
    if (!evaluating_.insert(name.text).second) {
        fail(define->second.where, "'" + name.text + "' is defined in terms of itself");
    }
    struct Done {
        std::set<std::string, std::less<>>& set;
        const std::string& name;
        ~Done() { set.erase(name); }
    } done{evaluating_, name.text};
    std::vector<Token> tokens;
    tokenizeLine(SourceLine{define->second.where, define->second.body}, tokens);
    Token end;
    end.where = define->second.where;
    tokens.push_back(end);
    TokenCursor body(tokens);
    std::uint32_t value = orExpr(body, depth + 1);
    if (!body.atEnd()) {
        fail(define->second.where, "'" + name.text + "' is not a number");
    }
    cache_[name.text] = value;
    return value;
}

} // namespace wlan::rc
