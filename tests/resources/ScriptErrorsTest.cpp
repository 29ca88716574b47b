// Broken scripts: each gives one precise "file:line: what is wrong" and no script at all.
#include "ScriptTestSupport.h"

namespace wlan::rc::test {
namespace {

const std::string kGoodDialog = "#include <windows.h>\n"
                                "1 DIALOGEX 0, 0, 100, 50\n"
                                "STYLE WS_CHILD\n"
                                "BEGIN\n"
                                "    PUSHBUTTON \"OK\", 5, 1, 2, 3, 4\n"
                                "END\n";

TEST(ScriptErrors, NameTheFileLineAndProblem) {
    struct Case {
        const char* what;
        std::string script;
        std::string error;
        std::map<std::string, std::string> otherFiles = {};
    };
    const Case cases[] = {
        {"unknown statement", kGoodDialog + "MENUITEM \"x\", 1\n", "test.rc:7: unknown statement 'MENUITEM'"},
        {"unknown control statement",
         "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  SCROLLTEXT \"a\", 1, 1, 1, 1, 1\nEND\n",
         "test.rc:3: unknown control statement 'SCROLLTEXT'"},
        {"unterminated string", "STRINGTABLE\nBEGIN\n  1 \"never closed\nEND\n",
         "test.rc:3: unterminated string"},
        {"bad number", "1 DIALOGEX 0, 0, 12abc, 10\nBEGIN\nEND\n", "test.rc:1: bad number '12abc'"},
        {"leading zero", "1 DIALOGEX 0, 0, 010, 10\nBEGIN\nEND\n", "test.rc:1: bad number '010'"},
        {"number too large", "STRINGTABLE\nBEGIN\n 0x100000000 \"a\"\nEND\n",
         "test.rc:3: number '0x100000000' is too large"},
        {"missing END of a dialog",
         "#include <windows.h>\n1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 1, 1, 1, 1\n",
         "test.rc:3: BEGIN of dialog 1 has no END"},
        {"missing END of a string table", "STRINGTABLE\nBEGIN\n 1 \"a\"\n",
         "test.rc:2: STRINGTABLE has no END"},
        {"unknown id in a control",
         "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", IDC_NOWHERE, 1, 1, 1, 1\nEND\n",
         "test.rc:3: unknown name 'IDC_NOWHERE'"},
        {"unknown resource id", "IDD_NOWHERE DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n",
         "test.rc:1: unknown name 'IDD_NOWHERE'"},
        {"misspelt style", "1 DIALOGEX 0, 0, 10, 10\nSTYLE WS_CHLD\nBEGIN\nEND\n",
         "test.rc:2: unknown name 'WS_CHLD'"},
        {"escaped quote", "STRINGTABLE\nBEGIN\n 1 \"a \\\"b\\\"\"\nEND\n",
         "test.rc:3: write \"\" for a quote inside a string"},
        {"unknown escape", "STRINGTABLE\nBEGIN\n 1 \"a\\qb\"\nEND\n",
         "test.rc:3: unknown escape sequence '\\q'"},
        {"stray character", "STRINGTABLE\nBEGIN\n 1 \"a\" ;\nEND\n", "test.rc:3: unexpected character ';'"},
        {"missing comma", "1 DIALOGEX 0, 0, 10 10\nBEGIN\nEND\n",
         "test.rc:1: expected ',' after width, found '10'"},
        {"coordinate out of range", "1 DIALOGEX 0, 0, 40000, 10\nBEGIN\nEND\n",
         "test.rc:1: width 40000 is out of range"},
        {"resource id zero", "0 DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n",
         "test.rc:1: resource id 0 is out of range (1 to 65535)"},
        {"control id too large", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  EDITTEXT 70000, 1, 1, 1, 1\nEND\n",
         "test.rc:3: control id 70000 is out of range (-1 to 65535)"},
        {"unsupported resource type", "1 MENU\nBEGIN\nEND\n",
         "test.rc:1: resource type 'MENU' is not supported"},
        {"duplicate string", "STRINGTABLE\nBEGIN\n 1 \"a\"\n 1 \"b\"\nEND\n",
         "test.rc:4: string 1 is defined twice (first at test.rc:3)"},
        {"duplicate dialog", kGoodDialog + "1 DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n",
         "test.rc:7: dialog 1 is defined twice (first at test.rc:2)"},
        {"duplicate control id",
         "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n EDITTEXT 4, 1, 1, 1, 1\n EDITTEXT 4, 1, 1, 1, 1\nEND\n",
         "test.rc:4: control id 4 is used twice in dialog 1"},
        {"unterminated comment", "/* open\n\nSTRINGTABLE\n", "test.rc:1: unterminated comment"},
        {"missing #endif", "#ifndef X\n#define X 1\n", "test.rc:1: #ifdef or #ifndef without #endif"},
        {"#endif alone", "#endif\n", "test.rc:1: #endif without #ifdef or #ifndef"},
        {"#if", "#if 1\n#endif\n", "test.rc:1: #if is not supported (use #ifdef or #ifndef)"},
        {"macro with parameters", "#define F(x) x\n", "test.rc:1: macros with parameters are not supported"},
        {"self-referring define", "#define A (B + 1)\n#define B A\nSTRINGTABLE { A \"x\" }\n",
         "test.rc:1: 'A' is defined in terms of itself"},
        {"define that is no number", "#define A \"text\"\nSTRINGTABLE { A \"x\" }\n",
         "test.rc:1: expected a number, found string \"text\""},
        {"conflicting redefinition", "#define A 1\n#define A 2\n",
         "test.rc:2: 'A' redefined (first defined at test.rc:1)"},
        {"missing include", "#include \"nothere.h\"\n", "test.rc:1: cannot open include file 'nothere.h'"},
        {"unknown system header", "#include <afxres.h>\n", "test.rc:1: unknown system header <afxres.h>"},
        {"missing icon file", "5 ICON \"icons/none.ico\"\n",
         "test.rc:1: cannot open icon file 'icons/none.ico'"},
        {"unknown version block", "1 VERSIONINFO\nBEGIN\n BLOCK \"Other\"\n BEGIN\n END\nEND\n",
         "test.rc:3: unknown version block 'Other'"},
        {"missing END of VERSIONINFO", "1 VERSIONINFO\nBEGIN\n BLOCK \"VarFileInfo\"\n BEGIN\n END\n",
         "test.rc:2: BEGIN of VERSIONINFO has no END"},
        // In an included file the error names that file.
        {"bad number in a header",
         "#include \"sub/ids.h\"\nSTRINGTABLE { B \"x\" }\n",
         "sub/ids.h:2: bad number '0x'",
         {{"sub/ids.h", "#define A 1\n#define B 0x\n"}}},
        {"header including itself",
         "#include \"sub/self.h\"\n",
         "sub/self.h:1: includes nested too deeply",
         {{"sub/self.h", "#include \"self.h\"\n"}}},
        {"icon file cut short",
         "5 ICON \"a.ico\"\n",
         "test.rc:1: 'a.ico' is not an icon file: picture 1 lies outside the file",
         {{"a.ico", tinyIconFile().substr(0, tinyIconFile().size() - 10)}}},
        {"no icon file",
         "5 ICON \"a.ico\"\n",
         "test.rc:1: 'a.ico' is not an icon file: no icon file header",
         {{"a.ico", "BM not an icon"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(loadError(c.script, c.otherFiles), c.error);
    }
}

TEST(ScriptErrors, AMissingScriptIsReported) {
    MemorySource empty;
    LoadResult result = loadResourceScript("absent.rc", empty);
    EXPECT_FALSE(result);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->text(), "absent.rc: cannot open file");
}

} // namespace
} // namespace wlan::rc::test
