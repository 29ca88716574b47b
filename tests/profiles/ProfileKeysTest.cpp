// The key layout the Configuration page shares with the store where no scenario reaches: NT 4's instance
// probing when removing, and the names a profile key may have. The profile list and removing a profile are
// the config-* scenarios (config-remove-nt4 and config-remove-capital-default-win2000 dump the keys).
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
