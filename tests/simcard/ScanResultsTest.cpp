// The scan results record 0xFD88: what the card heard at its last scan, laid out as the survey reads it.
#include "CardTestBase.h"

namespace simcard_test {
namespace {

class ScanResultsTest : public CardTestBase {
protected:
    static const std::uint8_t* Entry(const Reply& r, int i) { return r.data.data() + 8 + 62 * i; }
    static std::string EntrySsid(const Reply& r, int i) {
        return std::string(reinterpret_cast<const char*>(Entry(r, i) + 18), GetU16(Entry(r, i) + 16));
    }
};

TEST_F(ScanResultsTest, EntriesCarryChannelSignalBssidCapabilityAndSsid) {
    Load(R"(
card bind=*
ap name=a ssid=Office bssid=00:11:22:33:44:55 channel=11 signal=27 noise=7 wep=0102030405
adhoc name=b ssid=Games bssid=02:AA:BB:CC:DD:EE channel=3 signal=12
)");
    Wait(1000);
    std::vector<std::uint8_t> envelope(504, 0);
    PutU16(envelope.data() + 2, record::kScanResults);
    PutU16(envelope.data() + 6, 3);
    RequestOutcome o = m_card->Request(m_session, RequestKind::Query, oid::kCardRecord, envelope.data(), 504);
    ASSERT_EQ(0u, o.status);
    EXPECT_EQ(504u, o.bytesDone);
    Reply r{o.status, o.bytesDone, 0, envelope};

    EXPECT_EQ(record::kScanResults, GetU16(r.data.data() + 2));
    EXPECT_EQ(2, GetU16(r.data.data() + 4));
    EXPECT_EQ(3, GetU16(r.data.data() + 6)) << "the caller's word stays";
    EXPECT_EQ(11, GetU16(Entry(r, 0)));
    EXPECT_EQ(7, GetU16(Entry(r, 0) + 2));
    EXPECT_EQ(27, GetU16(Entry(r, 0) + 4));
    EXPECT_EQ("001122334455", FormatHex(Entry(r, 0) + 6, 6));
    EXPECT_EQ(kCapabilityEss | kCapabilityPrivacy, GetU16(Entry(r, 0) + 14));
    EXPECT_EQ("Office", EntrySsid(r, 0));
    EXPECT_EQ(kCapabilityIbss, GetU16(Entry(r, 1) + 14));
    EXPECT_EQ("Games", EntrySsid(r, 1));
    EXPECT_EQ(0, GetU16(Entry(r, 2) + 16)) << "an SSID length of 0 ends the list";
}

TEST_F(ScanResultsTest, ACellReportsAnyLengthWordAndBytesAfterItsSsid) {
    Load("card bind=*\n"
         "ap name=a ssid=LAB bssid=00:11:22:33:44:55 channel=1 signal=40 ssid-length=255 after-ssid=" +
         std::string(88, 'A') + "\n");
    Wait(1000);
    Reply r = QueryRecord(record::kScanResults);
    ASSERT_EQ(0u, r.status);
    EXPECT_EQ(255, GetU16(Entry(r, 0) + 16));
    EXPECT_EQ("LAB" + std::string(29, '\xAA'),
              std::string(reinterpret_cast<const char*>(Entry(r, 0) + 18), 32));
    EXPECT_EQ(std::string(12, '\xAA'), std::string(reinterpret_cast<const char*>(Entry(r, 0) + 50), 12))
        << "through the 12 bytes after the SSID field";
    EXPECT_EQ(0, GetU16(Entry(r, 1) + 16)) << "and no further";
    Reply current = QueryRecord(record::kCurrentSsid);
    EXPECT_EQ(255, GetU16(current.data.data() + 4));
    EXPECT_EQ("LAB" + std::string(29, '\xAA'),
              std::string(reinterpret_cast<const char*>(current.data.data() + 6), 32));
    EXPECT_EQ(38u, current.bytes) << "the record stays its size";
}

TEST_F(ScanResultsTest, ListsOnlyWhatTheCardHearsAtMostEight) {
    std::string world = "card bind=* channels=0x03FF sensitivity=8\n"
                        "ap name=quiet ssid=Q bssid=00:00:00:00:01:00 channel=1 signal=7\n"
                        "ap name=ch11 ssid=E bssid=00:00:00:00:01:01 channel=11 signal=30\n"
                        "ap name=gone ssid=G bssid=00:00:00:00:01:02 channel=2 signal=30 present=no\n";
    for (int i = 0; i < 10; ++i)
        world += "ap name=n" + std::to_string(i) + " ssid=N" + std::to_string(i) + " bssid=00:00:00:00:02:0" +
                 std::to_string(i) + " channel=1 signal=" + std::to_string(10 + i) + "\n";
    Load(world);
    Wait(1000);
    Reply r = QueryRecord(record::kScanResults);
    ASSERT_EQ(0u, r.status);
    EXPECT_EQ(8, GetU16(r.data.data() + 4));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ("N" + std::to_string(i), EntrySsid(r, i)) << "in the world's order";
}

TEST_F(ScanResultsTest, ASearchAfterACommitSeesACellThatAppearedSinceTheLastScan) {
    Load(R"(
card bind=* ssid=HOME scan-interval=60000
ap name=home ssid=HOME bssid=00:00:00:00:00:01 channel=1 signal=30
ap name=cafe ssid=CAFE bssid=00:00:00:00:00:02 channel=6 signal=20 present=no
at 5000 cafe present=yes
)");
    EXPECT_EQ(0, GetU16(QueryRecord(record::kScanResults).data.data() + 4)) << "nothing scanned yet";
    Wait(6000);
    EXPECT_EQ(1, GetU16(QueryRecord(record::kScanResults).data.data() + 4));

    SetItem(item::kDesiredSsid, "ANY");
    Commit();
    Wait(3000);
    Reply r = QueryRecord(record::kScanResults);
    ASSERT_EQ(2, GetU16(r.data.data() + 4));
    EXPECT_EQ("CAFE", EntrySsid(r, 1));
}

} // namespace
} // namespace simcard_test
