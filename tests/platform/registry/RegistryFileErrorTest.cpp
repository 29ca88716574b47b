// Refused registry texts: each says where and what is wrong, and the registry keeps what it held.
#include "HostRegistryTest.h"

#include <fstream>

namespace {

struct BadText {
    const char* body; // follows the header line; line 2 is the first line of the body
    const char* error;
    bool header = true; // false: the body is the whole text
};

const BadText kBadTexts[] = {
    {"", "bad.reg:1: no header line 'wlan-registry 1'", false},
    {"# only a comment\n\n", "bad.reg:2: no header line 'wlan-registry 1'", false},
    {"# v2\nwlan-registry 2\n", "bad.reg:2: expected the header line 'wlan-registry 1'", false},
    {"[HKEY_LOCAL_MACHINE\\a]\n", "bad.reg:1: expected the header line 'wlan-registry 1'", false},
    {"\"v\" = sz \"1\"\n", "bad.reg:2: value line before the first key line"},
    {"[HKEY_CLASSES_ROOT\\x]\n", "bad.reg:2: unknown root key 'HKEY_CLASSES_ROOT' (HKEY_LOCAL_MACHINE or "
                                 "HKEY_CURRENT_USER)"},
    {"[HKEY_LOCAL_MACHINE\\x\n", "bad.reg:2: key line does not end with ]"},
    {"[HKEY_LOCAL_MACHINE\\a\\\\b]\n", "bad.reg:2: empty key name in the path"},
    {"[HKEY_LOCAL_MACHINE\\a\\]\n", "bad.reg:2: empty key name in the path"},
    {"[HKEY_LOCAL_MACHINE\\50%]\n", "bad.reg:2: % in a key name must be followed by two hexadecimal digits"},
    {"[HKEY_LOCAL_MACHINE\\a%zz]\n", "bad.reg:2: % in a key name must be followed by two hexadecimal digits"},
    {"[HKEY_LOCAL_MACHINE\\a%5cb]\n", "bad.reg:2: a key name cannot hold a zero byte or a backslash"},
    {"[HKEY_LOCAL_MACHINE\\a%00]\n", "bad.reg:2: a key name cannot hold a zero byte or a backslash"},
    {"[HKEY_LOCAL_MACHINE\\a\tb]\n", "bad.reg:2: control character in a key name (write it as %HH)"},
    {"[HKEY_LOCAL_MACHINE\\Ab]\n\n[HKEY_LOCAL_MACHINE\\aB]\n",
     "bad.reg:4: key [HKEY_LOCAL_MACHINE\\Ab] given twice (first at line 2)"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"V\" = sz \"1\"\n\"v\" = sz \"2\"\n",
     "bad.reg:4: value \"V\" given twice in this key"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v = sz \"1\"\n", "bad.reg:3: expected = after the value name"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = sz \"1\n", "bad.reg:3: string not closed by a quote"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = sz \"1\\\n", "bad.reg:3: string not closed by a quote"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = sz \"\\n\"\n", "bad.reg:3: unknown escape \\n in a string"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = sz \"\\x4\"\n",
     "bad.reg:3: \\x must be followed by two hexadecimal digits"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = sz \"a\tb\"\n",
     "bad.reg:3: control character in a string (write it as \\xHH)"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\\0\" = sz \"\"\n", "bad.reg:3: a value name cannot hold a zero byte"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" sz \"1\"\n", "bad.reg:3: expected = after the value name"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" =\n", "bad.reg:3: missing the value type after ="},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = string \"1\"\n", "bad.reg:3: unknown value type 'string'"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = type(4294967296) hex\n",
     "bad.reg:3: unknown value type 'type(4294967296)'"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = dword\n", "bad.reg:3: missing data after the type"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = dword 4294967296\n",
     "bad.reg:3: bad data '4294967296' (a quoted string, hex bytes or a number from 0 to 4294967295)"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = dword -1\n",
     "bad.reg:3: bad data '-1' (a quoted string, hex bytes or a number from 0 to 4294967295)"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = binary hex 00 1 ff\n",
     "bad.reg:3: bad hex byte '1' (two hexadecimal digits)"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = binary hex 0g\n",
     "bad.reg:3: bad hex byte '0g' (two hexadecimal digits)"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = sz \"1\" # note\n",
     "bad.reg:3: unexpected text after the value's data"},
    {"[HKEY_LOCAL_MACHINE\\a]\n\"v\" = dword 1 2\n", "bad.reg:3: unexpected text after the value's data"},
    {"[HKEY_LOCAL_MACHINE\\a]\nv = sz \"1\"\n",
     "bad.reg:3: expected a key line [...] or a value line \"name\" = type data"},
};

} // namespace

