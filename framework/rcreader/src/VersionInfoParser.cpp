// The VERSIONINFO resource: the fixed file information and the string and translation blocks.
#include "ScriptParser.h"

#include <algorithm>
#include <cctype>
#include <functional>

namespace wlan::rc {

namespace {

void readVersion(std::array<std::uint16_t, 4>& parts, TokenCursor& cursor,
                 const std::function<std::uint16_t()>& word) {
    parts = {};
    parts[0] = word();
    for (std::size_t i = 1; i < parts.size() && cursor.acceptPunct(','); ++i) {
        parts[i] = word();
    }
}

bool sameIgnoringCase(const std::string& a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

void ScriptParser::versionInfo(int id, const Location& where) {
    if (script_.versionInfo) {
        fail(where, "a second VERSIONINFO");
    }
    VersionInfo info;
    info.id = id;
    auto versionWord = [this] { return word("version number"); };
    for (;;) {
        if (cursor_.acceptKeyword("FILEVERSION")) {
            readVersion(info.fileVersion, cursor_, versionWord);
        } else if (cursor_.acceptKeyword("PRODUCTVERSION")) {
            readVersion(info.productVersion, cursor_, versionWord);
        } else if (cursor_.acceptKeyword("FILEFLAGSMASK")) {
            info.fileFlagsMask = eval_.number(cursor_);
        } else if (cursor_.acceptKeyword("FILEFLAGS")) {
            info.fileFlags = eval_.number(cursor_);
        } else if (cursor_.acceptKeyword("FILEOS")) {
            info.fileOs = eval_.number(cursor_);
        } else if (cursor_.acceptKeyword("FILETYPE")) {
            info.fileType = eval_.number(cursor_);
        } else if (cursor_.acceptKeyword("FILESUBTYPE")) {
            info.fileSubtype = eval_.number(cursor_);
        } else {
            break;
        }
    }
    Location begin = cursor_.peek().where;
    beginBlock("VERSIONINFO");
    while (!cursor_.isEndOfBlock()) {
        if (cursor_.atEnd()) {
            fail(begin, "BEGIN of VERSIONINFO has no END");
        }
        versionBlock(info);
    }
    cursor_.next();
    script_.versionInfo = std::move(info);
}

void ScriptParser::versionBlock(VersionInfo& info) {
    auto expectKeyword = [this](const char* keyword) {
        if (!cursor_.acceptKeyword(keyword)) {
            fail(cursor_.peek().where,
                 std::string("expected ") + keyword + " or END, found " + quoted(cursor_.peek()));
        }
    };
    auto needMore = [this](const Location& begin, const std::string& what) {
        if (cursor_.atEnd()) {
            fail(begin, "BEGIN of " + what + " has no END");
        }
    };

    expectKeyword("BLOCK");
    Location where = cursor_.peek().where;
    std::string name = cursor_.expectString("a block name");
    Location begin = cursor_.peek().where;
    if (sameIgnoringCase(name, "StringFileInfo")) {
        beginBlock("StringFileInfo");
        while (!cursor_.isEndOfBlock()) {
            needMore(begin, "StringFileInfo");
            expectKeyword("BLOCK");
            VersionInfo::StringBlock block;
            block.name = cursor_.expectString("a language block name");
            Location inner = cursor_.peek().where;
            beginBlock("the language block");
            while (!cursor_.isEndOfBlock()) {
                needMore(inner, "block " + block.name);
                expectKeyword("VALUE");
                std::string key = cursor_.expectString("a value name");
                comma("the value name");
                block.values.emplace_back(std::move(key), cursor_.expectString("the value text"));
            }
            cursor_.next();
            info.stringBlocks.push_back(std::move(block));
        }
        cursor_.next();
    } else if (sameIgnoringCase(name, "VarFileInfo")) {
        beginBlock("VarFileInfo");
        while (!cursor_.isEndOfBlock()) {
            needMore(begin, "VarFileInfo");
            expectKeyword("VALUE");
            Location valueWhere = cursor_.peek().where;
            std::string key = cursor_.expectString("a value name");
            if (!sameIgnoringCase(key, "Translation")) {
                fail(valueWhere, "unknown VarFileInfo value '" + key + "'");
            }
            comma("\"Translation\"");
            do {
                std::uint16_t language = word("language");
                comma("the language");
                info.translations.emplace_back(language, word("code page"));
            } while (cursor_.acceptPunct(','));
        }
        cursor_.next();
    } else {
        fail(where, "unknown version block '" + name + "'");
    }
}

} // namespace wlan::rc
