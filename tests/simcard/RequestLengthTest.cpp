// Answer sizes, short buffers and requests the card does not know, as a driver reports them.
#include "CardTestBase.h"

namespace simcard_test {
namespace {

class RequestLengthTest : public CardTestBase {
protected:
    void SetUp() override {
        Load("card bind=* mac=00:60:B3:AA:BB:CC firmware=1.08.03.00\n"
             "ap name=ap ssid=X bssid=00:00:00:00:00:01 channel=1 signal=30\n");
    }
};

TEST_F(RequestLengthTest, QueriesAnswerTheirExactSizeAndNameItWhenTheBufferIsShort) {
    const struct {
        std::uint32_t oid;
        std::uint32_t size;
    } answers[] = {{oid::kCurrentAddress, 6}, {oid::kNetworkType, 1},       {oid::kBssid, 6},
                   {oid::kLinkState, 2},      {oid::kTrafficCounters, 176}, {oid::kFirmwareVersion, 4},
                   {oid::kTxRate, 2},         {oid::kLinkQuality, 1},       {oid::kSignalLevel, 1}};
    for (const auto& a : answers) {
        SCOPED_TRACE(testing::Message() << std::hex << a.oid);
        Reply exact = Query(a.oid, a.size);
        EXPECT_EQ(0u, exact.status);
        EXPECT_EQ(a.size, exact.bytes);
        EXPECT_EQ(a.size, Query(a.oid, a.size + 10).bytes) << "a larger buffer gets the same answer";
        Reply shortBuffer = Query(a.oid, a.size - 1);
        EXPECT_EQ(status::kBufferTooShort, shortBuffer.status);
        EXPECT_EQ(a.size, shortBuffer.needed);
        EXPECT_EQ(0u, shortBuffer.bytes);
    }
    EXPECT_EQ("0060B3AABBCC", FormatHex(Query(oid::kCurrentAddress, 6).data.data(), 6));
    EXPECT_EQ("03080100", FormatHex(Query(oid::kFirmwareVersion, 4).data.data(), 4));
}

TEST_F(RequestLengthTest, CardRecordsNeedRoomForTheirWords) {
    Reply mask = QueryRecord(record::kChannelMask);
    EXPECT_EQ(6u, mask.bytes);
    EXPECT_EQ(2, GetU16(mask.data.data()));
    EXPECT_EQ(0x07FF, GetU16(mask.data.data() + 4));
    Reply ssid = QueryRecord(record::kCurrentSsid, 20);
    EXPECT_EQ(status::kBufferTooShort, ssid.status);
    EXPECT_EQ(38u, ssid.needed);
    EXPECT_EQ(status::kBufferTooShort, QueryRecord(record::kChannelMask, 3).status);
    EXPECT_EQ(504u, QueryRecord(record::kScanResults, 503).needed);
}

TEST_F(RequestLengthTest, UnknownRequestsAreNotSupported) {
    EXPECT_EQ(status::kNotSupported, Query(0x00010101, 64).status);
    EXPECT_EQ(status::kNotSupported, Query(oid::kCommit, 0).status);
    EXPECT_EQ(status::kNotSupported, Query(oid::kConfigItem, 264).status);
    EXPECT_EQ(status::kNotSupported, Query(oid::kWepMode, 2).status);
    EXPECT_EQ(status::kNotSupported, Set(oid::kLinkState, {1, 0}).status);
    EXPECT_EQ(status::kNotSupported, Set(oid::kCurrentAddress, {1, 2, 3, 4, 5, 6}).status);
    EXPECT_EQ(status::kNotSupported, QueryRecord(0xFD99).status);
    EXPECT_EQ(status::kNotSupported, SetRecordWord(record::kCurrentChannel, 3).status) << "read-only record";
    EXPECT_EQ(status::kNotSupported, SetItemByte(0x09090909, 1).status);
}

TEST_F(RequestLengthTest, SetsShorterThanTheirValueAreInvalidLength) {
    EXPECT_EQ(status::kInvalidLength, Set(oid::kNetworkType, {}).status);
    Reply rate = Set(oid::kTxRate, {8});
    EXPECT_EQ(status::kInvalidLength, rate.status);
    EXPECT_EQ(2u, rate.needed);
    std::vector<std::uint8_t> item(20, 0);
    PutU32(item.data(), item::kDesiredSsid);
    PutU32(item.data() + 8, 10);
    Reply cut = Set(oid::kConfigItem, item);
    EXPECT_EQ(status::kInvalidLength, cut.status);
    EXPECT_EQ(22u, cut.needed);
    PutU32(item.data() + 8, 0xFFFFFFF0u);
    EXPECT_EQ(status::kInvalidData, Set(oid::kConfigItem, item).status) << "a value longer than the envelope";
    EXPECT_EQ(status::kInvalidLength, SetItem(item::kChannel, "").status);
    EXPECT_EQ(status::kInvalidLength, Set(oid::kCardRecord, {2, 0, 0x2A, 0xFC}).status);
}

} // namespace
} // namespace simcard_test
