// Enumeration: the buffer-size protocol of RegEnumValueA, the order of values and subkeys.
#include "ScratchKey.h"

#include <cstring>

using namespace std::string_literals;

namespace {

struct Enumerated {
    LONG rc;
    std::string name;
    DWORD nameLength; // what the call left in the name count
    DWORD type;
    DWORD size; // what the call left in the data count
    std::vector<BYTE> data;
};

Enumerated EnumValue(HKEY key, DWORD index, DWORD nameRoom, DWORD dataRoom) {
    std::vector<char> name(nameRoom + 1, 'x');
    std::vector<BYTE> data(dataRoom + 1, 0xcc);
    Enumerated e{};
    e.nameLength = nameRoom;
    e.size = dataRoom;
    e.rc = RegEnumValueA(key, index, name.data(), &e.nameLength, nullptr, &e.type, data.data(), &e.size);
    if (e.rc == ERROR_SUCCESS) {
        e.name.assign(name.data());
        e.data.assign(data.begin(), data.begin() + e.size);
    }
    return e;
}

std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    char name[64];
    DWORD length = sizeof name;
    for (DWORD i = 0;
         RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
        names.push_back(name);
    return names;
}

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        names.push_back(name);
    return names;
}

} // namespace

using RegistryEnumTest = RegistryTest;

// The name count is in characters with room for the terminator and comes back without it; the data count
// comes back as the size needed even when it does not fit. Both are left as they were on ERROR_MORE_DATA.
TEST_F(RegistryEnumTest, CountsFollowTheBufferSizeProtocol) {
    Set("alpha", REG_BINARY, "\x01\x02\x03"s);
    const struct {
        DWORD nameRoom, dataRoom;
        LONG rc;
        DWORD nameLength, size;
    } cases[] = {
        {6, 16, ERROR_SUCCESS, 5, 3},    {64, 3, ERROR_SUCCESS, 5, 3},  {5, 16, ERROR_MORE_DATA, 5, 3},
        {64, 2, ERROR_MORE_DATA, 64, 3}, {2, 1, ERROR_MORE_DATA, 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nameRoom) + " " + std::to_string(c.dataRoom));
        Enumerated e = EnumValue(m_key, 0, c.nameRoom, c.dataRoom);
        EXPECT_EQ(c.rc, e.rc);
        EXPECT_EQ(c.nameLength, e.nameLength);
        EXPECT_EQ(c.size, e.size);
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), e.type);
        if (c.rc == ERROR_SUCCESS) {
            EXPECT_EQ("alpha", e.name);
            EXPECT_EQ(Bytes("\x01\x02\x03"s), e.data);
        }
    }

    // Without a data buffer the call only reports the size.
    char name[64];
    DWORD length = sizeof name;
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegEnumValueA(m_key, 0, name, &length, nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(3u, size);

    EXPECT_EQ(ERROR_NO_MORE_ITEMS, EnumValue(m_key, 1, 64, 256).rc);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, EnumValue(m_key, 1000, 64, 256).rc);
}

TEST_F(RegistryEnumTest, StringsWithoutTerminatorEnumerateWithTheirStoredCount) {
    Set("SSID", REG_SZ, "abc");
    Set("TxRate", REG_SZ, "8\0\0"s);

    Enumerated rate = EnumValue(m_key, 1, 64, 256);
    ASSERT_EQ(ERROR_SUCCESS, rate.rc);
    EXPECT_EQ(Bytes("8\0\0"s), rate.data);

    Enumerated ssid = EnumValue(m_key, 0, 64, 256);
    ASSERT_EQ(ERROR_SUCCESS, ssid.rc);
    Enumerated exactRoom = EnumValue(m_key, 0, 64, 3);
    if (RunningUnderWine()) {
        // Wine adds a terminator that was never stored, and then needs room for it.
        EXPECT_EQ(Bytes("abc\0"s), ssid.data);
        EXPECT_EQ(ERROR_MORE_DATA, exactRoom.rc);
        EXPECT_EQ(4u, exactRoom.size);
    } else {
        EXPECT_EQ(Bytes("abc"), ssid.data);
        EXPECT_EQ(ERROR_SUCCESS, exactRoom.rc);
        EXPECT_EQ(3u, exactRoom.size);
    }
}

