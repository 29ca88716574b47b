#include "rcreader/ScriptLoader.h"

#include "Evaluator.h"
#include "Lexer.h"
#include "Preprocessor.h"
#include "ScriptParser.h"

#include <fstream>
#include <sstream>

namespace wlan::rc {

std::optional<std::string> FileSystemSource::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return text.str();
}

std::optional<std::string> MemorySource::read(const std::string& path) {
    auto found = files_.find(path);
    if (found == files_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string LoadError::text() const {
    return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

LoadResult loadResourceScript(const std::string& path, SourceProvider& source) {
    LoadResult result;
    try {
        Preprocessor preprocessor(source);
        preprocessor.run(path);
        std::vector<Token> tokens = tokenize(preprocessor.lines());
        Evaluator evaluator(preprocessor.defines());
        TokenCursor cursor(tokens);
        ScriptParser parser(cursor, evaluator, source, folderOf(path));
        ResourceScript script = parser.parse();
        script.symbols = evaluator.numericDefines();
        result.script = std::move(script);
    } catch (const ParseError& error) {
        result.error = LoadError{error.where().fileName(), error.where().line, error.what()};
    }
    return result;
}

LoadResult loadResourceScript(const std::string& path) {
    FileSystemSource files;
    return loadResourceScript(path, files);
}

} // namespace wlan::rc
