// SaveProfile on each Windows kind: what lands in the adapter parameters key, the current profile's key
// and the "Ndi\params" mirrors, value by value with type and exact bytes.
#include "ProfileStoreFixture.h"

#include <algorithm>
#include <cstring>

#include "profiles/ProfileKeys.h"

namespace profiletest {
namespace {

void FillProfile(CWorkingProfile& p) {
    p.CurProfile = "office";
    p.SSIDText = "Lab-5";
    p.SSIDLength = 5;
    std::memcpy(p.SSID, "Lab-5", 5);
    p.DSChannel = 11;
    p.TxRate = 15;
    p.NetworkType = 1;
    p.WepReq = 6;
    p.DefaultKeyId = 2;
    p.WEP_KEY_1 = "0102030405";
    p.WEP_KEY_2 = "1112131415";
    p.WEP_KEY_3 = "2122232425";
    p.WEP_KEY_4 = "3132333435";
    p.WEP64_KEY_1 = "A1A2A3A4A5";
    p.WEP64_KEY_2 = "B1B2B3B4B5";
    p.WEP64_KEY_3 = "C1C2C";        // short: padded with zero bytes to 10
    p.WEP64_KEY_4 = "D1D2D3D4D5D6"; // long: cut to 10
    p.WEP128_KEY_1 = "00112233445566778899AABBCC";
    p.WEP128_KEY_2 = "10112233445566778899AABBCC";
    p.WEP128_KEY_3 = "20112233445566778899AABBCC";
    p.WEP128_KEY_4 = "30112233445566778899AABBCC";
    p.FragThresh = "2346";
    p.RTSThresh = "70000";
    p.PreambleMode = 2;
    p.PSMode = 1;
    p.AuthentAlg = 3;
}

// What FillProfile saves, in the order of writing. Texts are the same on every kind.
Lines StringValues() {
    return {
        R"("CurProfile" = sz "office")",
        R"("SSID" = sz "Lab-5")",
        R"("WEP_KEY_1" = sz "0102030405")",
        R"("WEP_KEY_2" = sz "1112131415")",
        R"("WEP_KEY_3" = sz "2122232425")",
        R"("WEP_KEY_4" = sz "3132333435")",
        R"("WEP64_KEY_1" = sz "A1A2A3A4A5")",
        R"("WEP64_KEY_2" = sz "B1B2B3B4B5")",
        R"("WEP64_KEY_3" = sz "C1C2C\0\0\0\0\0")",
        R"("WEP64_KEY_4" = sz "D1D2D3D4D5")",
        R"("WEP128_KEY_1" = sz "00112233445566778899AABBCC")",
        R"("WEP128_KEY_2" = sz "10112233445566778899AABBCC")",
        R"("WEP128_KEY_3" = sz "20112233445566778899AABBCC")",
        R"("WEP128_KEY_4" = sz "30112233445566778899AABBCC")",
        // 128-bit WEP with DefaultKeyId 2: the third 128-bit key.
        R"("DefaultKeys" = sz "20112233445566778899AABBCC")",
    };
}

Lines TextKindValues() {
    Lines s = StringValues();
    return {s[0],
            s[1],
            R"("DSChannel" = sz "11")",
            R"("TxRate" = sz "15\0")",
            R"("NetworkType" = sz "1")",
            R"("WepReq" = sz "6")",
            R"("DefaultKeyId" = sz "3")",
            s[2],
            s[3],
            s[4],
            s[5],
            s[6],
            s[7],
            s[8],
            s[9],
            s[10],
            s[11],
            s[12],
            s[13],
            s[14],
            R"("FragThresh" = sz "2346")",
            R"("RTSThresh" = sz "7000")",
            R"("PreambleMode" = sz "2\0")",
            R"("PSMode" = sz "2\0")",
            R"("AuthentAlg" = sz "65535")"};
}

Lines Nt4Values() {
    Lines s = StringValues();
    return {s[0],
            s[1],
            R"("DSChannel" = dword 11)",
            R"("TxRate" = dword 15)",
            R"("NetworkType" = dword 1)",
            R"("WepReq" = dword 6)",
            R"("DefaultKeyId" = dword 3)",
            s[2],
            s[3],
            s[4],
            s[5],
            s[6],
            s[7],
            s[8],
            s[9],
            s[10],
            s[11],
            s[12],
            s[13],
            s[14],
            R"("FragThresh" = dword 2346)",
            R"("RTSThresh" = dword 4464)", // 70000 cut to 16 bits
            R"("PreambleMode" = dword 2)",
            R"("PSMode" = dword 2)",
            R"("AuthentAlg" = dword 65535)"};
}

const char* const kMirrored[] = {"SSID",      "DSChannel",    "TxRate",      "NetworkType",
                                 "WepReq",    "DefaultKeyId", "DefaultKeys", "FragThresh",
                                 "RTSThresh", "PreambleMode", "PSMode",      "AuthentAlg"};

bool Contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string NameOf(const std::string& line) {
    return line.substr(1, line.find('"', 1) - 1);
}

std::string DataOf(const std::string& line) {
    return line.substr(line.find(" = ") + 3);
}

class TextKindSaveTest : public ProfileStoreFixture, public ::testing::TestWithParam<Kind> {};

TEST_P(TextKindSaveTest, WritesEveryValueToParametersProfileAndExistingMirrors) {
    InstallOn(GetParam());
    FillProfile(m_sheet);
    // Keys for values that are never mirrored: the store must leave them alone.
    HKEY hKey = nullptr;
    for (const char* name : {"\\Ndi\\params\\CurProfile", "\\Ndi\\params\\WEP_KEY_1"}) {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, (ParametersPath() + name).c_str(), 0,
                                                 nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
        RegCloseKey(hKey);
    }

    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    const Lines expected = TextKindValues();
    const Lines parameters = ValuesOf(ParametersPath());
    for (const std::string& line : expected)
        EXPECT_TRUE(Contains(parameters, line)) << line;

    // The profile key is new: it holds exactly the profile's values, in the order of writing.
    Lines profile(expected.begin() + 1, expected.end());
    EXPECT_EQ(profile, ValuesOf(ParametersPath() + "\\Profile\\office"));

    for (const char* name : kMirrored) {
        const std::string stored = *std::find_if(expected.begin(), expected.end(),
                                                 [&](const std::string& l) { return NameOf(l) == name; });
        const Lines mirror = ValuesOf(ParametersPath() + "\\Ndi\\params\\" + name);
        EXPECT_TRUE(Contains(mirror, "\"\" = " + DataOf(stored))) << name;
    }
    EXPECT_EQ(Lines{}, ValuesOf(ParametersPath() + "\\Ndi\\params\\CurProfile"));
    EXPECT_EQ(Lines{}, ValuesOf(ParametersPath() + "\\Ndi\\params\\WEP_KEY_1"));
}

TEST_P(TextKindSaveTest, WritesEachValueToParametersThenProfileThenMirror) {
    InstallOn(GetParam());
    FillProfile(m_sheet);
    WatchWrites();

    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    const std::string params = "[HKEY_LOCAL_MACHINE\\" + ParametersPath();
    const Lines head(m_writes.begin(), m_writes.begin() + 7);
    EXPECT_EQ((Lines{"create " + params + "\\Profile]", "create " + params + "\\Profile\\office]",
                     "set " + params + R"(] "CurProfile" = sz "office")",
                     "set " + params + R"(] "SSID" = sz "Lab-5")",
                     "set " + params + R"(\Profile\office] "SSID" = sz "Lab-5")",
                     "set " + params + R"(\Ndi\params\SSID] "" = sz "Lab-5")",
                     "set " + params + R"(] "DSChannel" = sz "11")"}),
              head);
    // 2 keys created, 25 values to the parameters key, 24 to the profile key, 12 mirrors.
    EXPECT_EQ(2u + 25u + 24u + 12u, m_writes.size());
    EXPECT_EQ("set " + params + R"(\Ndi\params\AuthentAlg] "" = sz "65535")", m_writes.back());
}

INSTANTIATE_TEST_SUITE_P(Kinds, TextKindSaveTest, ::testing::Values(kWin2000, kWin95, kWin98),
                         [](const auto& info) { return std::string(info.param.name); });

class ProfileSaveTest : public ProfileStoreFixture, public ::testing::Test {};

TEST_F(ProfileSaveTest, Nt4StoresNumbersAsDwordsUnderTheFirstInstanceThatOpens) {
    InstallOn(kNt4, false, 2); // the driver installed as service instance 2 only
    FillProfile(m_sheet);

    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    ASSERT_EQ("System\\CurrentControlSet\\Services\\RAZUR2\\Parameters", ParametersPath());
    const Lines expected = Nt4Values();
    const Lines parameters = ValuesOf(ParametersPath());
    for (const std::string& line : expected)
        EXPECT_TRUE(Contains(parameters, line)) << line;
    EXPECT_EQ(Lines(expected.begin() + 1, expected.end()), ValuesOf(ParametersPath() + "\\Profile\\office"));
    EXPECT_FALSE(KeyExists("System\\CurrentControlSet\\Services\\RAZUR1"));
}

TEST_F(ProfileSaveTest, SmallNumbersKeepTheFixedByteCountsWithTheirZeros) {
    InstallOn(kWin2000);
    FillProfile(m_sheet);
    m_sheet.DSChannel = 6;
    m_sheet.TxRate = 2;
    m_sheet.DefaultKeyId = 0;
    m_sheet.PSMode = 0;
    m_sheet.AuthentAlg = 1;
    m_sheet.PreambleMode = 1;
    m_sheet.FragThresh = "";
    m_sheet.WepReq = 2; // not 128-bit: "DefaultKeys" joins the four keys in force

    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    const Lines profile = ValuesOf(ParametersPath() + "\\Profile\\office");
    for (const char* line :
         {R"("DSChannel" = sz "6\0")", R"("TxRate" = sz "2\0\0")", R"("DefaultKeyId" = sz "1")",
          R"("PSMode" = sz "1\0")", R"("AuthentAlg" = sz "1")", R"("PreambleMode" = sz "1\0")",
          R"("FragThresh" = sz "\0\0\0\0")", R"("WepReq" = sz "2")",
          R"("DefaultKeys" = sz "0102030405111213141521222324253132333435")"})
        EXPECT_TRUE(Contains(profile, line)) << line;
}

TEST_F(ProfileSaveTest, AMissingMirrorIsSkippedAndTheOtherPlacesStillWritten) {
    InstallOn(kWin98);
    FillProfile(m_sheet);
    ASSERT_EQ(ERROR_SUCCESS,
              RegDeleteKeyA(HKEY_LOCAL_MACHINE, (ParametersPath() + "\\Ndi\\params\\TxRate").c_str()));
    WatchWrites();

    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    Lines txRate;
    for (const std::string& write : m_writes)
        if (write.find("TxRate") != std::string::npos)
            txRate.push_back(write);
    const std::string params = "set [HKEY_LOCAL_MACHINE\\" + ParametersPath();
    EXPECT_EQ(
        (Lines{params + R"(] "TxRate" = sz "15\0")", params + R"(\Profile\office] "TxRate" = sz "15\0")"}),
        txRate);
    EXPECT_FALSE(KeyExists(ParametersPath() + "\\Ndi\\params\\TxRate"));
    // The next value is mirrored as usual.
    EXPECT_TRUE(Contains(ValuesOf(ParametersPath() + "\\Ndi\\params\\NetworkType"), R"("" = sz "1")"));
}

TEST_F(ProfileSaveTest, AnExistingProfileKeyIsReusedAndANewOneCreated) {
    InstallOn(kWin2000);
    FillProfile(m_sheet);
    ASSERT_EQ(TRUE, m_sheet.SaveProfile());
    m_sheet.CurProfile = "home";
    WatchWrites();

    ASSERT_EQ(TRUE, m_sheet.SaveProfile());
    ASSERT_EQ(TRUE, m_sheet.SaveProfile());

    const std::string params = "[HKEY_LOCAL_MACHINE\\" + ParametersPath();
    EXPECT_EQ("create " + params + "\\Profile\\home]", m_writes.front());
    EXPECT_EQ(1, std::count_if(m_writes.begin(), m_writes.end(),
                               [](const std::string& w) { return w.compare(0, 7, "create ") == 0; }));
    // "CurProfile" names the current profile in the parameters key only.
    const Lines parameters = ValuesOf(ParametersPath());
    EXPECT_TRUE(Contains(parameters, R"("CurProfile" = sz "home")"));
    for (const char* name : {"office", "home"}) {
        const Lines profile = ValuesOf(ParametersPath() + "\\Profile\\" + name);
        EXPECT_EQ(24u, profile.size()) << name;
        EXPECT_EQ(profile.end(), std::find_if(profile.begin(), profile.end(),
                                              [](const std::string& l) { return NameOf(l) == "CurProfile"; }))
            << name;
    }
}

TEST_F(ProfileSaveTest, WithoutAUsableProfileNameOnlyTheDriversParametersAreSaved) {
    InstallOn(kWin2000);
    FillProfile(m_sheet);
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
    FillProfile(m_sheet);
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
