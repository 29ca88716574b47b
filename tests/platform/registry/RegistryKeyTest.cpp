// Keys: opening and creating by path, letter case, deletion on the NT family, stale and invalid handles.
#include "ScratchKey.h"

using RegistryKeyTest = RegistryTest;

namespace {

LONG Open(HKEY parent, const char* path, HKEY* key) {
    return RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, key);
}

LONG Create(HKEY parent, const char* path, HKEY* key, DWORD* disposition) {
    return RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key,
                           disposition);
}

// What each call the program makes on a key handle answers, in order.
std::vector<LONG> CallsOn(HKEY key) {
    const BYTE one[] = {'1'};
    HKEY sub = nullptr;
    char name[16];
    DWORD length = sizeof name;
    return {RegSetValueExA(key, "v", 0, REG_SZ, one, 1),
            RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, nullptr),
            RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            RegEnumKeyA(key, 0, name, sizeof name),
            Create(key, "sub", &sub, nullptr),
            Open(key, "", &sub)};
}

} // namespace

TEST_F(RegistryKeyTest, CreateMakesEveryMissingKeyOnThePath) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, Create(m_key, "Profile\\default", &key, &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    RegCloseKey(key);

    ASSERT_EQ(ERROR_SUCCESS, Create(m_key, "PROFILE\\Default", &key, &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    RegCloseKey(key);

    ASSERT_EQ(ERROR_SUCCESS, Open(m_key, "profile\\DEFAULT", &key));
    RegCloseKey(key);
    char name[16];
    ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyA(m_key, 0, name, sizeof name));
    EXPECT_STREQ("Profile", name) << "the first spelling stays";
}

TEST_F(RegistryKeyTest, OpeningAMissingKeyFailsAndClearsTheResult) {
    HKEY key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(m_key, "Profile\\none", &key));
    EXPECT_EQ(nullptr, key);
}

TEST_F(RegistryKeyTest, PathsTolerateDoubledAndTrailingBackslashesButNotALeadingOne) {
    RegCloseKey(CreateSubkey("Ndi\\params\\SSID"));
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, Open(m_key, "Ndi\\params\\", &key));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_SUCCESS, Open(m_key, "Ndi\\\\params\\SSID", &key));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_BAD_PATHNAME, Open(m_key, "\\Ndi", &key));
    EXPECT_EQ(ERROR_BAD_PATHNAME, Create(m_key, "\\Other", &key, nullptr));

    // No path opens a second handle to the key itself, closed independently.
    ASSERT_EQ(ERROR_SUCCESS, Open(m_key, nullptr, &key));
    EXPECT_NE(m_key, key);
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(m_key, "still", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 1));
}

TEST_F(RegistryKeyTest, NtFamilyDeletesOnlyKeysWithoutSubkeys) {
    RegCloseKey(CreateSubkey("Profile\\home"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(m_key, "Profile"));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, Open(m_key, "Profile\\home", &key)) << "nothing was deleted";
    RegCloseKey(key);

    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(m_key, "PROFILE\\Home"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(m_key, "Profile\\home", &key));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(m_key, "Profile"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(m_key, "Profile"));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegDeleteKeyA(m_key, nullptr));
}

TEST_F(RegistryKeyTest, HandlesToADeletedKeyReportItAsDeleted) {
    HKEY profile = CreateSubkey("Profile");
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(m_key, "Profile"));
    EXPECT_EQ(std::vector<LONG>(6, ERROR_KEY_DELETED), CallsOn(profile));

    // A new key of the same name is another key: the old handle stays stale.
    RegCloseKey(CreateSubkey("Profile"));
    EXPECT_EQ(std::vector<LONG>(6, ERROR_KEY_DELETED), CallsOn(profile));

    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(profile));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(profile));
}

TEST_F(RegistryKeyTest, UnknownHandlesAreRefused) {
    const HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    EXPECT_EQ(std::vector<LONG>(6, ERROR_INVALID_HANDLE), CallsOn(bogus));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegDeleteKeyA(bogus, "x"));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegDeleteValueA(bogus, "v"));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(bogus));
}
