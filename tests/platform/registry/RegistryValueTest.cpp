// Values: byte counts kept exactly, the buffer-size protocol of RegQueryValueExA, types, letter case.
#include "ScratchKey.h"

using namespace std::string_literals;

using RegistryValueTest = RegistryTest;

TEST_F(RegistryValueTest, StringsKeepTheByteCountTheyWereWrittenWith) {
    Set("DSChannel", REG_SZ, "11"); // exactly two characters: no terminator
    Set("TxRate", REG_SZ, "15\0"s); // fixed count of 3: the terminator included
    Set("PSMode", REG_SZ, "1\0"s);
    Set("FragThresh", REG_SZ, "0\0\0\0"s); // a short text padded with zeros
    Set("Empty", REG_SZ, "");

    EXPECT_EQ(Bytes("15\0"s), Query("TxRate"));
    EXPECT_EQ(Bytes("1\0"s), Query("PSMode"));
    EXPECT_EQ(Bytes("0\0\0\0"s), Query("FragThresh"));
    EXPECT_EQ(Bytes(""), Query("Empty"));
    if (RunningUnderWine()) {
        // Wine reports (and appends) a terminator that was never stored; Windows returns what was stored.
        EXPECT_EQ(Bytes("11\0"s), Query("DSChannel"));
    } else {
        EXPECT_EQ(Bytes("11"), Query("DSChannel"));
    }
}

TEST_F(RegistryValueTest, QueryReportsTheSizeItNeeds) {
    Set("Blob", REG_BINARY, "\x01\x02\x03"s);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(m_key, "Blob", nullptr, &type, nullptr, &size));
    EXPECT_EQ(3u, size);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);

    BYTE data[4] = {0xcc, 0xcc, 0xcc, 0xcc};
    size = 2;
    type = 0;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(m_key, "Blob", nullptr, &type, data, &size));
    EXPECT_EQ(3u, size);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);

    size = 3;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(m_key, "Blob", nullptr, nullptr, data, &size));
    EXPECT_EQ(3u, size);
    EXPECT_EQ(0x03, data[2]);
    EXPECT_EQ(0xcc, data[3]) << "nothing written past the value";

    // Asking only whether the value exists.
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(m_key, "Blob", nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(m_key, "Missing", nullptr, nullptr, nullptr, &size));
}

TEST_F(RegistryValueTest, NumbersBinaryAndUnknownTypesKeepTheirBytes) {
    Set("AuthentAlg", REG_DWORD, "\xff\xff\x00\x00"s);
    Set("Short", REG_DWORD, "\x01\x02"s); // a DWORD given two bytes keeps two bytes
    Set("Key", REG_BINARY, "\x00\xff\x00\x80"s);
    Set("Odd", 77, "xy");

    EXPECT_EQ(Bytes("\xff\xff\x00\x00"s), Query("AuthentAlg"));
    EXPECT_EQ(Bytes("\x01\x02"s), Query("Short"));
    EXPECT_EQ(Bytes("\x00\xff\x00\x80"s), Query("Key"));
    DWORD type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(m_key, "Odd", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(77u, type);

    // Replacing a value replaces its type as well.
    Set("Short", REG_SZ, "2");
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(m_key, "Short", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(RegistryValueTest, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    Set("DSChannel", REG_BINARY, "\x06"s);
    EXPECT_EQ(Bytes("\x06"s), Query("dschannel"));

    Set("DSCHANNEL", REG_BINARY, "\x0b"s);
    char name[64];
    DWORD length = sizeof name;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(m_key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ("DSChannel", name);
    length = sizeof name;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueA(m_key, 1, name, &length, nullptr, nullptr, nullptr, nullptr))
        << "one value, not two";
    EXPECT_EQ(Bytes("\x0b"s), Query("DSChannel"));

    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(m_key, "dsCHANNEL"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(m_key, "DSChannel"));
}

TEST_F(RegistryValueTest, TheUnnamedValueIsTheEmptyName) {
    // How the mirrors below Ndi\params are written: the key's unnamed value.
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(m_key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("6\0"), 2));
    EXPECT_EQ(Bytes("6\0"s), Query(""));
    char name[8] = "x";
    DWORD length = sizeof name;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(m_key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0u, length);
    EXPECT_STREQ("", name);
}

TEST_F(RegistryValueTest, DataPointerMissingForNonEmptyDataIsRefused) {
    EXPECT_EQ(ERROR_NOACCESS, RegSetValueExA(m_key, "V", 0, REG_BINARY, nullptr, 4));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(m_key, "V", nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(m_key, "V", 0, REG_BINARY, nullptr, 0));
    EXPECT_EQ(Bytes(""), Query("V"));
}
