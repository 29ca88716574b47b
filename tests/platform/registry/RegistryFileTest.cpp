// The registry text form: exact round trips of every byte, the layout a reader sees, subtree dumps.
#include "HostRegistryTest.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace std::string_literals;

namespace {

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    return bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

using RegistryFileTest = HostRegistryTest;

TEST_F(RegistryFileTest, EveryByteOfNamesAndDataSurvivesARoundTrip) {
    const struct {
        std::string name;
        DWORD type;
        std::string bytes;
    } values[] = {
        {"SSID", REG_SZ, "home \"net\" \\ #1"},
        {"DSChannel", REG_SZ, "11"},
        {"TxRate", REG_SZ, "15\0"s},
        {"Padded", REG_SZ, "0\0\0\0"s},
        {"", REG_SZ, "unnamed"},
        {"AuthentAlg", REG_DWORD, "\xff\xff\x00\x00"s},
        {"ShortDword", REG_DWORD, "\x01\x02\x03"s},
        {"All", REG_BINARY, AllBytes()},
        {"AllAsText", REG_SZ, AllBytes()},
        {"EmptyBinary", REG_BINARY, ""},
        {"Untyped", 0, "\x00"s},
        {"Big type", 0xFFFFFFFFu, "x"},
        {"Multi", REG_MULTI_SZ, "a\0b\0\0"s},
        {"name \"quoted\" \\ = # \x01\x7f\x80\xff", REG_BINARY, "\x42"s},
    };
    HKEY plain = Create(HKEY_LOCAL_MACHINE, "System\\Class\\0003");
    for (const auto& v : values)
        Set(plain, v.name, v.type, v.bytes);
    const char* const oddPath = "Software\\100% [odd] \x01\x7f\xe9 \\#name ";
    HKEY odd = Create(HKEY_CURRENT_USER, oddPath);
    Set(odd, "v", REG_SZ, "1");
    RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\empty key"));

    const std::string text = hostsim::SaveRegistryText();
    std::string error;
    hostsim::ResetRegistry();
    ASSERT_TRUE(hostsim::LoadRegistryText(text, "saved", &error)) << error << "\n" << text;
    EXPECT_EQ(text, hostsim::SaveRegistryText());

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\Class\\0003", 0, KEY_READ, &key));
    for (const auto& v : values)
        EXPECT_EQ(std::to_string(v.type) + ":" + v.bytes, Read(key, v.name)) << v.name;
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, oddPath, 0, KEY_READ, &key));
    EXPECT_EQ("1:1", Read(key, "v"));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\empty key", 0, KEY_READ, &key));
    RegCloseKey(key);
}

TEST_F(RegistryFileTest, TextShowsKeysSortedAndValuesInOrderOfCreation) {
    HKEY adapter = Create(HKEY_LOCAL_MACHINE, "System\\Class\\0003");
    Set(adapter, "SSID", REG_SZ, "Lab\xe9");
    Set(adapter, "DSChannel", REG_SZ, "6\0"s);
    Set(adapter, "RTSThresh", REG_DWORD, "\x00\x09\x00\x00"s);
    Set(adapter, "Key", REG_BINARY, "\x00\xab"s);
    Set(adapter, "Odd", 77, "");
    RegCloseKey(Create(adapter, "Profile\\home"));
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "System\\Class\\0001 50%"));
    HKEY user = Create(HKEY_CURRENT_USER, "Software\\PRISM2.5");
    Set(user, "", REG_SZ, "x\\y\"z");

    EXPECT_EQ("wlan-registry 1\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\System]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\System\\Class]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\System\\Class\\0001 50%25]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\System\\Class\\0003]\n"
              "  \"SSID\" = sz \"Lab\\xe9\"\n"
              "  \"DSChannel\" = sz \"6\\0\"\n"
              "  \"RTSThresh\" = dword 2304\n"
              "  \"Key\" = binary hex 00 ab\n"
              "  \"Odd\" = type(77) hex\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\System\\Class\\0003\\Profile]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\System\\Class\\0003\\Profile\\home]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\PRISM2.5]\n"
              "  \"\" = sz \"x\\\\y\\\"z\"\n",
              hostsim::SaveRegistryText());
    EXPECT_EQ("wlan-registry 1\n", (hostsim::ResetRegistry(), hostsim::SaveRegistryText()));
}

TEST_F(RegistryFileTest, HandWrittenTextMayUseEveryAcceptedForm) {
    const std::string text = "# a prepared machine\r\n"
                             "wlan-registry 1\r\n"
                             "[hkey_local_machine\\Services\\RAZUR2\\Parameters]   \r\n"
                             "\t\"DSChannel\"=dword 0x0B\r\n"
                             "  \"FragThresh\" = type(4) 2346\n"
                             "  \"SSID\" = binary \"raw \xc3\xa9\"\n"
                             "  \"Key\" = binary hex 0A Bc   \n"
                             "  # a comment between values\n"
                             "  \"Empty\" = sz \"\"\n";
    std::string error;
    ASSERT_TRUE(hostsim::LoadRegistryText(text, "prepared", &error)) << error;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SERVICES\\razur2\\parameters", 0, KEY_READ, &key));
    EXPECT_EQ("4:\x0b\0\0\0"s, Read(key, "DSChannel"));
    EXPECT_EQ("4:\x2a\x09\0\0"s, Read(key, "FragThresh"));
    EXPECT_EQ("3:raw \xc3\xa9", Read(key, "SSID"));
    EXPECT_EQ("3:\x0a\xbc", Read(key, "Key"));
    EXPECT_EQ("1:", Read(key, "Empty"));
    RegCloseKey(key);
}

TEST_F(RegistryFileTest, FilesRoundTripThroughTheDisk) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, "A");
    Set(key, "v", REG_SZ, "11");
    RegCloseKey(key);
    const std::string path = ::testing::TempDir() + "registry-file-test.reg";
    std::string error;
    ASSERT_TRUE(hostsim::SaveRegistryFile(path, &error)) << error;
    EXPECT_EQ(hostsim::SaveRegistryText(), ReadFile(path));

    hostsim::ResetRegistry();
    ASSERT_TRUE(hostsim::LoadRegistryFile(path, &error)) << error;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A", 0, KEY_READ, &key));
    EXPECT_EQ("1:11", Read(key, "v"));
    RegCloseKey(key);
    std::remove(path.c_str());

    EXPECT_FALSE(hostsim::LoadRegistryFile(path, &error));
    EXPECT_EQ(path + ": cannot read the file", error);
    const std::string unwritable = ::testing::TempDir() + "no-such-directory/x.reg";
    EXPECT_FALSE(hostsim::SaveRegistryFile(unwritable, &error));
    EXPECT_EQ(unwritable + ": cannot write the file", error);
}

TEST_F(RegistryFileTest, DumpShowsOneSubtree) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Class\\0003\\Ndi\\params\\SSID");
    Set(key, "", REG_SZ, "net");
    RegCloseKey(key);
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "Class\\0004"));

    EXPECT_EQ("[HKEY_LOCAL_MACHINE\\Class\\0003\\Ndi]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Class\\0003\\Ndi\\params]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Class\\0003\\Ndi\\params\\SSID]\n"
              "  \"\" = sz \"net\"\n",
              hostsim::DumpRegistryKey("hkey_local_machine\\class\\0003\\NDI"));
    EXPECT_EQ("", hostsim::DumpRegistryKey("HKEY_LOCAL_MACHINE\\Class\\0005"));
    EXPECT_EQ("", hostsim::DumpRegistryKey("HKEY_USERS\\Class"));
}