// The way the program reads a parameters key: 64-byte name and 256-byte data buffers, sizes reset before
// each call, stopping at the first call that does not succeed.
TEST_F(RegistryEnumTest, ProgramScanStopsAtTheFirstValueThatDoesNotFit) {
    Set("DSChannel", REG_SZ, "11");
    Set("Full", REG_BINARY, std::string(256, 'k'));             // exactly fills the data buffer
    const std::string longestName = "N" + std::string(62, 'n'); // 63 characters and the terminator
    const std::string tooLongName = "O" + std::string(63, 'o'); // 64 characters: no room for the terminator
    Set(longestName.c_str(), REG_SZ, "1\0"s);
    Set(tooLongName.c_str(), REG_SZ, "2\0"s);
    Set("PSMode", REG_SZ, "2\0"s);

    std::vector<std::string> read;
    LONG rc = ERROR_SUCCESS;
    for (DWORD i = 0;; ++i) {
        char name[64];
        BYTE data[256];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        rc = RegEnumValueA(m_key, i, name, &nameSize, nullptr, nullptr, data, &dataSize);
        if (rc != ERROR_SUCCESS)
            break;
        read.push_back(name);
    }
    EXPECT_EQ(ERROR_MORE_DATA, rc);
    EXPECT_EQ((std::vector<std::string>{"DSChannel", "Full", longestName}), read);
}

TEST_F(RegistryEnumTest, ValuesEnumerateInOrderOfCreation) {
    Set("Zeta", REG_BINARY, "\x01"s);
    Set("alpha", REG_BINARY, "\x02"s);
    Set("Mid", REG_BINARY, "\x03"s);
    Set("ZETA", REG_BINARY, "\x04"s); // replacing keeps the place
    Set("beta", REG_BINARY, "\x05"s);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(m_key, "alpha"));
    Set("Alpha", REG_BINARY, "\x06"s);

    if (RunningUnderWine()) {
        // Wine keeps values sorted by name; Windows lists them in the order they were created.
        EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "Mid", "Zeta"}), ValueNames(m_key));
    } else {
        EXPECT_EQ((std::vector<std::string>{"Zeta", "Mid", "beta", "Alpha"}), ValueNames(m_key));
    }
}

TEST_F(RegistryEnumTest, SubkeysEnumerateSortedWithoutRegardToLetterCase) {
    for (const char* name : {"b", "aZ", "C", "a", "0010", "Profile", "0003"})
        RegCloseKey(CreateSubkey(name));
    EXPECT_EQ((std::vector<std::string>{"0003", "0010", "a", "aZ", "b", "C", "Profile"}), SubkeyNames(m_key));

    // The characters between 'Z' and 'a' show which case the names are folded to.
    RegCloseKey(CreateSubkey("A_b"));
    const std::vector<std::string> names = SubkeyNames(m_key);
    ASSERT_EQ(8u, names.size());
    if (RunningUnderWine()) {
        // Wine compares lower-case forms, so '_' comes before the letters.
        EXPECT_EQ("A_b", names[3]);
    } else {
        // Windows NT compares upper-case forms, so '_' comes after the letters.
        EXPECT_EQ("aZ", names[3]);
        EXPECT_EQ("A_b", names[4]);
    }
}

TEST_F(RegistryEnumTest, SubkeyNameBufferMustHoldTheTerminator) {
    RegCloseKey(CreateSubkey("0003"));
    char name[8];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyA(m_key, 0, name, 4));
    EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyA(m_key, 0, name, 5));
    EXPECT_STREQ("0003", name);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyA(m_key, 1, name, sizeof name));
}
