// What the Configuration page's lists stand for: rate codes, network types, power saving, the channels of a
// mask, WEP key bytes from key texts, and which new profile names the page accepts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profiles/ConfigPageTables.h"
#include "resource.h"

namespace {

std::vector<int> Channels(WORD wMask) {
    int anChannels[CONFIG_CHANNEL_COUNT_MAX];
    const int nCount = BuildChannelList(wMask, anChannels);
    return std::vector<int>(anChannels, anChannels + nCount);
}

std::vector<int> KeyBytes(LPCSTR pszText, int cbKey) {
    BYTE abKey[16];
    std::fill(std::begin(abKey), std::end(abKey), 0xEE);
    ParseWepKeyText(pszText, abKey, cbKey);
    std::vector<int> bytes(abKey, abKey + cbKey);
    EXPECT_EQ(abKey[cbKey], 0xEE) << "no byte past the key is written";
    return bytes;
}

} // namespace

TEST(ConfigRateTable, PositionsTextsAndCodesMatch) {
    const UINT anTexts[] = {IDS_RATE_FIXED_1,   IDS_RATE_FIXED_2,  IDS_RATE_1_OR_2,
                            IDS_RATE_FIXED_5_5, IDS_RATE_FIXED_11, IDS_RATE_AUTO};
    const WORD awCodes[] = {1, 2, 3, 4, 8, 15};
    for (int i = 0; i < CONFIG_RATE_COUNT; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetRateTextId(i), anTexts[i]);
        WORD wCode = 0;
        ASSERT_TRUE(GetRateCode(i, &wCode));
        EXPECT_EQ(wCode, awCodes[i]);
        EXPECT_EQ(GetRatePosition(awCodes[i]), i);
    }
}

TEST(ConfigRateTable, CodesAndPositionsOutsideTheTableHaveNoEntry) {
    for (WORD wCode : {0, 5, 6, 7, 9, 11, 14, 16, 0xFFFF})
        EXPECT_EQ(GetRatePosition(wCode), -1) << wCode;
    WORD wCode = 77;
    EXPECT_FALSE(GetRateCode(-1, &wCode)); // no selection
    EXPECT_FALSE(GetRateCode(CONFIG_RATE_COUNT, &wCode));
    EXPECT_EQ(wCode, 77) << "a failed lookup leaves the code alone";
    EXPECT_EQ(GetRateTextId(CONFIG_RATE_COUNT), 0u);
}

TEST(ConfigModeList, TypesZeroAndOneHaveEntriesThreeHasNone) {
    EXPECT_EQ(GetModePosition(0), CONFIG_MODE_AD_HOC);
    EXPECT_EQ(GetModePosition(1), CONFIG_MODE_INFRASTRUCTURE);
    EXPECT_EQ(GetModePosition(3), -1);
    EXPECT_EQ(GetModePosition(2), -1);

    BYTE bType = 3;
    EXPECT_FALSE(GetModeNetworkType(-1, &bType));
    EXPECT_EQ(bType, 3) << "no selection keeps the type";
    ASSERT_TRUE(GetModeNetworkType(CONFIG_MODE_AD_HOC, &bType));
    EXPECT_EQ(bType, 0);
    ASSERT_TRUE(GetModeNetworkType(CONFIG_MODE_INFRASTRUCTURE, &bType));
    EXPECT_EQ(bType, 1);
    EXPECT_FALSE(GetModeNetworkType(2, &bType));
}

TEST(ConfigModeList, AdHocLayoutForBothAdHocTypesOnly) {
    EXPECT_TRUE(IsAdHocLayout(0));
    EXPECT_TRUE(IsAdHocLayout(3));
    EXPECT_FALSE(IsAdHocLayout(1));
    EXPECT_FALSE(IsAdHocLayout(2));
}

TEST(ConfigPowerSavingList, OnlyOffAndOnHaveEntries) {
    EXPECT_EQ(GetPowerSavingPosition(0), 0);
    EXPECT_EQ(GetPowerSavingPosition(1), 1);
    // A stored "0" or "3" decodes to 255 or 2: no entry.
    EXPECT_EQ(GetPowerSavingPosition(255), -1);
    EXPECT_EQ(GetPowerSavingPosition(2), -1);
    EXPECT_EQ(GetPowerSavingPosition(-1), -1);
}

TEST(ConfigChannelList, MaskBitsGiveChannelsInIncreasingOrder) {
    EXPECT_EQ(Channels(CONFIG_CHANNEL_MASK_FALLBACK), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    // Bits 9 to 12: channels 10 to 13.
    EXPECT_EQ(Channels(0x1E00), (std::vector<int>{10, 11, 12, 13}));
    EXPECT_EQ(Channels(0x3FFF).size(), 14u);
    EXPECT_EQ(Channels(0x2001), (std::vector<int>{1, 14}));
}

TEST(ConfigChannelList, BitsAboveChannel14AndAnEmptyMaskGiveNothing) {
    EXPECT_TRUE(Channels(0).empty());
    EXPECT_TRUE(Channels(0xC000).empty());
    EXPECT_EQ(Channels(0xFFFF).size(), 14u);
}

TEST(ConfigWepKeyText, DigitPairsBecomeBytes) {
    EXPECT_EQ(KeyBytes("0102030405", 5), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(KeyBytes("a1B2c3D4e5", 5), (std::vector<int>{0xA1, 0xB2, 0xC3, 0xD4, 0xE5}));
    EXPECT_EQ(
        KeyBytes("00112233445566778899AABBCC", 13),
        (std::vector<int>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC}));
    // A 128-bit text in 64-bit mode: only the first five pairs count.
    EXPECT_EQ(KeyBytes("00112233445566778899AABBCC", 5), (std::vector<int>{0x00, 0x11, 0x22, 0x33, 0x44}));
}

TEST(ConfigWepKeyText, MissingAndBrokenPairsCountAsZero) {
    EXPECT_EQ(KeyBytes("", 5), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(KeyBytes(nullptr, 5), (std::vector<int>{0, 0, 0, 0, 0}));
    // A 64-bit text where a 128-bit key is wanted: the missing eight bytes are zero.
    EXPECT_EQ(KeyBytes("0102030405", 13), (std::vector<int>{1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0, 0}));
    // An odd digit at the end, and pairs with a non-digit: the leading digits count.
    EXPECT_EQ(KeyBytes("123", 2), (std::vector<int>{0x12, 0x03}));
    EXPECT_EQ(KeyBytes("G1A-zz", 3), (std::vector<int>{0x00, 0x0A, 0x00}));
}

TEST(ConfigProfileName, NewNamesAreOneKeyNameOfAtMost19Characters) {
    EXPECT_TRUE(IsNewProfileNameAcceptable("work"));
    EXPECT_TRUE(IsNewProfileNameAcceptable("x"));
    EXPECT_TRUE(IsNewProfileNameAcceptable(std::string(19, 'n').c_str()));
    EXPECT_TRUE(IsNewProfileNameAcceptable("home office 2"));
    EXPECT_FALSE(IsNewProfileNameAcceptable(std::string(20, 'n').c_str()));
    EXPECT_FALSE(IsNewProfileNameAcceptable(""));
    EXPECT_FALSE(IsNewProfileNameAcceptable(nullptr));
    EXPECT_FALSE(IsNewProfileNameAcceptable("a\\b"));
    EXPECT_FALSE(IsNewProfileNameAcceptable("\\"));
}
