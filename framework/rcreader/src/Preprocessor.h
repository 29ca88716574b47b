// The preprocessor subset resource scripts need: comments, #include of our own headers (and the system
// headers whose constants the reader knows), #define of values, and #ifdef/#ifndef/#else/#endif guards.
#pragma once

#include "ParseError.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wlan::rc {

class SourceProvider;

struct SourceLine {
    Location where;
    std::string text; // comments removed
};

struct Define {
    std::string body;
    Location where;
};

using DefineTable = std::map<std::string, Define, std::less<>>;

class Preprocessor {
public:
    explicit Preprocessor(SourceProvider& source) : source_(source) {}

    // Reads path and everything it includes; throws ParseError.
    void run(const std::string& path);

    const std::vector<SourceLine>& lines() const { return lines_; }
    const DefineTable& defines() const { return defines_; }

private:
    struct Conditional {
        Location where;
        bool parentActive;
        bool taking;
        bool seenElse;
    };

    void processFile(const std::string& path, int depth, const Location& includedFrom);
    void directive(const std::string& text, const Location& where, std::vector<Conditional>& conditionals,
                   int depth);
    bool active(const std::vector<Conditional>& conditionals) const;

    SourceProvider& source_;
    std::vector<SourceLine> lines_;
    DefineTable defines_;
    int filesRead_ = 0;
};

// The folder part of a path, with its trailing separator ("" for a bare name).
std::string folderOf(const std::string& path);

} // namespace wlan::rc
