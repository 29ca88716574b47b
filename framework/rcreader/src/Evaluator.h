// Numbers in a script: numeric expressions over numbers, #define'd names and the built-in constants, and
// style expressions, where NOT clears bits from the statement's default style.
#pragma once

#include "Lexer.h"
#include "Preprocessor.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace wlan::rc {

class Evaluator {
public:
    explicit Evaluator(const DefineTable& defines) : defines_(defines) {}

    std::uint32_t number(TokenCursor& cursor);
    std::uint32_t style(TokenCursor& cursor, std::uint32_t base);
    bool isKnownName(const std::string& name) const;

    // Every #define that evaluates to a number.
    std::map<std::string, std::int64_t, std::less<>> numericDefines();

private:
    std::uint32_t orExpr(TokenCursor& cursor, int depth);
    std::uint32_t andExpr(TokenCursor& cursor, int depth);
    std::uint32_t addExpr(TokenCursor& cursor, int depth);
    std::uint32_t unary(TokenCursor& cursor, int depth);
    std::uint32_t symbolValue(const Token& name, int depth);

    const DefineTable& defines_;
    std::map<std::string, std::uint32_t, std::less<>> cache_;
    std::set<std::string, std::less<>> evaluating_;
};

} // namespace wlan::rc
