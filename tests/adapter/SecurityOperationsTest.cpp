// Authentication, preamble and thresholds; WEP keys, default key and mode.
#include <cstring>

#include "AdapterFixture.h"
#include "adapter/NdisRequests.h"

using fakelib::Bytes;
using fakelib::ItemEnvelope;
using fakelib::Query;
using fakelib::RecordReadEnvelope;
using fakelib::RecordWordEnvelope;
using fakelib::Set;
using fakelib::SetNull;

namespace {

const std::string kCommit = SetNull(OID_COMMIT);

std::string Item(std::uint32_t code, const Bytes& value) {
    return Set(OID_CONFIG_ITEM, ItemEnvelope(code, value));
}

std::string RecordWord(std::uint16_t id, std::uint16_t value) {
    return Set(OID_CARD_RECORD, RecordWordEnvelope(id, value));
}

} // namespace

class AdvancedSettingsTest : public AdapterTest {
protected:
    AdvancedSettingsTest() {
        g_bCardPresent = 1;
        std::memset(&m_settings, 0, sizeof(m_settings));
        m_settings.AuthentAlg = 1;
        // Open up front so that the lists below hold only the operation's requests.
        m_adapter.OpenAdapter(m_name);
        TakeCalls();
    }

    BOOL Write(BYTE bPreamble, const char* pszFrag, const char* pszRts) {
        return m_adapter.WriteAdvancedSettings(m_name, &m_settings, bPreamble, pszFrag, pszRts);
    }

    CardSettings m_settings;
};

TEST_F(AdvancedSettingsTest, TheFirstWriteSendsEverythingThenOnlyChanges) {
    ASSERT_EQ(1, Write(0, "2346", "2347"));
    EXPECT_EQ(
        (Lines{RecordWord(RID_SET_AUTHENTICATION, 1), RecordWord(RID_SET_PREAMBLE, 0),
               Item(ITEM_FRAG_THRESHOLD, {0x2A, 0x09}), Item(ITEM_RTS_THRESHOLD, {0x2B, 0x09}), kCommit}),
        TakeCalls());
    ASSERT_EQ(1, Write(0, "2346", "2347"));
    EXPECT_EQ(Lines{}, TakeCalls());

    m_settings.AuthentAlg = 2;
    ASSERT_EQ(1, Write(0, "2346", "2347"));
    EXPECT_EQ((Lines{RecordWord(RID_SET_AUTHENTICATION, 2), kCommit}), TakeCalls());
}

TEST_F(AdvancedSettingsTest, ThresholdsAloneAreNotCommitted) {
    ASSERT_EQ(1, Write(1, "2346", "2347"));
    TakeCalls();
    ASSERT_EQ(1, Write(1, "1500", "2347"));
    EXPECT_EQ((Lines{Item(ITEM_FRAG_THRESHOLD, {0xDC, 0x05})}), TakeCalls());
    ASSERT_EQ(1, Write(1, "1500", "500"));
    EXPECT_EQ((Lines{Item(ITEM_RTS_THRESHOLD, {0xF4, 0x01})}), TakeCalls());
}

TEST_F(AdvancedSettingsTest, ThresholdTextsAreReadLikeStrtolAndCutTo16Bits) {
    // 0x1111 and a preamble byte of 0xFF match the start values; "-1" is 0xFFFF, as are the thresholds.
    m_settings.AuthentAlg = 0x1111;
    ASSERT_EQ(1, Write(0xFF, "-1", "65535"));
    EXPECT_EQ(Lines{}, TakeCalls());

    ASSERT_EQ(1, Write(0xFF, " 700 bytes", "99999"));
    EXPECT_EQ((Lines{Item(ITEM_FRAG_THRESHOLD, {0xBC, 0x02}), Item(ITEM_RTS_THRESHOLD, {0x9F, 0x86})}),
              TakeCalls());
    // Beyond the 32-bit range the number stops at its limit, whose low 16 bits are 0xFFFF / 0x0000.
    ASSERT_EQ(1, Write(0xFF, "99999999999", "-99999999999"));
    EXPECT_EQ((Lines{Item(ITEM_FRAG_THRESHOLD, {0xFF, 0xFF}), Item(ITEM_RTS_THRESHOLD, {0x00, 0x00})}),
              TakeCalls());
    ASSERT_EQ(1, Write(0xFF, "abc", ""));
    EXPECT_EQ((Lines{Item(ITEM_FRAG_THRESHOLD, {0x00, 0x00})}), TakeCalls());
}

