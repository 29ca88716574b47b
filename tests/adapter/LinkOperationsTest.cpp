// Reading the link state at its three detail levels, and writing the basic configuration from its cache.
#include <algorithm>
#include <cstring>

#include "AdapterFixture.h"
#include "adapter/NdisRequests.h"

using fakelib::Bytes;
using fakelib::ItemEnvelope;
using fakelib::Query;
using fakelib::RecordReadEnvelope;
using fakelib::Set;
using fakelib::SetNull;

namespace {

Bytes RecordAnswer(std::uint16_t id, const Bytes& data) {
    Bytes b(4 + data.size(), 0);
    b[0] = static_cast<std::uint8_t>(data.size() / 2 + 1);
    b[2] = static_cast<std::uint8_t>(id & 0xFF);
    b[3] = static_cast<std::uint8_t>(id >> 8);
    std::copy(data.begin(), data.end(), b.begin() + 4);
    return b;
}

const std::string kLinkState = Query(OID_LINK_STATE, 2);
const std::string kNetworkType = Query(OID_NETWORK_TYPE, 1);
const std::string kTxRate = Query(OID_TX_RATE, 2);
const std::string kChannelRecord = Query(OID_CARD_RECORD, 504, RecordReadEnvelope(RID_CURRENT_CHANNEL));
const std::string kSsidRecord = Query(OID_CARD_RECORD, 504, RecordReadEnvelope(RID_CURRENT_SSID));
const std::string kBssid = Query(OID_BSSID, 6);
const std::string kSignal = Query(OID_SIGNAL_LEVEL, 1);
const std::string kQuality = Query(OID_LINK_QUALITY, 1);
const std::string kCommit = SetNull(OID_COMMIT);

} // namespace

class ReadLinkStatusTest : public AdapterTest {
protected:
    ReadLinkStatusTest() {
        g_bCardPresent = 1;
        fakelib::AnswerQuery(OID_LINK_STATE, {0x01, 0x00});
        fakelib::AnswerQuery(OID_NETWORK_TYPE, {0x01});
        fakelib::AnswerQuery(OID_TX_RATE, {0x0F, 0x00});
        fakelib::AnswerQuery(OID_BSSID, {0x00, 0x60, 0xB3, 0x0A, 0x0B, 0x0C});
        fakelib::AnswerQuery(OID_SIGNAL_LEVEL, {0x4B});
        fakelib::AnswerQuery(OID_LINK_QUALITY, {0x32});
        AnswerRecordFull(RID_CURRENT_CHANNEL, {0x0B, 0x00});
        Bytes ssid = {0x05, 0x00, 'H', 'o', 'm', 'e', 'N'};
        AnswerRecordFull(RID_CURRENT_SSID, ssid);
        // Leftovers that the reads must replace or keep.
        std::memset(&m_status, 0xEE, sizeof(m_status));
        // Open up front so that the lists below hold only the operation's requests.
        m_adapter.OpenAdapter(m_name);
        TakeCalls();
    }

    // A record answered the way the card does: the whole envelope.
    void AnswerRecordFull(std::uint16_t id, const Bytes& data) {
        Bytes b = RecordAnswer(id, data);
        b.resize(504, 0);
        fakelib::AnswerRecord(id, {b, 504});
    }

    LinkStatus m_status;
};

TEST_F(ReadLinkStatusTest, FullDetailReadsEverythingInOrder) {
    ASSERT_EQ(1, m_adapter.ReadLinkStatus(m_name, &m_status, 0));
    EXPECT_EQ(
        (Lines{kLinkState, kNetworkType, kTxRate, kChannelRecord, kSsidRecord, kBssid, kSignal, kQuality}),
        TakeCalls());
    EXPECT_EQ(1, m_status.LinkState);
    EXPECT_EQ(1, m_status.NetworkType);
    EXPECT_EQ(15, m_status.TxRate);
    EXPECT_EQ(11, m_status.DSChannel);
    EXPECT_EQ(5, m_status.SSIDLength);
    const BYTE abSsid[32] = {'H', 'o', 'm', 'e', 'N'};
    EXPECT_EQ(0, std::memcmp(abSsid, m_status.SSID, 32));
    const BYTE abBssid[6] = {0x00, 0x60, 0xB3, 0x0A, 0x0B, 0x0C};
    EXPECT_EQ(0, std::memcmp(abBssid, m_status.BSSID, 6));
    EXPECT_EQ(0x4B, m_status.SignalStrength);
    EXPECT_EQ(0x32, m_status.LinkQuality);
    EXPECT_EQ(0xEE, m_status.PSMode);
}

