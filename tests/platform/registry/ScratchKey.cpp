#include "ScratchKey.h"

void DeleteKeyTree(HKEY parent, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char child[256];
    while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS)
        DeleteKeyTree(key, child);
    RegCloseKey(key);
    RegDeleteKeyA(parent, name.c_str());
}

std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

void RegistryTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_path = std::string("Software\\WlanUtilityTests\\") + info->test_suite_name() + "." + info->name();
    DeleteKeyTree(HKEY_CURRENT_USER, m_path);
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &m_key, &disposition));
    ASSERT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
}

void RegistryTest::TearDown() {
    if (m_key != nullptr)
        RegCloseKey(m_key);
    DeleteKeyTree(HKEY_CURRENT_USER, m_path);
    HKEY parent = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\WlanUtilityTests", 0, KEY_ALL_ACCESS, &parent) ==
        ERROR_SUCCESS) {
        char child[256];
        const bool empty = RegEnumKeyA(parent, 0, child, sizeof child) == ERROR_NO_MORE_ITEMS;
        RegCloseKey(parent);
        if (empty)
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\WlanUtilityTests");
    }
}

void RegistryTest::Set(const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(m_key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
}

std::vector<BYTE> RegistryTest::Query(const char* name, DWORD room) {
    std::vector<BYTE> data(room);
    DWORD size = room;
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(m_key, name, nullptr, &type, data.data(), &size);
    EXPECT_EQ(ERROR_SUCCESS, rc) << name;
    data.resize(rc == ERROR_SUCCESS ? size : 0);
    return data;
}

HKEY RegistryTest::CreateSubkey(const char* path) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(m_key, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    return key;
}
