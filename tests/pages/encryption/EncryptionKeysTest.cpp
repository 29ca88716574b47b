// Key texts become key bytes pair by pair, as strtol reads each pair in base 16; only the length of a text
// is ever checked. A passphrase makes four equal keys from the sum of its characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/EncryptionPageKeys.h"

namespace {

std::vector<BYTE> KeyOf(const char* pszText, int cbKey) {
    std::vector<BYTE> key(static_cast<size_t>(cbKey) + 2, 0xEE); // two guard bytes after the key
    WepKeyFromText(pszText, key.data(), cbKey);
    return key;
}

std::vector<BYTE> PassphraseKey(const char* pszPassphrase, int cbKey, int* pnResult) {
    std::vector<BYTE> key(static_cast<size_t>(cbKey), 0xEE);
    *pnResult = WepKeyFromPassphrase(pszPassphrase, key.data(), cbKey);
    return key;
}

TEST(WepKeyFromText, ReadsEachPairAsAHexadecimalNumberInEitherCase) {
    EXPECT_EQ((std::vector<BYTE>{0x01, 0xAB, 0xCD, 0xEF, 0x90, 0xEE, 0xEE}), KeyOf("01abCDeF90", 5));
    EXPECT_EQ((std::vector<BYTE>{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0xFF,
                                 0xEE, 0xEE}),
              KeyOf("0102030405060708090A0B0CFF", 13));
}

TEST(WepKeyFromText, TakesPairsThatAreNotHexadecimalTheWayStrtolDoes) {
    // "G1": no digit; "1G": stops after the 1; " F": leading blank; "-1": sign, low 8 bits; "+7": sign.
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x01, 0x0F, 0xFF, 0x07, 0xEE, 0xEE}), KeyOf("G11G F-1+7", 5));
    // A pair "0x" is a zero with nothing after it, not the start of a longer number.
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x12, 0x00, 0x00, 0x00, 0xEE, 0xEE}), KeyOf("0x12zz  --", 5));
}

TEST(WepKeyFromText, NeverReadsPastAShortTextAndWritesOnlyTheKey) {
    EXPECT_EQ((std::vector<BYTE>{0xAB, 0x0C, 0x00, 0x00, 0x00, 0xEE, 0xEE}), KeyOf("ABC", 5));
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x00, 0x00, 0x00, 0x00, 0xEE, 0xEE}), KeyOf("", 5));
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x00, 0x00, 0x00, 0x00, 0xEE, 0xEE}), KeyOf(nullptr, 5));
}

TEST(WepKeyToText, WritesTwoUpperCaseDigitsAByteAndReadsBackTheSame) {
    const BYTE abKey[13] = {0x00, 0x01, 0x0F, 0xA0, 0xFF, 0x10, 0x20, 0x30, 0x40, 0x5A, 0x6B, 0x7C, 0x8D};
    EXPECT_EQ("00010FA0FF", WepKeyToText(abKey, 5).str());
    const CString strText = WepKeyToText(abKey, 13);
    EXPECT_EQ("00010FA0FF102030405A6B7C8D", strText.str());
    const std::vector<BYTE> readBack = KeyOf(strText, 13);
    EXPECT_EQ((std::vector<BYTE>(abKey, abKey + 13)),
              std::vector<BYTE>(readBack.begin(), readBack.begin() + 13));
}

TEST(WepKeyFromPassphrase, OneCharacterGivesItsSquareInEveryByte) {
    int nResult = 0;
    // 'A' = 65: 65 * 65 = 4225 = 0x1081.
    EXPECT_EQ(std::vector<BYTE>(5, 0x81), PassphraseKey("A", 5, &nResult));
    EXPECT_EQ(1, nResult);
    // 0xC8 is -56 as a signed 8-bit value: (-56) * (-56) = 3136 = 0x0C40.
    EXPECT_EQ(std::vector<BYTE>(13, 0x40), PassphraseKey("\xC8", 13, &nResult));
}

TEST(WepKeyFromPassphrase, RepeatsThePassphraseTimesTheSumOfItsCharacters) {
    int nResult = 0;
    // "ab": sum 97 + 98 = 195; 97 * 195 = 18915 = 0x49E3, 98 * 195 = 19110 = 0x4AA6.
    EXPECT_EQ((std::vector<BYTE>{0xE3, 0xA6, 0xE3, 0xA6, 0xE3}), PassphraseKey("ab", 5, &nResult));
    // "a\xFF": the second character counts as -1, so the sum is 96; 97 * 96 = 0x2460 and -1 * 96 = -96, whose
    // low 8 bits are 0xA0.
    EXPECT_EQ((std::vector<BYTE>{0x60, 0xA0, 0x60, 0xA0, 0x60}), PassphraseKey("a\xFF", 5, &nResult));
}

TEST(WepKeyFromPassphrase, AnEmptyPassphraseMakesNoKeyAndLeavesTheBuffer) {
    int nResult = 1;
    EXPECT_EQ(std::vector<BYTE>(5, 0xEE), PassphraseKey("", 5, &nResult));
    EXPECT_EQ(0, nResult);
    EXPECT_EQ(std::vector<BYTE>(5, 0xEE), PassphraseKey(nullptr, 5, &nResult));
    EXPECT_EQ(0, nResult);
}

} // namespace