TEST_F(AdvancedSettingsTest, AFailureKeepsWhatWasWrittenBeforeIt) {
    fakelib::FailRequest(2); // the preamble
    EXPECT_EQ(0, Write(1, "2346", "2347"));
    EXPECT_EQ((Lines{RecordWord(RID_SET_AUTHENTICATION, 1), RecordWord(RID_SET_PREAMBLE, 1), "close"}),
              TakeCalls());
    ASSERT_EQ(1, Write(1, "2346", "2347"));
    EXPECT_EQ((Lines{"open 0007", RecordWord(RID_SET_PREAMBLE, 1), Item(ITEM_FRAG_THRESHOLD, {0x2A, 0x09}),
                     Item(ITEM_RTS_THRESHOLD, {0x2B, 0x09}), kCommit}),
              TakeCalls());
}

TEST_F(AdvancedSettingsTest, ReadingTakesBothWordsAndOnlyFromAnswersThatHoldThem) {
    Bytes auth = {0x02, 0x00, 0x4D, 0xFD, 0x03, 0x00};
    Bytes deny = {0x02, 0x00, 0x4F, 0xFD, 0x01, 0x00};
    fakelib::AnswerRecord(RID_AUTHENTICATION, {auth, 6});
    fakelib::AnswerRecord(RID_DENY_UNENCRYPTED, {deny, 504});
    m_settings.AuthentAlg = 0x55;
    m_settings.DenyUnencrypted = 0x55;
    ASSERT_EQ(1, m_adapter.ReadAdvancedSettings(m_name, &m_settings));
    EXPECT_EQ((Lines{Query(OID_CARD_RECORD, 504, RecordReadEnvelope(RID_AUTHENTICATION)),
                     Query(OID_CARD_RECORD, 504, RecordReadEnvelope(RID_DENY_UNENCRYPTED))}),
              TakeCalls());
    EXPECT_EQ(3, m_settings.AuthentAlg);
    EXPECT_EQ(1, m_settings.DenyUnencrypted);

    // Counts are not judged here, but a word the answer does not reach is not taken.
    fakelib::AnswerRecord(RID_AUTHENTICATION, {auth, 4});
    fakelib::AnswerRecord(RID_DENY_UNENCRYPTED, {deny, 600});
    m_settings.AuthentAlg = 0x55;
    m_settings.DenyUnencrypted = 0x55;
    EXPECT_EQ(1, m_adapter.ReadAdvancedSettings(m_name, &m_settings));
    EXPECT_EQ(0x55, m_settings.AuthentAlg);
    EXPECT_EQ(0x55, m_settings.DenyUnencrypted);

    fakelib::FailRequest(1);
    EXPECT_EQ(0, m_adapter.ReadAdvancedSettings(m_name, &m_settings));
}

class WepSettingsTest : public AdapterTest {
protected:
    WepSettingsTest() {
        g_bCardPresent = 1;
        std::memset(&m_settings, 0, sizeof(m_settings));
        const BYTE abKey[13] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C};
        BYTE* keys[4] = {m_settings.WepKey1, m_settings.WepKey2, m_settings.WepKey3, m_settings.WepKey4};
        for (int i = 0; i < 4; ++i) {
            std::memcpy(keys[i], abKey, 13);
            keys[i][0] = static_cast<BYTE>(0xA0 + i);
        }
        m_adapter.OpenAdapter(m_name);
        TakeCalls();
    }

    static Lines Key(int n, const BYTE* pKey, size_t cb) {
        return Lines{Item(ITEM_WEP_KEY_SLOT, {static_cast<std::uint8_t>(n)}),
                     Item(ITEM_WEP_KEY_BYTES, Bytes(pKey, pKey + cb))};
    }

    static void Append(Lines& lines, const Lines& more) {
        lines.insert(lines.end(), more.begin(), more.end());
    }

    BOOL Write() { return m_adapter.WriteWepSettings(m_name, &m_settings); }

    CardSettings m_settings;
};

