// What the reader makes of each statement: the same styles, texts and numbers the resource compiler
// would store.
#include "ScriptTestSupport.h"

namespace wlan::rc::test {
namespace {

constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;

std::string dialogWith(const std::string& controls) {
    return "#include <windows.h>\n"
           "1 DIALOGEX 0, 0, 100, 50\n"
           "STYLE WS_CHILD\n"
           "BEGIN\n" +
           controls + "END\n";
}

const DialogControl& onlyControl(const ResourceScript& script) {
    static const DialogControl none;
    const Dialog* dialog = script.dialog(1);
    if (dialog == nullptr || dialog->controls.size() != 1) {
        ADD_FAILURE() << "expected dialog 1 with one control";
        return none;
    }
    return dialog->controls[0];
}

TEST(ControlStatements, GetTheCompilersDefaultClassAndStyle) {
    struct Case {
        const char* statement;
        const char* className;
        std::uint32_t style;
    };
    const Case cases[] = {
        {"LTEXT \"t\", 5, 1, 2, 3, 4", "Static", WS_CHILD | WS_VISIBLE | WS_GROUP},
        {"CTEXT \"t\", 5, 1, 2, 3, 4", "Static", WS_CHILD | WS_VISIBLE | WS_GROUP | 0x1},
        {"RTEXT \"t\", 5, 1, 2, 3, 4", "Static", WS_CHILD | WS_VISIBLE | WS_GROUP | 0x2},
        {"PUSHBUTTON \"t\", 5, 1, 2, 3, 4", "Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {"DEFPUSHBUTTON \"t\", 5, 1, 2, 3, 4", "Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x1},
        {"AUTOCHECKBOX \"t\", 5, 1, 2, 3, 4", "Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x3},
        {"GROUPBOX \"t\", 5, 1, 2, 3, 4", "Button", WS_CHILD | WS_VISIBLE | 0x7},
        {"AUTORADIOBUTTON \"t\", 5, 1, 2, 3, 4", "Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x9},
        {"EDITTEXT 5, 1, 2, 3, 4", "Edit", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP},
        {"COMBOBOX 5, 1, 2, 3, 4", "ComboBox", WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x1},
        {"CONTROL \"t\", 5, \"msctls_progress32\", 0x1, 1, 2, 3, 4", "msctls_progress32",
         WS_CHILD | WS_VISIBLE | 0x1},
        {"CONTROL \"t\", 5, \"BUTTON\", BS_AUTOCHECKBOX, 1, 2, 3, 4", "Button", WS_CHILD | WS_VISIBLE | 0x3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        ResourceScript script = loadOk(dialogWith(std::string(c.statement) + "\n"));
        const DialogControl& control = onlyControl(script);
        EXPECT_EQ(control.className, c.className);
        EXPECT_EQ(control.style, c.style);
        EXPECT_EQ(control.id, 5);
        EXPECT_EQ(control.rect.x, 1);
        EXPECT_EQ(control.rect.y, 2);
        EXPECT_EQ(control.rect.cx, 3);
        EXPECT_EQ(control.rect.cy, 4);
    }
}

// A given style keeps the statement's kind but not every default; NOT takes bits out of the default.
TEST(ControlStatements, AGivenStyleChangesTheDefault) {
    struct Case {
        const char* statement;
        std::uint32_t style;
        std::uint32_t exStyle;
    };
    const Case cases[] = {
        {"LTEXT \"t\", 5, 1, 2, 3, 4, WS_DISABLED", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0},
        {"PUSHBUTTON \"t\", 5, 1, 2, 3, 4, WS_DISABLED", WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP, 0},
        {"AUTORADIOBUTTON \"t\", 5, 1, 2, 3, 4, WS_GROUP", WS_CHILD | WS_VISIBLE | WS_GROUP | 0x9, 0},
        {"EDITTEXT 5, 1, 2, 3, 4, ES_READONLY", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | 0x800, 0},
        {"COMBOBOX 5, 1, 2, 3, 4, CBS_DROPDOWN", WS_CHILD | WS_VISIBLE | 0x2, 0},
        {"PUSHBUTTON \"t\", 5, 1, 2, 3, 4, NOT WS_TABSTOP | NOT WS_VISIBLE | WS_DISABLED, WS_EX_CLIENTEDGE",
         WS_CHILD | WS_DISABLED, 0x200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        ResourceScript script = loadOk(dialogWith(std::string(c.statement) + "\n"));
        EXPECT_EQ(onlyControl(script).style, c.style);
        EXPECT_EQ(onlyControl(script).exStyle, c.exStyle);
        EXPECT_EQ(onlyControl(script).visible(), (c.style & WS_VISIBLE) != 0);
        EXPECT_EQ(onlyControl(script).enabled(), (c.style & WS_DISABLED) == 0);
    }
}

TEST(ControlStatements, IconTakesAnOrdinalAndNoSize) {
    ResourceScript script = loadOk(dialogWith("ICON 128, -1, 7, 9, 20, 20\n"));
    const DialogControl& control = onlyControl(script);
    EXPECT_EQ(control.className, "Static");
    ASSERT_TRUE(control.textOrdinal.has_value());
    EXPECT_EQ(*control.textOrdinal, 128);
    EXPECT_EQ(control.id, -1);
    EXPECT_EQ(control.kind(), 0x3u);
    EXPECT_EQ(control.rect.cx, 0);
    EXPECT_EQ(control.rect.cy, 0);
}

TEST(ControlStatements, StatementsMaySpanLinesAndUseExpressions) {
    ResourceScript script = loadOk("#define BASE 1000\n#define ID_OK (BASE + 15)\n" +
                                   dialogWith("PUSHBUTTON \"t\",\n ID_OK,\n 10 - 3, (1 | 6) & 2, 3, 4\n"));
    const Dialog* dialog = script.dialog(1);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->controls.size(), 1u);
    EXPECT_EQ(dialog->controls[0].id, 1015);
    EXPECT_EQ(dialog->controls[0].rect.x, 7);
}

TEST(Dialogs, CaptionAndFontAddTheirStyleBits) {
    ResourceScript script = loadOk("#include <windows.h>\n"
                                   "7 DIALOGEX 1, 2, 252, 200, 44\n"
                                   "STYLE DS_FIXEDSYS | WS_CHILD | DS_CONTROL\n"
                                   "EXSTYLE WS_EX_CONTROLPARENT\n"
                                   "CAPTION \"Link Info\"\n"
                                   "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\n"
                                   "BEGIN\nEND\n"
                                   "8 DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n");
    const Dialog* dialog = script.dialog(7);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->caption, "Link Info");
    EXPECT_EQ(dialog->style, 0x8u | WS_CHILD | 0x400u | WS_CAPTION | 0x40u);
    EXPECT_EQ(dialog->exStyle, 0x10000u);
    EXPECT_EQ(dialog->helpId, 44u);
    EXPECT_EQ(dialog->rect.cx, 252);
    ASSERT_TRUE(dialog->font.has_value());
    EXPECT_EQ(dialog->font->pointSize, 8);
    EXPECT_EQ(dialog->font->typeface, "MS Shell Dlg");
    EXPECT_EQ(dialog->font->weight, 400);
    EXPECT_EQ(dialog->font->charset, 1);

    const Dialog* plain = script.dialog(8);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->style, 0x80000000u | WS_BORDER | 0x00080000u)
        << "popup, border and system menu by default";
    EXPECT_FALSE(plain->font.has_value());
}

TEST(Strings, EscapesAndDoubledQuotesAreResolved) {
    ResourceScript script = loadOk("STRINGTABLE\nBEGIN\n"
                                   "  1, \"tab\\tnew\\nline\"\n"
                                   "  2 \"say \"\"hi\"\" \\\\ \\x41\\101\"\n"
                                   "  3 \"http://example.com/ // not a comment\" // a comment\n"
                                   "  4 \"ends in a space \"\n"
                                   "END\n");
    EXPECT_EQ(*script.string(1), "tab\tnew\nline");
    EXPECT_EQ(*script.string(2), "say \"hi\" \\ AA");
    EXPECT_EQ(*script.string(3), "http://example.com/ // not a comment");
    EXPECT_EQ(*script.string(4), "ends in a space ");
    EXPECT_EQ(script.string(5), nullptr);
}

TEST(Preprocessor, IncludesGuardsAndCommentsWork) {
    std::map<std::string, std::string> files = {
        {"inc/ids.h", "#ifndef IDS_H\n#define IDS_H\n#ifndef IDC_STATIC\n#define IDC_STATIC (-1)\n#endif\n"
                      "#define IDS_HELLO 12 /* block\n comment */\n#include \"more.h\"\n#endif\n"},
        {"inc/more.h", "#ifdef IDS_HELLO\n#define IDS_BYE 13\n#else\n#define IDS_BYE 99\n#endif\n"},
    };
    ResourceScript script = loadOk("#include \"inc/ids.h\"\n#include \"inc/ids.h\"\n"
                                   "/* STRINGTABLE BEGIN 1 \"no\" END */\n"
                                   "STRINGTABLE { IDS_HELLO \"hello\" IDS_BYE \"bye\" }\n",
                                   files);
    EXPECT_EQ(*script.string(12), "hello");
    EXPECT_EQ(*script.string(13), "bye");
    EXPECT_EQ(script.strings.size(), 2u);
    EXPECT_EQ(script.symbol("IDC_STATIC"), -1);
    EXPECT_EQ(script.symbol("IDS_BYE"), 13);
    EXPECT_FALSE(script.symbol("IDS_H").has_value()) << "a guard without a value is no id";
}

TEST(Icons, AreReadRelativeToTheScript) {
    ResourceScript script = loadOk("5 ICON \"icons/a.ico\"\n", {{"icons/a.ico", tinyIconFile()}});
    const IconResource* icon = script.icon(5);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->path, "icons/a.ico");
    ASSERT_EQ(icon->images.size(), 1u);
    EXPECT_EQ(icon->images[0].width, 16);
    EXPECT_EQ(icon->images[0].bitCount, 32);
}

TEST(VersionInfo, FixedPartAndStringsAreRead) {
    ResourceScript script =
        loadOk("#include <windows.h>\n"
               "VS_VERSION_INFO VERSIONINFO\n"
               " FILEVERSION 2,96,0,1\n PRODUCTVERSION 1,2\n"
               " FILEFLAGSMASK VS_FFI_FILEFLAGSMASK\n FILEOS VOS__WINDOWS32\n FILETYPE VFT_APP\n"
               "BEGIN\n"
               " BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"040904B0\"\n  BEGIN\n"
               "   VALUE \"FileVersion\", \"2.96.0.1\"\n"
               "  END\n END\n"
               " BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", 0x409, 1200\n END\n"
               "END\n");
    ASSERT_TRUE(script.versionInfo.has_value());
    const VersionInfo& info = *script.versionInfo;
    EXPECT_EQ(info.id, 1);
    EXPECT_EQ(info.fileVersion, (std::array<std::uint16_t, 4>{2, 96, 0, 1}));
    EXPECT_EQ(info.productVersion, (std::array<std::uint16_t, 4>{1, 2, 0, 0}));
    EXPECT_EQ(info.fileFlagsMask, 0x3Fu);
    EXPECT_EQ(info.fileOs, 4u);
    EXPECT_EQ(info.fileType, 1u);
    ASSERT_NE(info.value("FileVersion"), nullptr);
    EXPECT_EQ(*info.value("FileVersion"), "2.96.0.1");
    EXPECT_EQ(info.value("ProductName"), nullptr);
    ASSERT_EQ(info.translations.size(), 1u);
    EXPECT_EQ(info.translations[0], std::make_pair(std::uint16_t{0x409}, std::uint16_t{1200}));
}

} // namespace
} // namespace wlan::rc::test
