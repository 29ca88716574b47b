// LoadProfile: stored values of every shape, good and bad, decoded by the rules of the Windows kind; the
// enumeration's buffers; missing keys; NT 4's instance probing and its message. Loading what a save wrote
// is in the config-* and encryption-* scenarios (a profile switched to shows its stored values).
#include "ProfileStoreFixture.h"

#include <cstring>

#include "profiles/ProfileKeys.h"

namespace profiletest {
namespace {

const char kTextProfileKey[] =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\"
    "0003\\Profile\\t";
const char kNt4ProfileKey[] =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\RAZUR1\\Parameters\\Profile\\t";

// A working profile whose every field shows when a load changed it.
void FillSentinels(CWorkingProfile& p) {
    p.DSChannel = p.TxRate = p.AuthentAlg = 77;
    p.NetworkType = p.PSMode = p.WepReq = p.DefaultKeyId = p.PreambleMode = 77;
    p.SSIDText = "old";
    p.SSIDLength = 3;
    std::memcpy(p.SSID, "old", 3);
    for (CString* s : {&p.CurProfile, &p.DefaultKeys, &p.WEP_KEY_1, &p.WEP64_KEY_2, &p.WEP128_KEY_2,
                       &p.FragThresh, &p.RTSThresh})
        *s = "old";
}

// A field as text; "SSID" shows SSIDText, SSIDLength and the first SSIDLength bytes of SSID.
std::string FieldText(const CWorkingProfile& p, const std::string& field) {
    if (field == "DSChannel")
        return std::to_string(p.DSChannel);
    if (field == "TxRate")
        return std::to_string(p.TxRate);
    if (field == "NetworkType")
        return std::to_string(p.NetworkType);
    if (field == "PSMode")
        return std::to_string(p.PSMode);
    if (field == "WepReq")
        return std::to_string(p.WepReq);
    if (field == "DefaultKeyId")
        return std::to_string(p.DefaultKeyId);
    if (field == "PreambleMode")
        return std::to_string(p.PreambleMode);
    if (field == "AuthentAlg")
        return std::to_string(p.AuthentAlg);
    if (field == "SSID")
        return p.SSIDText.str() + "|" + std::to_string(p.SSIDLength) + "|" +
               std::string(reinterpret_cast<const char*>(p.SSID), p.SSIDLength < 32 ? p.SSIDLength : 32);
    const std::pair<const char*, const CString*> texts[] = {
        {"CurProfile", &p.CurProfile},   {"DefaultKeys", &p.DefaultKeys},   {"WEP_KEY_1", &p.WEP_KEY_1},
        {"WEP64_KEY_2", &p.WEP64_KEY_2}, {"WEP128_KEY_2", &p.WEP128_KEY_2}, {"FragThresh", &p.FragThresh},
        {"RTSThresh", &p.RTSThresh}};
    for (const auto& text : texts)
        if (field == text.first)
            return text.second->str();
    ADD_FAILURE() << "no field " << field;
    return "";
}

struct LoadCase {
    bool nt4;
    std::string stored; // a value line of the registry file
    const char* field;
    std::string expected;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << (c.nt4 ? "nt4 " : "text ") << c.stored.substr(0, 60);
}

const std::string k26 = "00112233445566778899AABBCC";

const LoadCase kLoadCases[] = {
    // Windows 2000 and 9x: decimal text.
    {false, R"("DSChannel" = sz "11")", "DSChannel", "11"}, // no terminator
    {false, R"("DSChannel" = sz "6\0")", "DSChannel", "6"},
    {false, R"("DSChannel" = sz "300")", "DSChannel", "44"}, // low 8 bits
    {false, R"("TxRate" = sz "15 Mbps")", "TxRate", "15"},   // leading digits
    {false, R"("NetworkType" = sz "x1")", "NetworkType", "0"},
    {false, R"("WepReq" = sz "99999999999")", "WepReq", "255"}, // 0x174876E7FF
    {false, R"("WepReq" = sz "")", "WepReq", "0"},
    {false, R"("DefaultKeyId" = sz "4")", "DefaultKeyId", "3"},
    {false, R"("DefaultKeyId" = sz "0")", "DefaultKeyId", "255"},
    {false, R"("PSMode" = sz "2\0")", "PSMode", "1"},
    {false, R"("PSMode" = sz "1\0")", "PSMode", "0"},
    {false, R"("PreambleMode" = sz "2\0")", "PreambleMode", "2"},
    {false, R"("AuthentAlg" = sz "65535")", "AuthentAlg", "3"},
    {false, R"("AuthentAlg" = sz "2")", "AuthentAlg", "2"},
    {false, R"("AuthentAlg" = sz "131071")", "AuthentAlg", "3"}, // 0x1FFFF: low 16 bits are 65535
    {false, R"("AuthentAlg" = sz "65536")", "AuthentAlg", "0"},
    {false, R"("DSChannel" = dword 11)", "DSChannel", "0"}, // the kind decides: the byte 0x0B is no digit
    {false, R"("FragThresh" = sz "2346")", "FragThresh", "2346"},
    {false, R"("RTSThresh" = sz "500\0")", "RTSThresh", "500"},
    {false, R"("RTSThresh" = sz "")", "RTSThresh", ""},
    {false, R"("SSID" = sz "Lab")", "SSID", "Lab|3|Lab"},
    {false, R"("SSID" = sz "ab\0cd")", "SSID", "ab|2|ab"},
    {false, R"("SSID" = sz "")", "SSID", "|0|"},
    {false, "\"SSID\" = sz \"" + std::string(200, 'S') + "\"", "SSID",
     std::string(200, 'S') + "|32|" + std::string(32, 'S')},
    {false, "\"WEP128_KEY_2\" = sz \"" + k26 + "\"", "WEP128_KEY_2", k26},
    {false, R"("WEP64_KEY_2" = sz "0102030405\0")", "WEP64_KEY_2", "0102030405"},
    {false, R"("CurProfile" = sz "home")", "CurProfile", "home"},
    {false, R"("DefaultKeys" = binary hex 41 42 00 43)", "DefaultKeys", "AB"},
    {false, R"("dschannel" = sz "3")", "DSChannel", "77"}, // names are compared with their letter case
    {false, R"("DSChannel " = sz "3")", "DSChannel", "77"},
    {false, "\"WEP_KEY_1\" = sz \"" + std::string(1000, '1') + "\"", "WEP_KEY_1", "old"}, // over 256 bytes
    // NT 4: 32-bit numbers from the value's bytes, whatever type the registry reports.
    {true, R"("DSChannel" = dword 0x10B)", "DSChannel", "11"},
    {true, R"("TxRate" = dword hex 0f)", "TxRate", "15"},
    {true, R"("TxRate" = dword hex 0b 00 00 00 ff ff)", "TxRate", "11"},
    {true, R"("NetworkType" = dword hex)", "NetworkType", "0"},
    {true, R"("DSChannel" = sz "11")", "DSChannel", "49"},        // the bytes 31 31
    {true, R"("FragThresh" = sz "2346")", "FragThresh", "13106"}, // 0x36343332, low 16 bits
    {true, R"("FragThresh" = dword 0x10920)", "FragThresh", "2336"},
    {true, R"("RTSThresh" = dword 2432)", "RTSThresh", "2432"},
    {true, R"("AuthentAlg" = dword 65535)", "AuthentAlg", "3"},
    {true, R"("AuthentAlg" = dword 0x2FFFF)", "AuthentAlg", "3"},
    {true, R"("AuthentAlg" = dword 1)", "AuthentAlg", "1"},
    {true, R"("PSMode" = dword 1)", "PSMode", "0"},
    {true, R"("DefaultKeyId" = dword 0)", "DefaultKeyId", "255"},
    {true, R"("WepReq" = dword 0x106)", "WepReq", "6"},
    {true, R"("SSID" = sz "Home")", "SSID", "Home|4|Home"},
    {true, R"("CurProfile" = sz "home\0")", "CurProfile", "home"},
};

class LoadTableTest : public ProfileStoreFixture, public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadTableTest, DecodesTheStoredValueByTheKindsRule) {
    const LoadCase& c = GetParam();
    InstallOn(c.nt4 ? kNt4 : kWin2000);
    const std::string key = c.nt4 ? kNt4ProfileKey : kTextProfileKey;
    std::string error;
    ASSERT_TRUE(
        hostsim::LoadRegistryText("wlan-registry 1\n[" + key + "]\n  " + c.stored + "\n", "case", &error))
        << error;
    FillSentinels(m_sheet);

