// SaveProfile where no scenario reaches: NT 4's first service instance that opens, profile names the store
// cannot use, and texts longer than a load reads. What a save writes, value by value, to the parameters key,
// the profile's key and the "Ndi\params" mirrors on each kind is in the transcripts of the config-*,
// encryption-* and advanced-* scenarios (config-mirrors-win95 for the mirrors).
#include "ProfileStoreFixture.h"

#include <algorithm>

#include "profiles/ProfileKeys.h"

namespace profiletest {
namespace {

bool Contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class ProfileSaveTest : public ProfileStoreFixture, public ::testing::Test {
protected:
    void Fill() {
        m_sheet.CurProfile = "office";
        m_sheet.SSIDText = "Lab-5";
        m_sheet.DSChannel = 11;
        m_sheet.RTSThresh = "70000";
    }
};

TEST_F(ProfileSaveTest, Nt4StoresNumbersAsDwordsUnderTheFirstInstanceThatOpens) {
    InstallOn(kNt4, false, 2); // the driver installed as service instance 2 only
    Fill();

    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    ASSERT_EQ("System\\CurrentControlSet\\Services\\RAZUR2\\Parameters", ParametersPath());
    for (const std::string& path : {ParametersPath(), ParametersPath() + "\\Profile\\office"}) {
        const Lines values = ValuesOf(path);
        EXPECT_TRUE(Contains(values, R"("DSChannel" = dword 11)")) << path;
        EXPECT_TRUE(Contains(values, R"("RTSThresh" = dword 4464)")) << path; // 70000 cut to 16 bits
        EXPECT_TRUE(Contains(values, R"("SSID" = sz "Lab-5")")) << path;
    }
    EXPECT_EQ(24u, ValuesOf(ParametersPath() + "\\Profile\\office").size());
    EXPECT_FALSE(KeyExists("System\\CurrentControlSet\\Services\\RAZUR1"));
}

TEST_F(ProfileSaveTest, WithoutAUsableProfileNameOnlyTheDriversParametersAreSaved) {
    InstallOn(kWin2000);
    Fill();
    const Lines listBefore = ValuesOf(ParametersPath() + "\\Profile");
    for (const CString& name : {CString(""), CString("a\\b"), CString('x', PROFILE_NAME_MAX + 1)}) {
        m_sheet.CurProfile = name;
        m_sheet.WEP_KEY_1 = CString('1', 10);
        WatchWrites();
        EXPECT_EQ(FALSE, m_sheet.SaveProfile()) << name.GetLength();

        // Every value reaches the parameters key (and its mirrors); no profile key is made or written.
        const std::string params = "set [HKEY_LOCAL_MACHINE\\" + ParametersPath() + "]";
        EXPECT_TRUE(Contains(m_writes, params + R"( "WEP_KEY_1" = sz "1111111111")")) << name.GetLength();
        EXPECT_EQ(m_writes.end(), std::find_if(m_writes.begin(), m_writes.end(),
                                               [](const std::string& w) {
                                                   return w.find("\\Profile") != std::string::npos ||
                                                          w.compare(0, 7, "create ") == 0;
                                               }))
            << name.GetLength();
    }
    EXPECT_EQ(listBefore, ValuesOf(ParametersPath() + "\\Profile"));

    m_sheet.CurProfile = CString('x', PROFILE_NAME_MAX);
    EXPECT_EQ(TRUE, m_sheet.SaveProfile());
    EXPECT_EQ(24u, ValuesOf(ParametersPath() + "\\Profile\\" + std::string(PROFILE_NAME_MAX, 'x')).size());
}

TEST_F(ProfileSaveTest, ATextLongerThanALoadReadsIsStoredWholeAndEndsTheNextLoadThere) {
    InstallOn(kWin2000);
    Fill();
    m_sheet.SSIDText = CString('S', 300);
    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    EXPECT_EQ(Line("SSID", "sz \"" + std::string(300, 'S') + "\""),
              ValuesOf(ParametersPath() + "\\Profile\\office")[0]);
    // "SSID" is the profile key's first value: the load stops there, and no value of the key is read.
    m_sheet.SSIDText = "before";
    m_sheet.AuthentAlg = 1;
    ASSERT_EQ(TRUE, m_sheet.LoadProfile("office"));
    EXPECT_EQ("before", m_sheet.SSIDText.str());
    EXPECT_EQ(1, m_sheet.AuthentAlg);
}

} // namespace
} // namespace profiletest
