// The write observer: what the host runner prints as the program's registry writes.
#include "HostRegistryTest.h"

using namespace std::string_literals;

class RegistryObserverTest : public HostRegistryTest {
protected:
    void SetUp() override {
        HostRegistryTest::SetUp();
        hostsim::SetRegistryWriteObserver([this](const hostsim::RegistryWrite& write) {
            m_writes.push_back(hostsim::FormatRegistryWrite(write));
        });
    }

    std::vector<std::string> m_writes;
};

TEST_F(RegistryObserverTest, ReportsEveryChangeInOrderWithTheStoredSpelling) {
    HKEY profile = Create(HKEY_LOCAL_MACHINE, "Class\\0003\\Profile\\home");
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "CLASS\\0003")); // exists: no write
    Set(profile, "DSChannel", REG_SZ, "11");
    Set(profile, "dschannel", REG_SZ, "6\0"s);
    Set(profile, "AuthentAlg", REG_DWORD, "\xff\xff\0\0"s);
    Set(profile, "Key", REG_BINARY, "\x01\xfe"s);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(profile, "KEY"));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, "class\\0003\\profile\\HOME"));
    RegCloseKey(profile);

    EXPECT_EQ((std::vector<std::string>{
                  "create [HKEY_LOCAL_MACHINE\\Class]",
                  "create [HKEY_LOCAL_MACHINE\\Class\\0003]",
                  "create [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile]",
                  "create [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile\\home]",
                  "set [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile\\home] \"DSChannel\" = sz \"11\"",
                  "set [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile\\home] \"DSChannel\" = sz \"6\\0\"",
                  "set [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile\\home] \"AuthentAlg\" = dword 65535",
                  "set [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile\\home] \"Key\" = binary hex 01 fe",
                  "delete [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile\\home] \"Key\"",
                  "delete [HKEY_LOCAL_MACHINE\\Class\\0003\\Profile\\home]",
              }),
              m_writes);
}

TEST_F(RegistryObserverTest, FailedCallsWriteNothing) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Parent\\Child");
    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Parent", 0, KEY_ALL_ACCESS, &parent));
    m_writes.clear();

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key, "none"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Parent"));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(parent, "Child"));
    EXPECT_EQ(ERROR_KEY_DELETED, RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 1));
    EXPECT_EQ(ERROR_BAD_PATHNAME,
              RegCreateKeyExA(parent, "\\x", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));

    EXPECT_EQ((std::vector<std::string>{"delete [HKEY_CURRENT_USER\\Software\\Parent\\Child]"}), m_writes);
}

TEST_F(RegistryObserverTest, AnObserverMayReadTheRegistryItIsToldAbout) {
    std::vector<std::string> seen;
    hostsim::SetRegistryWriteObserver([&seen](const hostsim::RegistryWrite& write) {
        seen.push_back(hostsim::DumpRegistryKey(write.keyPath));
    });
    HKEY key = Create(HKEY_LOCAL_MACHINE, "A");
    Set(key, "v", REG_SZ, "1");
    EXPECT_EQ((std::vector<std::string>{"[HKEY_LOCAL_MACHINE\\A]\n",
                                        "[HKEY_LOCAL_MACHINE\\A]\n  \"v\" = sz \"1\"\n"}),
              seen);

    hostsim::SetRegistryWriteObserver(nullptr);
    Set(key, "w", REG_SZ, "2");
    EXPECT_EQ(2u, seen.size());
    EXPECT_TRUE(m_writes.empty()) << "the first observer was replaced";
}

// The read observer: what the host runner's registry trace prints besides the writes, failures included.
TEST_F(RegistryObserverTest, TheReadObserverSeesOpensQueriesEnumerationsAndClosesWithTheirResults) {
    std::vector<std::string> reads;
    hostsim::SetRegistryReadObserver(
        [&reads](const hostsim::RegistryRead& read) { reads.push_back(hostsim::FormatRegistryRead(read)); });
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Net\\0007");
    Set(key, "DriverDesc", REG_SZ, "Card\0"s);
    RegCloseKey(key);
    HKEY opened = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Net\\0008", 0, KEY_READ, &opened));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Net\\0007", 0, KEY_READ, &opened));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(opened, "DriverDesc", nullptr, nullptr, nullptr, &size));
    char data[8];
    size = 2;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(opened, "DriverDesc", nullptr, nullptr, (BYTE*)data, &size));
    size = sizeof data;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(opened, "DriverDesc", nullptr, nullptr, (BYTE*)data, &size));
    char name[64];
    DWORD nameSize = sizeof name;
    size = sizeof data;
    EXPECT_EQ(ERROR_SUCCESS, RegEnumValueA(opened, 0, name, &nameSize, nullptr, nullptr, (BYTE*)data, &size));
    nameSize = sizeof name;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS,
              RegEnumValueA(opened, 1, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyA(HKEY_LOCAL_MACHINE, 0, name, sizeof name));
    RegCloseKey(opened);
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(opened));
    hostsim::SetRegistryReadObserver(nullptr);
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, "Net"));

    const std::string k = "[HKEY_LOCAL_MACHINE\\Net\\0007]";
    ASSERT_EQ(12u, reads.size());
    EXPECT_EQ("open [HKEY_LOCAL_MACHINE\\Net\\0007] (create) -> 0x100 created", reads[0]);
    EXPECT_EQ("close " + k + " 0x100 -> ok", reads[1]);
    EXPECT_EQ("open [HKEY_LOCAL_MACHINE\\Net\\0008] -> error 2 (file not found)", reads[2]);
    EXPECT_EQ("open " + k + " -> 0x104", reads[3]);
    EXPECT_EQ("query " + k + " \"DriverDesc\" -> ok sz, 5 bytes", reads[4]);
    EXPECT_EQ("query " + k + " \"DriverDesc\" -> error 234 (more data) sz, 5 bytes", reads[5]);
    EXPECT_EQ("query " + k + " \"DriverDesc\" -> ok sz \"Card\\0\"", reads[6]);
    EXPECT_EQ("enum value " + k + " #0 -> ok \"DriverDesc\" sz \"Card\\0\"", reads[7]);
    EXPECT_EQ("enum value " + k + " #1 -> error 259 (no more items)", reads[8]);
    EXPECT_EQ("enum key [HKEY_LOCAL_MACHINE] #0 -> ok \"Net\"", reads[9]);
    EXPECT_EQ("close " + k + " 0x104 -> ok", reads[10]);
    EXPECT_EQ("close [handle 0x104] 0x104 -> error 6 (invalid handle)", reads[11]);
}
