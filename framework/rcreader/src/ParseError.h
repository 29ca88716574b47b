// Where a piece of a script came from, and the one error type the reader raises internally. The loader
// turns it into a LoadError; nothing else escapes.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace wlan::rc {

struct Location {
    std::shared_ptr<const std::string> file;
    int line = 0;

    std::string fileName() const { return file ? *file : std::string("<input>"); }
};

class ParseError : public std::runtime_error {
public:
    ParseError(Location where, const std::string& message)
        : std::runtime_error(message), where_(std::move(where)) {}
    const Location& where() const { return where_; }

private:
    Location where_;
};

[[noreturn]] inline void fail(const Location& where, const std::string& message) {
    throw ParseError(where, message);
}

std::string describe(const Location& where); // "file:line"

} // namespace wlan::rc