class RegistryFileErrorTest : public HostRegistryTest {
protected:
    void SetUp() override {
        HostRegistryTest::SetUp();
        HKEY key = Create(HKEY_LOCAL_MACHINE, "Kept");
        Set(key, "v", REG_SZ, "old");
        m_handle = key;
        m_before = hostsim::SaveRegistryText();
    }

    // The refused text changed nothing, not even the keys behind open handles.
    void ExpectUnchanged() {
        EXPECT_EQ(m_before, hostsim::SaveRegistryText());
        EXPECT_EQ("1:old", Read(m_handle, "v"));
    }

    HKEY m_handle = nullptr;
    std::string m_before;
};

TEST_F(RegistryFileErrorTest, EachMistakeIsNamedWithItsLine) {
    for (const BadText& bad : kBadTexts) {
        std::string error;
        EXPECT_FALSE(hostsim::LoadRegistryText(std::string(bad.header ? "wlan-registry 1\n" : "") + bad.body,
                                               "bad.reg", &error))
            << bad.body;
        EXPECT_EQ(bad.error, error) << bad.body;
        ExpectUnchanged();
    }
}

TEST_F(RegistryFileErrorTest, AnErrorAfterManyGoodLinesStillLoadsNothing) {
    std::string text = "wlan-registry 1\n[HKEY_LOCAL_MACHINE\\Kept]\n\"v\" = sz \"new\"\n";
    for (int i = 0; i < 100; ++i)
        text += "[HKEY_LOCAL_MACHINE\\New\\" + std::to_string(i) + "]\n\"x\" = dword 1\n";
    text += "[HKEY_LOCAL_MACHINE\\Broken\n";
    std::string error;
    EXPECT_FALSE(hostsim::LoadRegistryText(text, "long.reg", &error));
    EXPECT_EQ("long.reg:204: key line does not end with ]", error);
    ExpectUnchanged();
}

TEST_F(RegistryFileErrorTest, KeysDeeperThanWindowsAllowsAreRefused) {
    std::string path = "HKEY_LOCAL_MACHINE";
    for (int i = 0; i < 512; ++i)
        path += "\\k";
    std::string error;
    EXPECT_TRUE(hostsim::LoadRegistryText("wlan-registry 1\n[" + path + "]\n", "deep.reg", &error)) << error;
    ASSERT_TRUE(hostsim::LoadRegistryText(m_before, "before", &error)) << error;
    m_handle = Create(HKEY_LOCAL_MACHINE, "Kept");
    EXPECT_FALSE(hostsim::LoadRegistryText("wlan-registry 1\n[" + path + "\\k]\n", "deep.reg", &error));
    EXPECT_EQ("deep.reg:2: key nested deeper than 512 levels", error);
    ExpectUnchanged();
}

TEST_F(RegistryFileErrorTest, AFileNamesItselfInTheMessage) {
    const std::string path = ::testing::TempDir() + "registry-file-error-test.reg";
    {
        std::ofstream file(path, std::ios::binary);
        file << "wlan-registry 1\n[HKEY_LOCAL_MACHINE\\a]\n\"v\" = dword 0x\n";
    }
    std::string error;
    EXPECT_FALSE(hostsim::LoadRegistryFile(path, &error));
    EXPECT_EQ(path + ":3: bad data '0x' (a quoted string, hex bytes or a number from 0 to 4294967295)",
              error);
    std::remove(path.c_str());
    ExpectUnchanged();
}