    EXPECT_EQ(TRUE, m_sheet.LoadProfile("t"));
    EXPECT_EQ(c.expected, FieldText(m_sheet, c.field));
}

INSTANTIATE_TEST_SUITE_P(Values, LoadTableTest, ::testing::ValuesIn(kLoadCases));

class ProfileLoadTest : public ProfileStoreFixture, public ::testing::Test {
protected:
    void Load(const std::string& registryText) {
        std::string error;
        ASSERT_TRUE(hostsim::LoadRegistryText("wlan-registry 1\n" + registryText, "test", &error)) << error;
    }
};

TEST_F(ProfileLoadTest, AValueThatDoesNotFitTheBuffersEndsTheLoad) {
    InstallOn(kWin2000);
    const std::string longName(64, 'N');
    Load("[" + std::string(kTextProfileKey) +
         "]\n"
         "  \"DSChannel\" = sz \"5\"\n"
         "  \"SSID\" = sz \"" +
         std::string(256, 'S') +
         "\"\n" // exactly fits, no terminator
         "  \"TxRate\" = sz \"8\"\n"
         "  \"" +
         longName +
         "\" = sz \"1\"\n"
         "  \"WepReq\" = sz \"2\"\n");
    FillSentinels(m_sheet);

    EXPECT_EQ(TRUE, m_sheet.LoadProfile("t"));
    EXPECT_EQ(5, m_sheet.DSChannel);
    EXPECT_EQ(256, m_sheet.SSIDText.GetLength());
    EXPECT_EQ(8, m_sheet.TxRate);
    EXPECT_EQ(77, m_sheet.WepReq); // after the 64-character name
}

TEST_F(ProfileLoadTest, MissingValuesAndKeysLeaveTheWorkingProfileAsItWas) {
    InstallOn(kWin95);
    Load("[" + std::string("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Net\\0003") +
         "]\n"
         "  \"DSChannel\" = sz \"9\"\n"
         "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Net\\0003\\Profile\\home]\n"
         "  \"TxRate\" = sz \"4\\0\\0\"\n");
    FillSentinels(m_sheet);

    EXPECT_EQ(TRUE, m_sheet.LoadProfile(nullptr));
    EXPECT_EQ(9, m_sheet.DSChannel);
    EXPECT_EQ(77, m_sheet.WepReq);
    EXPECT_EQ(TRUE, m_sheet.LoadProfile("home"));
    EXPECT_EQ(4, m_sheet.TxRate);
    EXPECT_EQ(77, m_sheet.WepReq);

    EXPECT_EQ(FALSE, m_sheet.LoadProfile("away"));
    g_szAdapterName.Set("0004");
    EXPECT_EQ(FALSE, m_sheet.LoadProfile(nullptr));
    EXPECT_EQ(9, m_sheet.DSChannel);
    EXPECT_EQ(Lines{}, hostsim::DebugStrings());
    EXPECT_TRUE(hostui::EventsOf(hostui::UiEvent::Kind::Box).empty()); // silent on these kinds
    EXPECT_TRUE(hostsim::SystemRecords().empty());
}

TEST_F(ProfileLoadTest, WithNoAdapterYetTheNetworkClassKeyIsNeitherReadNorWritten) {
    InstallOn(kWin2000);
    const std::string classKey =
        "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, classKey.c_str(), 0, KEY_ALL_ACCESS, &hKey));
    const BYTE abChannel[] = {'3'};
    RegSetValueExA(hKey, "DSChannel", 0, REG_SZ, abChannel, 1);
    RegCloseKey(hKey);
    g_szAdapterName.Clear();
    FillSentinels(m_sheet);
    m_sheet.CurProfile = "home";
    WatchWrites();

    EXPECT_EQ(FALSE, m_sheet.LoadProfile(nullptr));
    EXPECT_EQ(FALSE, m_sheet.SaveProfile());
    EXPECT_EQ(77, m_sheet.DSChannel);
    EXPECT_EQ(Lines{}, m_writes);
}

TEST_F(ProfileLoadTest, ANameThatIsNotOneKeyNameLoadsNothing) {
    InstallOn(kWin2000);
    Load("[" + std::string(kTextProfileKey) +
         "\\deeper]\n  \"DSChannel\" = sz \"5\"\n"
         "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-"
         "08002BE10318}"
         "\\0003\\Profile]\n  \"DSChannel\" = sz \"4\"\n");
    FillSentinels(m_sheet);

    EXPECT_EQ(FALSE, m_sheet.LoadProfile("t\\deeper"));
    EXPECT_EQ(FALSE, m_sheet.LoadProfile(""));
    EXPECT_EQ(77, m_sheet.DSChannel);
}

TEST_F(ProfileLoadTest, Nt4UsesTheFirstInstanceThatHasTheWantedKey) {
    InstallOn(kNt4);
    Load("[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\RAZUR1\\Parameters]\n"
         "  \"DSChannel\" = dword 1\n"
         "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\RAZUR2\\Parameters]\n"
         "  \"DSChannel\" = dword 2\n"
         "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\RAZUR2\\Parameters\\Profile\\home]\n"
         "  \"DSChannel\" = dword 12\n");
    FillSentinels(m_sheet);

    EXPECT_EQ(TRUE, m_sheet.LoadProfile(nullptr));
    EXPECT_EQ(1, m_sheet.DSChannel);
    EXPECT_EQ(TRUE, m_sheet.LoadProfile("home")); // instance 1 has no such profile
    EXPECT_EQ(12, m_sheet.DSChannel);
}

TEST_F(ProfileLoadTest, Nt4WithNoInstanceBeepsAndShowsTheServiceRegistryMessage) {
    InstallOn(kNt4);
    hostsim::ResetRegistry();
    FillSentinels(m_sheet);
    WatchWrites();
    hostui::QueueMessageBoxAnswer(IDOK);
    hostui::QueueMessageBoxAnswer(IDOK);

    EXPECT_EQ(FALSE, m_sheet.LoadProfile(nullptr));
    EXPECT_EQ(FALSE, m_sheet.SaveProfile());

    EXPECT_EQ(77, m_sheet.DSChannel);
    EXPECT_EQ(Lines{}, m_writes);
    const std::vector<hostsim::SystemRecord> records = hostsim::SystemRecords();
    ASSERT_EQ(2u, records.size());
    for (const hostsim::SystemRecord& record : records) {
        EXPECT_EQ(hostsim::SystemRecord::Kind::Beep, record.kind);
        EXPECT_EQ(0x30u, record.value);
    }
    const std::vector<hostui::UiEvent> boxes = hostui::EventsOf(hostui::UiEvent::Kind::Box);
    ASSERT_EQ(2u, boxes.size());
    for (const hostui::UiEvent& box : boxes) {
        EXPECT_EQ("Failed to open the service registry of the device.", box.text);
        EXPECT_EQ(static_cast<std::uint32_t>(MB_OK), box.value & 0xF);
    }
}

} // namespace
} // namespace profiletest
