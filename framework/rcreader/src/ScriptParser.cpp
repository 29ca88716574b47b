#include "ScriptParser.h"

#include "IconFile.h"
#include "rcreader/ScriptLoader.h"

#include <array>
#include <string_view>

namespace wlan::rc {

namespace {

// Resource types a script may name; only DIALOGEX, ICON and VERSIONINFO are read.
constexpr std::array<std::string_view, 16> kResourceTypes = {
    "DIALOGEX", "ICON",   "VERSIONINFO", "DIALOG", "MENU",         "MENUEX",  "ACCELERATORS", "BITMAP",
    "CURSOR",   "RCDATA", "FONT",        "HTML",   "MESSAGETABLE", "TOOLBAR", "DLGINIT",      "MANIFEST"};

bool isResourceType(const TokenCursor& cursor, std::size_t ahead) {
    for (std::string_view type : kResourceTypes) {
        if (cursor.isKeyword(type, ahead)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string describe(const Location& where) {
    return where.line > 0 ? where.fileName() + ":" + std::to_string(where.line) : where.fileName();
}

ResourceScript ScriptParser::parse() {
    while (!cursor_.atEnd()) {
        statement();
    }
    return std::move(script_);
}

void ScriptParser::statement() {
    const Token& first = cursor_.peek();
    Location where = first.where;
    if (cursor_.acceptKeyword("LANGUAGE")) {
        language();
        return;
    }
    if (cursor_.acceptKeyword("STRINGTABLE")) {
        stringTable();
        return;
    }
    if (first.kind == TokenKind::Identifier && !eval_.isKnownName(first.text)) {
        if (isResourceType(cursor_, 1)) {
            fail(where, "unknown name '" + first.text + "'");
        }
        fail(where, "unknown statement '" + first.text + "'");
    }
    if (first.kind != TokenKind::Identifier && first.kind != TokenKind::Number) {
        fail(where, "expected a resource statement, found " + quoted(first));
    }
    int id = resourceId("resource id");
    const Token& type = cursor_.peek();
    if (cursor_.acceptKeyword("DIALOGEX")) {
        dialog(id, where);
    } else if (cursor_.acceptKeyword("ICON")) {
        icon(id, where);
    } else if (cursor_.acceptKeyword("VERSIONINFO")) {
        versionInfo(id, where);
    } else if (isResourceType(cursor_, 0)) {
        fail(type.where, "resource type '" + type.text + "' is not supported");
    } else {
        fail(type.where, "expected a resource type after the id, found " + quoted(type));
    }
}

void ScriptParser::language() {
    word("language");
    comma("the language");
    word("sublanguage");
}

void ScriptParser::skipResourceOptions() {
    for (;;) {
        if (cursor_.acceptKeyword("LANGUAGE")) {
            language();
        } else if (cursor_.acceptKeyword("CHARACTERISTICS") || cursor_.acceptKeyword("VERSION")) {
            eval_.number(cursor_);
        } else {
            return;
        }
    }
}

void ScriptParser::stringTable() {
    skipResourceOptions();
    Location begin = cursor_.peek().where;
    beginBlock("STRINGTABLE");
    while (!cursor_.isEndOfBlock()) {
        if (cursor_.atEnd()) {
            fail(begin, "STRINGTABLE has no END");
        }
        Location where = cursor_.peek().where;
        auto id = static_cast<std::int32_t>(eval_.number(cursor_));
        if (id < 0 || id > 0xFFFF) {
            fail(where, "string id " + std::to_string(id) + " is out of range (0 to 65535)");
        }
        cursor_.acceptPunct(',');
        std::string text = cursor_.expectString("the text of string " + std::to_string(id));
        noteDefinition(stringLines_, id, where, "string");
        script_.strings[id] = std::move(text);
    }
    cursor_.next();
}

void ScriptParser::icon(int id, const Location& where) {
    std::string file = cursor_.expectString("an icon file name");
    std::string path = folder_ + file;
    std::optional<std::string> bytes = source_.read(path);
    if (!bytes) {
        fail(where, "cannot open icon file '" + file + "'");
    }
    std::string problem;
    std::vector<IconImage> images = readIconDirectory(*bytes, problem);
    if (images.empty()) {
        fail(where, "'" + file + "' is not an icon file: " + problem);
    }
    noteDefinition(iconLines_, id, where, "icon");
    script_.icons[id] = IconResource{id, path, std::move(images)};
}

int ScriptParser::resourceId(const char* what) {
    Location where = cursor_.peek().where;
    auto id = static_cast<std::int32_t>(eval_.number(cursor_));
    if (id < 1 || id > 0xFFFF) {
        fail(where, std::string(what) + " " + std::to_string(id) + " is out of range (1 to 65535)");
    }
    return id;
}

int ScriptParser::controlId() {
    Location where = cursor_.peek().where;
    auto id = static_cast<std::int32_t>(eval_.number(cursor_));
    if (id < -1 || id > 0xFFFF) {
        fail(where, "control id " + std::to_string(id) + " is out of range (-1 to 65535)");
    }
    return id;
}

int ScriptParser::coordinate(const char* what) {
    Location where = cursor_.peek().where;
    auto value = static_cast<std::int32_t>(eval_.number(cursor_));
    if (value < -32768 || value > 32767) {
        fail(where, std::string(what) + " " + std::to_string(value) + " is out of range");
    }
    return value;
}

std::uint16_t ScriptParser::word(const char* what) {
    Location where = cursor_.peek().where;
    std::uint32_t value = eval_.number(cursor_);
    if (value > 0xFFFF) {
        fail(where, std::string(what) + " " + std::to_string(static_cast<std::int32_t>(value)) +
                        " is out of range (0 to 65535)");
    }
    return static_cast<std::uint16_t>(value);
}

void ScriptParser::beginBlock(const char* what) {
    if (!cursor_.isBegin()) {
        fail(cursor_.peek().where,
             std::string("expected BEGIN of ") + what + ", found " + quoted(cursor_.peek()));
    }
    cursor_.next();
}

void ScriptParser::noteDefinition(std::map<int, Location>& seen, int id, const Location& where,
                                  const char* what) {
    auto [found, inserted] = seen.emplace(id, where);
    if (!inserted) {
        fail(where, std::string(what) + " " + std::to_string(id) + " is defined twice (first at " +
                        describe(found->second) + ")");
    }
}

} // namespace wlan::rc