TEST_F(ReadLinkStatusTest, LowerDetailLevelsAndALostLinkSkipWhatTheyDoNotShow) {
    // Detail 1 keeps the record's network type: not infrastructure, so no signal and quality.
    m_status.NetworkType = 0;
    ASSERT_EQ(1, m_adapter.ReadLinkStatus(m_name, &m_status, 1));
    EXPECT_EQ((Lines{kLinkState, kChannelRecord, kSsidRecord, kBssid}), TakeCalls());
    EXPECT_EQ(0xEEEE, m_status.TxRate);
    EXPECT_EQ(11, m_status.DSChannel);

    m_status.NetworkType = 1;
    ASSERT_EQ(1, m_adapter.ReadLinkStatus(m_name, &m_status, 2));
    EXPECT_EQ((Lines{kLinkState, kBssid, kSignal, kQuality}), TakeCalls());

    ASSERT_EQ(1, m_adapter.ReadLinkStatus(m_name, &m_status, 3));
    EXPECT_EQ((Lines{kLinkState}), TakeCalls());

    // Without a link only the state is read, whatever the detail.
    std::memset(&m_status, 0xEE, sizeof(m_status));
    fakelib::AnswerQuery(OID_LINK_STATE, {0x04, 0x00});
    ASSERT_EQ(1, m_adapter.ReadLinkStatus(m_name, &m_status, 0));
    EXPECT_EQ((Lines{kLinkState}), TakeCalls());
    EXPECT_EQ(4, m_status.LinkState);
    EXPECT_EQ(0xEE, m_status.NetworkType);
    EXPECT_EQ(0xEEEE, m_status.DSChannel);
}

TEST_F(ReadLinkStatusTest, AnAnswerOfTheWrongSizeEndsTheRead) {
    fakelib::AnswerQuery(OID_LINK_STATE, Bytes{0x01});
    EXPECT_EQ(0, m_adapter.ReadLinkStatus(m_name, &m_status, 0));
    EXPECT_EQ(0xEEEE, m_status.LinkState);
    EXPECT_EQ((Lines{kLinkState}), TakeCalls());

    fakelib::AnswerQuery(OID_LINK_STATE, {0x01, 0x00});
    fakelib::AnswerQuery(OID_BSSID, fakelib::Answer{{0x00, 0x60, 0xB3, 0x0A, 0x0B, 0x0C}, 7});
    EXPECT_EQ(0, m_adapter.ReadLinkStatus(m_name, &m_status, 2));
    EXPECT_EQ((Lines{kLinkState, kBssid}), TakeCalls());
    EXPECT_EQ(0xEE, m_status.BSSID[0]);
}

TEST_F(ReadLinkStatusTest, ARecordAnswerMustHoldItsWordAndFitTheEnvelope) {
    Bytes whole = RecordAnswer(RID_CURRENT_CHANNEL, {0x03, 0x00});
    fakelib::AnswerRecord(RID_CURRENT_CHANNEL, {whole, 505});
    EXPECT_EQ(0, m_adapter.ReadLinkStatus(m_name, &m_status, 1));
    EXPECT_EQ((Lines{kLinkState, kChannelRecord}), TakeCalls());
    EXPECT_EQ(0xEEEE, m_status.DSChannel);

    fakelib::AnswerRecord(RID_CURRENT_CHANNEL, {whole, 4});
    EXPECT_EQ(0, m_adapter.ReadLinkStatus(m_name, &m_status, 1));
    EXPECT_EQ(0xEEEE, m_status.DSChannel);

    // An answer of exactly the word it carries is enough.
    fakelib::AnswerRecord(RID_CURRENT_CHANNEL, {whole, 6});
    EXPECT_EQ(1, m_adapter.ReadLinkStatus(m_name, &m_status, 1));
    EXPECT_EQ(3, m_status.DSChannel);
}

TEST_F(ReadLinkStatusTest, TheSsidCopyStopsAtItsFieldWhateverTheLengthSays) {
    Bytes data = {40, 0x00};
    for (int i = 0; i < 40; ++i)
        data.push_back(static_cast<std::uint8_t>('a' + i % 26));
    AnswerRecordFull(RID_CURRENT_SSID, data);
    ASSERT_EQ(1, m_adapter.ReadLinkStatus(m_name, &m_status, 1));
    EXPECT_EQ(40, m_status.SSIDLength);
    EXPECT_EQ(0, std::memcmp(data.data() + 2, m_status.SSID, 32));
    EXPECT_EQ(0xEEEE, m_status.TxRate);
}