TEST_F(WepSettingsTest, SixtyFourBitModeWritesFiveBytesPerKey) {
    m_settings.WepMode = 2;
    m_settings.TxKeyIndex = 1;
    ASSERT_EQ(1, Write());
    Lines expected;
    Append(expected, Key(1, m_settings.WepKey1, 5));
    Append(expected, Key(2, m_settings.WepKey2, 5));
    Append(expected, Key(3, m_settings.WepKey3, 5));
    Append(expected, Key(4, m_settings.WepKey4, 5));
    Append(expected, {Item(ITEM_DEFAULT_TX_KEY, {0x02}), Set(OID_WEP_MODE, {0x02, 0x00}), kCommit});
    EXPECT_EQ(expected, TakeCalls());

    // Bytes past the fifth do not count in this mode.
    m_settings.WepKey2[7] = 0x99;
    ASSERT_EQ(1, Write());
    EXPECT_EQ(Lines{}, TakeCalls());

    m_settings.WepKey4[4] = 0x99;
    m_settings.TxKeyIndex = 3;
    ASSERT_EQ(1, Write());
    expected = Key(4, m_settings.WepKey4, 5);
    Append(expected, {Item(ITEM_DEFAULT_TX_KEY, {0x04}), kCommit});
    EXPECT_EQ(expected, TakeCalls());
}

TEST_F(WepSettingsTest, SwitchingTo128BitResendsEveryKeyThatDiffersInThirteenBytes) {
    m_settings.WepMode = 2;
    // Key 3's last eight bytes equal what the cache holds beyond the five bytes written in 64-bit mode.
    std::memset(m_settings.WepKey3 + 5, 0xFF, 8);
    ASSERT_EQ(1, Write());
    TakeCalls();

    m_settings.WepMode = 6;
    ASSERT_EQ(1, Write());
    Lines expected;
    Append(expected, Key(1, m_settings.WepKey1, 13));
    Append(expected, Key(2, m_settings.WepKey2, 13));
    Append(expected, Key(4, m_settings.WepKey4, 13));
    Append(expected, {Set(OID_WEP_MODE, {0x06, 0x00}), kCommit});
    EXPECT_EQ(expected, TakeCalls());
}

TEST_F(WepSettingsTest, TurningWepOffSendsOnlyTheMode) {
    m_settings.WepMode = 2;
    ASSERT_EQ(1, Write());
    TakeCalls();

    m_settings.WepMode = 0;
    m_settings.WepKey1[0] = 0x42;
    m_settings.TxKeyIndex = 2;
    ASSERT_EQ(1, Write());
    EXPECT_EQ((Lines{Set(OID_WEP_MODE, {0x00, 0x00}), kCommit}), TakeCalls());

    // Any other mode means off too, but it is a different value than the one last written.
    m_settings.WepMode = 1;
    ASSERT_EQ(1, Write());
    EXPECT_EQ((Lines{Set(OID_WEP_MODE, {0x00, 0x00}), kCommit}), TakeCalls());
    ASSERT_EQ(1, Write());
    EXPECT_EQ(Lines{}, TakeCalls());
}

TEST_F(WepSettingsTest, AFailureInsideAKeyWritesTheWholeKeyAgainOnRetry) {
    m_settings.WepMode = 6;
    fakelib::FailRequest(4); // key 2's bytes
    EXPECT_EQ(0, Write());
    Lines expected = Key(1, m_settings.WepKey1, 13);
    Append(expected, Key(2, m_settings.WepKey2, 13));
    expected.push_back("close");
    EXPECT_EQ(expected, TakeCalls());

    ASSERT_EQ(1, Write());
    Lines calls = TakeCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(Key(2, m_settings.WepKey2, 13), Lines(calls.begin() + 1, calls.begin() + 3));
    EXPECT_EQ(10u, calls.size()); // open, keys 2 to 4, default key, mode, commit
}
