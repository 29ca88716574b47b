// The value rules of a save on their own: byte counts of the text kinds, "DefaultKeys", the character of
// "PreambleMode", texts longer than a load reads, and the number that NT 4 stores for a text form.
#include <gtest/gtest.h>

#include <string>

#include "profiles/ProfileEncoding.h"

namespace {

std::string Bytes(const PROFILE_VALUE& value) {
    return std::string(reinterpret_cast<const char*>(value.abData), value.cbData);
}

PROFILE_VALUE Encode(const CWorkingProfile& profile, BOOL bNumbers, const std::string& name) {
    PROFILE_VALUE value;
    for (int i = 0; EncodeProfileValue(profile, bNumbers, i, &value); ++i)
        if (name == value.pszName)
            return value;
    ADD_FAILURE() << "no value " << name;
    return value;
}

TEST(ProfileEncodingTest, DefaultKeysIsTheSelected128BitKeyOrTheFourKeysJoined) {
    CWorkingProfile p;
    p.WEP_KEY_1 = "a";
    p.WEP_KEY_2 = "bb";
    p.WEP_KEY_3 = "";
    p.WEP_KEY_4 = "d";
    p.WEP128_KEY_1 = "k1";
    p.WEP128_KEY_2 = "k2";
    p.WEP128_KEY_3 = "k3";
    p.WEP128_KEY_4 = "k4";
    p.WepReq = 6;
    const char* const selected[] = {"k1", "k2", "k3", "k4"};
    for (BYTE id = 0; id < 4; ++id) {
        p.DefaultKeyId = id;
        EXPECT_EQ(selected[id], ComposeDefaultKeys(p).str());
    }
    p.DefaultKeyId = 4; // out of range: no 128-bit key is selected
    EXPECT_EQ("abbd", ComposeDefaultKeys(p).str());
    p.DefaultKeyId = 1;
    p.WepReq = 2;
    EXPECT_EQ("abbd", ComposeDefaultKeys(p).str());
    p.DefaultKeys = "kept";
    EXPECT_EQ("abbd", Bytes(Encode(p, FALSE, "DefaultKeys")));
    EXPECT_EQ("kept", p.DefaultKeys.str());
}

// The text kinds store each number with the byte count of its field, whatever its digits need.
TEST(ProfileEncodingTest, TextKindsKeepTheByteCountOfEachField) {
    CWorkingProfile p;
    p.AuthentAlg = 3;  // both algorithms: stored as 65535
    p.FragThresh = ""; // four zero bytes
    p.RTSThresh = "70000";
    EXPECT_EQ("65535", Bytes(Encode(p, FALSE, "AuthentAlg")));
    EXPECT_EQ(std::string(4, '\0'), Bytes(Encode(p, FALSE, "FragThresh")));
    EXPECT_EQ("7000", Bytes(Encode(p, FALSE, "RTSThresh")));
    p.DSChannel = 11;
    p.TxRate = 2;
    EXPECT_EQ("11", Bytes(Encode(p, FALSE, "DSChannel")));
    EXPECT_EQ(std::string("2\0\0", 3), Bytes(Encode(p, FALSE, "TxRate")));
}

TEST(ProfileEncodingTest, PreambleModeIsOneCharacterAndItsZero) {
    CWorkingProfile p;
    p.PreambleMode = 2;
    EXPECT_EQ(std::string("2\0", 2), Bytes(Encode(p, FALSE, "PreambleMode")));
    p.PreambleMode = 12; // no digit: what the text kinds store reads back as 0, and NT 4 stores 0
    EXPECT_EQ(std::string("<\0", 2), Bytes(Encode(p, FALSE, "PreambleMode")));
    const PROFILE_VALUE nt4 = Encode(p, TRUE, "PreambleMode");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), nt4.dwType);
    EXPECT_EQ(std::string(4, '\0'), Bytes(nt4));
}

TEST(ProfileEncodingTest, TextsAreStoredWholeEvenLongerThanALoadReads) {
    CWorkingProfile p;
    // Four key texts as long as a load reads them make the longest "DefaultKeys".
    p.WEP_KEY_1 = CString('1', 256);
    p.WEP_KEY_2 = CString('2', 256);
    p.WEP_KEY_3 = CString('3', 256);
    p.WEP_KEY_4 = CString('4', 256);
    p.CurProfile = CString('c', 256);
    EXPECT_EQ(std::string(256, '2'), Bytes(Encode(p, FALSE, "WEP_KEY_2")));
    EXPECT_EQ(std::string(256, 'c'), Bytes(Encode(p, FALSE, "CurProfile")));
    const PROFILE_VALUE keys = Encode(p, FALSE, "DefaultKeys");
    EXPECT_EQ(1024u, keys.cbData);
    EXPECT_EQ(std::string(256, '1') + std::string(256, '2') + std::string(256, '3') + std::string(256, '4'),
              Bytes(keys));
    // What nothing in the program makes never overruns the data area.
    p.SSIDText = CString('s', 5000);
    EXPECT_EQ(static_cast<DWORD>(PROFILE_TEXT_SIZE_MAX), Encode(p, FALSE, "SSID").cbData);
}

TEST(ProfileEncodingTest, Nt4NumbersAreTheDecimalValueOfTheTextForm) {
    CWorkingProfile p;
    p.FragThresh = "2346x";
    p.RTSThresh = "4294967297"; // wraps to 1
    p.DefaultKeyId = 255;       // stored as 256
    p.AuthentAlg = 3;
    EXPECT_EQ(std::string("\x2A\x09\0\0", 4), Bytes(Encode(p, TRUE, "FragThresh")));
    EXPECT_EQ(std::string("\x01\0\0\0", 4), Bytes(Encode(p, TRUE, "RTSThresh")));
    EXPECT_EQ(std::string("\0\x01\0\0", 4), Bytes(Encode(p, TRUE, "DefaultKeyId")));
    EXPECT_EQ(std::string("\xFF\xFF\0\0", 4), Bytes(Encode(p, TRUE, "AuthentAlg")));
    // Texts stay texts on NT 4.
    p.SSIDText = "net";
    const PROFILE_VALUE ssid = Encode(p, TRUE, "SSID");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), ssid.dwType);
    EXPECT_EQ("net", Bytes(ssid));
}

TEST(ProfileEncodingTest, ThereAreExactlyTheTwentyFiveValues) {
    CWorkingProfile p;
    PROFILE_VALUE value;
    EXPECT_EQ(FALSE, EncodeProfileValue(p, FALSE, -1, &value));
    EXPECT_EQ(TRUE, EncodeProfileValue(p, FALSE, PROFILE_VALUE_COUNT - 1, &value));
    EXPECT_STREQ("AuthentAlg", value.pszName);
    EXPECT_EQ(FALSE, EncodeProfileValue(p, FALSE, PROFILE_VALUE_COUNT, &value));
}

} // namespace
