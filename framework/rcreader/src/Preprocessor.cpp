#include "Preprocessor.h"

#include "Constants.h"
#include "rcreader/ScriptLoader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace wlan::rc {

namespace {

// Deep enough for any real header chain, shallow enough that a file including itself stops at once.
constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxFilesRead = 64;

// Headers of the Windows SDK whose constants the reader has built in (Constants.cpp).
constexpr std::array<std::string_view, 5> kSystemHeaders = {"windows.h", "winresrc.h", "winuser.h",
                                                            "winver.h", "commctrl.h"};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool isIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool isIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
        s.remove_prefix(1);
    }
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view takeIdentifier(std::string_view& s) {
    std::size_t n = 0;
    if (!s.empty() && isIdentStart(s[0])) {
        while (n < s.size() && isIdentChar(s[n])) {
            ++n;
        }
    }
    std::string_view name = s.substr(0, n);
    s.remove_prefix(n);
    return name;
}

// Splits text into lines with comments replaced by a space. A string literal protects what looks like a
// comment ("http://..."); a string left open at the end of a line is left for the lexer to report.
std::vector<std::string> stripComments(const std::string& text, const Location& fileStart) {
    std::vector<std::string> lines(1);
    bool inBlock = false;
    int blockLine = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        std::string& out = lines.back();
        if (c == '\n') {
            if (!out.empty() && out.back() == '\r') {
                out.pop_back();
            }
            lines.emplace_back();
            inString = false;
            continue;
        }
        if (inBlock) {
            if (c == '*' && i + 1 < text.size() && text[i + 1] == '/') {
                inBlock = false;
                ++i;
                out += ' ';
            }
            continue;
        }
        if (inString) {
            out += c;
            if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
                out += text[++i];
            } else if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    out += text[++i];
                } else {
                    inString = false;
                }
            }
            continue;
        }
        if (c == '"') {
            inString = true;
            out += c;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i + 1 < text.size() && text[i + 1] != '\n') {
                ++i;
            }
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            inBlock = true;
            blockLine = static_cast<int>(lines.size());
            ++i;
        } else {
            out += c;
        }
    }
    if (inBlock) {
        fail(Location{fileStart.file, blockLine}, "unterminated comment");
    }
    return lines;
}

} // namespace

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void Preprocessor::run(const std::string& path) {
    processFile(path, 0, Location{});
}

bool Preprocessor::active(const std::vector<Conditional>& conditionals) const {
    return conditionals.empty() || conditionals.back().taking;
}

void Preprocessor::processFile(const std::string& path, int depth, const Location& includedFrom) {
    if (++filesRead_ > kMaxFilesRead) {
        fail(includedFrom, "too many included files");
    }
    std::optional<std::string> text = source_.read(path);
    if (!text) {
        if (includedFrom.file) {
            fail(includedFrom, "cannot open include file '" + path + "'");
        }
        fail(Location{std::make_shared<const std::string>(path), 0}, "cannot open file");
    }
    auto file = std::make_shared<const std::string>(path);
    std::vector<std::string> lines = stripComments(*text, Location{file, 1});
    std::vector<Conditional> conditionals;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Location where{file, static_cast<int>(i) + 1};
        std::string_view content = trim(lines[i]);
        if (!content.empty() && content.front() == '#') {
            directive(std::string(content.substr(1)), where, conditionals, depth);
        } else if (!content.empty() && active(conditionals)) {
            lines_.push_back(SourceLine{where, std::move(lines[i])});
        }
    }
    if (!conditionals.empty()) {
        fail(conditionals.back().where, "#ifdef or #ifndef without #endif");
    }
}

void Preprocessor::directive(const std::string& text, const Location& where,
                             std::vector<Conditional>& conditionals, int depth) {
    std::string_view rest = trim(text);
    std::string_view name = takeIdentifier(rest);
    rest = trim(rest);
    const bool on = active(conditionals);

    if (name == "ifdef" || name == "ifndef") {
        std::string_view symbol = takeIdentifier(rest);
        if (symbol.empty() || !trim(rest).empty()) {
            fail(where, "#" + std::string(name) + " needs one name");
        }
        bool defined = defines_.count(symbol) != 0 || builtinConstant(symbol).has_value();
        bool taking = on && (name == "ifdef" ? defined : !defined);
        conditionals.push_back(Conditional{where, on, taking, false});
    } else if (name == "else") {
        if (conditionals.empty() || conditionals.back().seenElse) {
            fail(where, "#else without #ifdef or #ifndef");
        }
        Conditional& c = conditionals.back();
        c.taking = c.parentActive && !c.taking;
        c.seenElse = true;
    } else if (name == "endif") {
        if (conditionals.empty()) {
            fail(where, "#endif without #ifdef or #ifndef");
        }
        conditionals.pop_back();
    } else if (!on) {
        // Skipped text: other directives are not looked at.
    } else if (name == "include") {
        if (rest.size() >= 2 && rest.front() == '<' && rest.back() == '>') {
            std::string_view header = rest.substr(1, rest.size() - 2);
            bool known = std::any_of(kSystemHeaders.begin(), kSystemHeaders.end(),
                                     [&](std::string_view h) { return equalsIgnoringCase(h, header); });
            if (!known) {
                fail(where, "unknown system header <" + std::string(header) + ">");
            }
        } else if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
            if (depth + 1 >= kMaxIncludeDepth) {
                fail(where, "includes nested too deeply");
            }
            std::string target = folderOf(*where.file) + std::string(rest.substr(1, rest.size() - 2));
            processFile(target, depth + 1, where);
        } else {
            fail(where, "#include needs \"file\" or <file>");
        }
    } else if (name == "define") {
        std::string_view symbol = takeIdentifier(rest);
        if (symbol.empty()) {
            fail(where, "#define needs a name");
        }
        if (!rest.empty() && rest.front() == '(') {
            fail(where, "macros with parameters are not supported");
        }
        std::string body(trim(rest));
        auto found = defines_.find(symbol);
        if (found != defines_.end() && found->second.body != body) {
            fail(where, "'" + std::string(symbol) + "' redefined (first defined at " +
                            describe(found->second.where) + ")");
        }
        defines_[std::string(symbol)] = Define{body, where};
    } else if (name == "undef") {
        std::string_view symbol = takeIdentifier(rest);
        if (symbol.empty()) {
            fail(where, "#undef needs a name");
        }
        auto found = defines_.find(symbol);
        if (found != defines_.end()) {
            defines_.erase(found);
        }
    } else if (name == "if" || name == "elif") {
        fail(where, "#" + std::string(name) + " is not supported (use #ifdef or #ifndef)");
    } else {
        fail(where, "unsupported directive '#" + std::string(name) + "'");
    }
}

} // namespace wlan::rc
