// The statements of a resource script: DIALOGEX, STRINGTABLE, ICON, VERSIONINFO and LANGUAGE.
#pragma once

#include "Evaluator.h"
#include "Lexer.h"
#include "rcreader/ResourceScript.h"

#include <map>
#include <string>

namespace wlan::rc {

class SourceProvider;

class ScriptParser {
public:
    ScriptParser(TokenCursor& cursor, Evaluator& evaluator, SourceProvider& source, std::string folder)
        : cursor_(cursor), eval_(evaluator), source_(source), folder_(std::move(folder)) {}

    ResourceScript parse(); // throws ParseError

private:
    void statement();
    void language();
    void stringTable();
    void icon(int id, const Location& where);
    void dialog(int id, const Location& where);      // DialogParser.cpp
    void dialogOptions(Dialog& dialog);              // DialogParser.cpp
    void control(Dialog& dialog);                    // DialogParser.cpp
    void versionInfo(int id, const Location& where); // VersionInfoParser.cpp
    void versionBlock(VersionInfo& info);            // VersionInfoParser.cpp
    void skipResourceOptions();

    int resourceId(const char* what);
    int controlId();
    int coordinate(const char* what);
    std::uint16_t word(const char* what);
    void comma(const char* after) { cursor_.expectPunct(',', after); }
    void beginBlock(const char* what);
    void noteDefinition(std::map<int, Location>& seen, int id, const Location& where, const char* what);

    TokenCursor& cursor_;
    Evaluator& eval_;
    SourceProvider& source_;
    std::string folder_;
    ResourceScript script_;
    std::map<int, Location> dialogLines_;
    std::map<int, Location> stringLines_;
    std::map<int, Location> iconLines_;
};

} // namespace wlan::rc
