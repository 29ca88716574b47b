// DIALOGEX templates and their control statements.
#include "Constants.h"
#include "ScriptParser.h"

#include <array>
#include <string_view>

namespace wlan::rc {

namespace {

constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_SYSMENU = 0x00080000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t DS_SETFONT = 0x40;
constexpr int kDefaultCharset = 1;

// How a control statement lists its operands.
enum class Form {
    Text,    // KEYWORD "text", id, x, y, cx, cy [, style [, exstyle]]
    NoText,  // KEYWORD id, x, y, cx, cy [, style [, exstyle]]
    Icon,    // ICON icon, id, x, y [, cx, cy [, style [, exstyle]]]
    Generic, // CONTROL "text", id, "class", style, x, y, cx, cy [, exstyle]
};

struct ControlStatement {
    std::string_view keyword;
    std::string_view className;
    std::uint32_t defaultStyle; // when the statement gives no style
    std::uint32_t baseStyle;    // what a given style is added to
    Form form;
};

// As the resource compiler of our Windows build stores them (measured): a given style keeps the
// statement's kind, but a combo box loses CBS_SIMPLE and WS_TABSTOP, a radio button WS_TABSTOP and a
// text WS_GROUP. WS_CHILD | WS_VISIBLE come on top of either.
constexpr std::array<ControlStatement, 14> kStatements = {{
    {"LTEXT", "Static", 0x0 | WS_GROUP, 0x0, Form::Text},
    {"CTEXT", "Static", 0x1 | WS_GROUP, 0x1, Form::Text},
    {"RTEXT", "Static", 0x2 | WS_GROUP, 0x2, Form::Text},
    {"PUSHBUTTON", "Button", 0x0 | WS_TABSTOP, 0x0 | WS_TABSTOP, Form::Text},
    {"DEFPUSHBUTTON", "Button", 0x1 | WS_TABSTOP, 0x1 | WS_TABSTOP, Form::Text},
    {"CHECKBOX", "Button", 0x2 | WS_TABSTOP, 0x2 | WS_TABSTOP, Form::Text},
    {"AUTOCHECKBOX", "Button", 0x3 | WS_TABSTOP, 0x3 | WS_TABSTOP, Form::Text},
    {"RADIOBUTTON", "Button", 0x4 | WS_TABSTOP, 0x4, Form::Text},
    {"GROUPBOX", "Button", 0x7, 0x7, Form::Text},
    {"AUTORADIOBUTTON", "Button", 0x9 | WS_TABSTOP, 0x9, Form::Text},
    {"EDITTEXT", "Edit", WS_BORDER | WS_TABSTOP, WS_BORDER | WS_TABSTOP, Form::NoText},
    {"COMBOBOX", "ComboBox", 0x1 | WS_TABSTOP, 0x0, Form::NoText},
    {"ICON", "Static", 0x3, 0x3, Form::Icon},
    {"CONTROL", "", 0x0, 0x0, Form::Generic},
}};

const ControlStatement* findStatement(const TokenCursor& cursor) {
    for (const ControlStatement& statement : kStatements) {
        if (cursor.isKeyword(statement.keyword)) {
            return &statement;
        }
    }
    return nullptr;
}

} // namespace

void ScriptParser::dialog(int id, const Location& where) {
    noteDefinition(dialogLines_, id, where, "dialog");
    Dialog dialog;
    dialog.id = id;
    dialog.rect.x = coordinate("x");
    comma("x");
    dialog.rect.y = coordinate("y");
    comma("y");
    dialog.rect.cx = coordinate("width");
    comma("width");
    dialog.rect.cy = coordinate("height");
    if (cursor_.acceptPunct(',')) {
        dialog.helpId = eval_.number(cursor_);
    }
    dialogOptions(dialog);
    Location begin = cursor_.peek().where;
    beginBlock("dialog");
    while (!cursor_.isEndOfBlock()) {
        if (cursor_.atEnd()) {
            fail(begin, "BEGIN of dialog " + std::to_string(id) + " has no END");
        }
        control(dialog);
    }
    cursor_.next();
    script_.dialogs[id] = std::move(dialog);
}

void ScriptParser::dialogOptions(Dialog& dialog) {
    std::uint32_t style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    bool hasCaption = false;
    for (;;) {
        const Token& option = cursor_.peek();
        if (cursor_.acceptKeyword("STYLE")) {
            style = eval_.style(cursor_, 0);
        } else if (cursor_.acceptKeyword("EXSTYLE")) {
            dialog.exStyle = eval_.style(cursor_, 0);
        } else if (cursor_.acceptKeyword("CAPTION")) {
            dialog.caption = cursor_.expectString("the caption text");
            hasCaption = true;
        } else if (cursor_.acceptKeyword("FONT")) {
            DialogFont font;
            font.pointSize = word("point size");
            comma("the point size");
            font.typeface = cursor_.expectString("a font name");
            font.charset = kDefaultCharset;
            if (cursor_.acceptPunct(',')) {
                font.weight = word("font weight");
                if (cursor_.acceptPunct(',')) {
                    font.italic = eval_.number(cursor_) != 0;
                    if (cursor_.acceptPunct(',')) {
                        font.charset = word("character set") & 0xFF;
                    }
                }
            }
            dialog.font = font;
        } else if (cursor_.acceptKeyword("LANGUAGE")) {
            language();
        } else if (cursor_.acceptKeyword("CHARACTERISTICS") || cursor_.acceptKeyword("VERSION")) {
            eval_.number(cursor_);
        } else if (cursor_.isKeyword("MENU") || cursor_.isKeyword("CLASS")) {
            fail(option.where, "dialog option '" + option.text + "' is not supported");
        } else {
            break;
        }
    }
    if (hasCaption) {
        style |= WS_CAPTION;
    }
    if (dialog.font) {
        style |= DS_SETFONT;
    }
    dialog.style = style;
}

void ScriptParser::control(Dialog& dialog) {
    const Token& keyword = cursor_.peek();
    if (keyword.kind != TokenKind::Identifier) {
        fail(keyword.where, "expected a control statement or END, found " + quoted(keyword));
    }
    const ControlStatement* statement = findStatement(cursor_);
    if (!statement) {
        fail(keyword.where, "unknown control statement '" + keyword.text + "'");
    }
    Location where = keyword.where;
    cursor_.next();

    DialogControl control;
    control.className = std::string(statement->className);
    control.style = WS_CHILD | WS_VISIBLE | statement->defaultStyle;
    auto position = [&] {
        control.rect.x = coordinate("x");
        comma("x");
        control.rect.y = coordinate("y");
    };
    auto size = [&] {
        control.rect.cx = coordinate("width");
        comma("width");
        control.rect.cy = coordinate("height");
    };
    auto optionalStyles = [&] {
        if (cursor_.acceptPunct(',')) {
            control.style = eval_.style(cursor_, WS_CHILD | WS_VISIBLE | statement->baseStyle);
            if (cursor_.acceptPunct(',')) {
                control.exStyle = eval_.style(cursor_, 0);
            }
        }
    };

    switch (statement->form) {
    case Form::Text:
        control.text = cursor_.expectString("the control text");
        comma("the control text");
        control.id = controlId();
        comma("the control id");
        position();
        comma("y");
        size();
        optionalStyles();
        break;
    case Form::NoText:
        control.id = controlId();
        comma("the control id");
        position();
        comma("y");
        size();
        optionalStyles();
        break;
    case Form::Icon:
        if (cursor_.peek().kind == TokenKind::String) {
            control.text = cursor_.next().text;
        } else {
            control.textOrdinal = word("icon id");
        }
        comma("the icon");
        control.id = controlId();
        comma("the control id");
        position();
        if (cursor_.acceptPunct(',')) {
            // The icon sizes itself: the compiler stores no size, whatever the statement says.
            size();
            optionalStyles();
        }
        control.rect.cx = 0;
        control.rect.cy = 0;
        break;
    case Form::Generic:
        if (cursor_.peek().kind == TokenKind::String) {
            control.text = cursor_.next().text;
        } else {
            control.textOrdinal = word("text ordinal");
        }
        comma("the control text");
        control.id = controlId();
        comma("the control id");
        control.className = canonicalClassName(cursor_.expectString("a class name"));
        comma("the class name");
        control.style = eval_.style(cursor_, WS_CHILD | WS_VISIBLE);
        comma("the style");
        position();
        comma("y");
        size();
        if (cursor_.acceptPunct(',')) {
            control.exStyle = eval_.style(cursor_, 0);
        }
        break;
    }

    if (control.id != -1 && dialog.control(control.id) != nullptr) {
        fail(where, "control id " + std::to_string(control.id) + " is used twice in dialog " +
                        std::to_string(dialog.id));
    }
    if (dialog.controls.size() >= 0xFFFF) {
        fail(where, "too many controls in dialog " + std::to_string(dialog.id));
    }
    dialog.controls.push_back(std::move(control));
}

} // namespace wlan::rc