class ApplyBasicConfigTest : public AdapterTest {
protected:
    ApplyBasicConfigTest() {
        g_bCardPresent = 1;
        std::memset(&m_wanted, 0, sizeof(m_wanted));
        m_wanted.NetworkType = 1;
        m_wanted.DSChannel = 6;
        std::memcpy(m_wanted.SSID, "Office", 6);
        m_wanted.SSIDLength = 6;
        m_wanted.TxRate = 15;
        m_wanted.PSMode = 0;
    }

    static Lines FullWrite(const LinkStatus& s) {
        return Lines{
            "open 0007",
            Set(OID_NETWORK_TYPE, {s.NetworkType}),
            Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_DESIRED_SSID, Bytes(s.SSID, s.SSID + s.SSIDLength))),
            Set(OID_TX_RATE, {static_cast<std::uint8_t>(s.TxRate), static_cast<std::uint8_t>(s.TxRate >> 8)}),
            Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_POWER_SAVING, {static_cast<std::uint8_t>(s.PSMode + 1)})),
            Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_CHANNEL, {static_cast<std::uint8_t>(s.DSChannel)})),
            kCommit};
    }

    LinkStatus m_wanted;
};

TEST_F(ApplyBasicConfigTest, TheFirstApplyAndAForcedRewriteWriteEverythingOnce) {
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    Lines expected = FullWrite(m_wanted);
    EXPECT_EQ(expected, TakeCalls());
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ(Lines{}, TakeCalls());

    m_adapter.m_bForceRewrite = 1;
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    expected.erase(expected.begin()); // already open
    EXPECT_EQ(expected, TakeCalls());
    EXPECT_EQ(0, m_adapter.m_bForceRewrite.load());
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ(Lines{}, TakeCalls());
}

TEST_F(ApplyBasicConfigTest, OnlyChangedValuesGoAndANewNetworkTypeBringsTheChannel) {
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    TakeCalls();

    m_wanted.NetworkType = 0;
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ((Lines{Set(OID_NETWORK_TYPE, {0x00}), Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_CHANNEL, {0x06})),
                     kCommit}),
              TakeCalls());

    // Bytes past the SSID's length are not part of it.
    m_wanted.SSID[10] = 'z';
    m_wanted.PSMode = 1;
    m_wanted.DSChannel = 0x010B; // only the low byte goes to the card
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ((Lines{Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_POWER_SAVING, {0x02})),
                     Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_CHANNEL, {0x0B})), kCommit}),
              TakeCalls());

    m_wanted.SSIDLength = 3;
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ((Lines{Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_DESIRED_SSID, {'O', 'f', 'f'})), kCommit}),
              TakeCalls());
}

// Whichever write fails, the values before it stay written and a retry starts at the failed one.
TEST_F(ApplyBasicConfigTest, AFailureStopsTheSequenceAndARetrySendsTheRest) {
    const Lines expected = FullWrite(m_wanted);
    for (size_t nFailed = 1; nFailed + 1 < expected.size(); ++nFailed) { // the type up to the channel
        SCOPED_TRACE(expected[nFailed]);
        CWlanAdapter adapter;
        fakelib::FailRequest(static_cast<int>(nFailed));
        EXPECT_EQ(0, adapter.ApplyBasicConfig(m_name, &m_wanted));
        Lines sent(expected.begin(), expected.begin() + static_cast<long>(nFailed) + 1);
        sent.push_back("close");
        EXPECT_EQ(sent, TakeCalls());

        ASSERT_EQ(1, adapter.ApplyBasicConfig(m_name, &m_wanted));
        Lines retry = {"open 0007"};
        retry.insert(retry.end(), expected.begin() + static_cast<long>(nFailed), expected.end());
        EXPECT_EQ(retry, TakeCalls());
        adapter.CloseAdapter();
        TakeCalls();
    }
}

TEST_F(ApplyBasicConfigTest, AFailedCommitIsTheResult) {
    fakelib::FailRequest(6);
    EXPECT_EQ(0, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    // Every value was written, so nothing but the next change goes again.
    m_wanted.TxRate = 8;
    TakeCalls();
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ((Lines{"open 0007", Set(OID_TX_RATE, {0x08, 0x00}), kCommit}), TakeCalls());
}

TEST_F(ApplyBasicConfigTest, AnSsidLengthBeyondTheFieldSendsTheFieldOnly) {
    std::memcpy(m_wanted.SSID, "0123456789abcdef0123456789ABCDEF", 32);
    m_wanted.SSIDLength = 200;
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    Lines calls = TakeCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(Set(OID_CONFIG_ITEM, ItemEnvelope(ITEM_DESIRED_SSID, Bytes(m_wanted.SSID, m_wanted.SSID + 32))),
              calls[2]);
    ASSERT_EQ(1, m_adapter.ApplyBasicConfig(m_name, &m_wanted));
    EXPECT_EQ(Lines{}, TakeCalls());
}
