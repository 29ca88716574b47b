// The key layout the Configuration page shares with the store: the profile list and removing a profile.
#include "ProfileStoreFixture.h"

#include "profiles/ProfileKeys.h"

namespace profiletest {
namespace {

class ProfileKeysTest : public ProfileStoreFixture, public ::testing::Test {
protected:
    void SaveAs(const char* name) {
        m_sheet.CurProfile = name;
        ASSERT_EQ(TRUE, m_sheet.SaveProfile());
    }
};

TEST_F(ProfileKeysTest, TheProfileListHoldsOneKeyPerSavedProfile) {
    InstallOn(kWin98);
    SaveAs("home");
    SaveAs("default");

    HKEY hList = OpenProfileStoreKey("Profile", nullptr);
    ASSERT_NE(nullptr, hList);
    char szName[250];
    Lines names;
    for (DWORD i = 0; RegEnumKeyA(hList, i, szName, sizeof(szName)) == ERROR_SUCCESS; ++i)
        names.push_back(szName);
    RegCloseKey(hList);
    EXPECT_EQ((Lines{"default", "home"}), names);
}

TEST_F(ProfileKeysTest, RemovingAProfileDeletesOnlyItsKey) {
    InstallOn(kWin2000);
    SaveAs("home");
    SaveAs("away");

    EXPECT_EQ(TRUE, DeleteProfileKey("home"));
    EXPECT_FALSE(KeyExists(ParametersPath() + "\\Profile\\home"));
    EXPECT_TRUE(KeyExists(ParametersPath() + "\\Profile\\away"));
    EXPECT_EQ(FALSE, DeleteProfileKey("home"));
    EXPECT_EQ(FALSE, DeleteProfileKey(""));
    EXPECT_TRUE(KeyExists(ParametersPath() + "\\Profile"));
}

TEST_F(ProfileKeysTest, Nt4RemovesUnderTheFirstInstanceThatHasTheProfile) {
    InstallOn(kNt4, false, 3);
    SaveAs("home");
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                              "System\\CurrentControlSet\\Services\\RAZUR1\\Parameters\\Profile", 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    RegCloseKey(hKey);

    BOOL bNoInstance = TRUE;
    hKey = OpenProfileStoreKey("Profile\\home", &bNoInstance);
    EXPECT_NE(nullptr, hKey);
    EXPECT_EQ(FALSE, bNoInstance);
    RegCloseKey(hKey);
    EXPECT_EQ(TRUE, DeleteProfileKey("home"));
    EXPECT_FALSE(KeyExists("System\\CurrentControlSet\\Services\\RAZUR3\\Parameters\\Profile\\home"));

    EXPECT_EQ(nullptr, OpenProfileStoreKey("Profile\\home", &bNoInstance));
    EXPECT_EQ(TRUE, bNoInstance);
}

TEST_F(ProfileKeysTest, ProfileNamesAreSingleKeyNamesOfAtMost249Characters) {
    EXPECT_EQ(TRUE, IsProfileNameUsable("default"));
    EXPECT_EQ(TRUE, IsProfileNameUsable(std::string(PROFILE_NAME_MAX, 'n').c_str()));
    EXPECT_EQ(FALSE, IsProfileNameUsable(std::string(PROFILE_NAME_MAX + 1, 'n').c_str()));
    EXPECT_EQ(FALSE, IsProfileNameUsable(""));
    EXPECT_EQ(FALSE, IsProfileNameUsable(nullptr));
    EXPECT_EQ(FALSE, IsProfileNameUsable("home\\x"));
    char szBelow[PROFILE_KEY_NAME_SIZE];
    EXPECT_EQ(TRUE, FormProfileKeyName(std::string(PROFILE_NAME_MAX, 'n').c_str(), szBelow));
    EXPECT_EQ("Profile\\" + std::string(PROFILE_NAME_MAX, 'n'), szBelow);
}

} // namespace
} // namespace profiletest
