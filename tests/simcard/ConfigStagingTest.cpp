// Written configuration is staged; only the commit puts it in effect and makes the card search again.
#include "CardTestBase.h"

namespace simcard_test {
namespace {

const char* kTwoNetworks = R"(
card bind=0007 ssid=OFFICE join-delay=1000
ap name=office ssid=OFFICE bssid=00:11:22:33:44:01 channel=1 signal=30
ap name=lab    ssid=LAB    bssid=00:11:22:33:44:02 channel=11 signal=20
)";

class ConfigStagingTest : public CardTestBase {
protected:
    void SetUp() override { Load(kTwoNetworks); }
};

TEST_F(ConfigStagingTest, ItemsWaitForTheCommitThenTheCardJoinsAgain) {
    Wait(1000);
    ASSERT_EQ(1, LinkState());
    EXPECT_EQ("00:11:22:33:44:01", Bssid());

    ASSERT_EQ(0u, SetItem(item::kDesiredSsid, "LAB").status);
    Wait(5000);
    EXPECT_EQ(1, LinkState());
    EXPECT_EQ("00:11:22:33:44:01", Bssid());
    EXPECT_EQ("OFFICE", m_card->Status().active.ssid);
    EXPECT_EQ("LAB", m_card->Status().staged.ssid);

    ASSERT_EQ(0u, Commit().status);
    EXPECT_EQ(4, LinkState());
    Wait(999);
    EXPECT_EQ(4, LinkState());
    Wait(1);
    EXPECT_EQ(1, LinkState());
    EXPECT_EQ("00:11:22:33:44:02", Bssid());
    EXPECT_EQ(11, RecordWord(record::kCurrentChannel));
}

TEST_F(ConfigStagingTest, DirectSetsAndRecordWritesAreStagedToo) {
    ASSERT_EQ(0u, Set(oid::kTxRate, {8, 0}).status);
    ASSERT_EQ(0u, Set(oid::kNetworkType, {0}).status);
    ASSERT_EQ(0u, SetRecordWord(record::kWriteAuthentication, 2).status);
    EXPECT_EQ(15, GetU16(Query(oid::kTxRate, 2).data.data()));
    EXPECT_EQ(1, Byte(oid::kNetworkType));
    EXPECT_EQ(1, RecordWord(record::kAuthentication));

    ASSERT_EQ(0u, Commit().status);
    EXPECT_EQ(8, GetU16(Query(oid::kTxRate, 2).data.data()));
    EXPECT_EQ(0, Byte(oid::kNetworkType));
    EXPECT_EQ(2, RecordWord(record::kAuthentication));
}

TEST_F(ConfigStagingTest, OutOfRangeValuesAreRefusedAndLeaveNothingStaged) {
    const CardConfig before = m_card->Status().staged;
    EXPECT_EQ(status::kInvalidData, SetItemByte(item::kChannel, 15).status);
    EXPECT_EQ(status::kInvalidData, SetItemByte(item::kChannel, 12).status) << "outside the channel mask";
    EXPECT_EQ(status::kInvalidData, SetItemByte(item::kChannel, 0).status);
    EXPECT_EQ(status::kInvalidData, SetItemByte(item::kPowerSaving, 0).status);
    EXPECT_EQ(status::kInvalidData, SetItemByte(item::kSelectWepKey, 5).status);
    EXPECT_EQ(status::kInvalidData, SetItemByte(item::kDefaultTxKey, 0).status);
    EXPECT_EQ(status::kInvalidData, SetItem(item::kWepKeyBytes, "1234").status);
    EXPECT_EQ(status::kInvalidData, SetItem(item::kDesiredSsid, std::string(33, 'x')).status);
    EXPECT_EQ(status::kInvalidData, SetItem(item::kFragThreshold, std::string("\x64\x00", 2)).status);
    EXPECT_EQ(status::kInvalidData, SetItem(item::kRtsThreshold, std::string("\x81\x09", 2)).status);
    EXPECT_EQ(status::kInvalidData, Set(oid::kNetworkType, {2}).status);
    EXPECT_EQ(status::kInvalidData, Set(oid::kTxRate, {5, 0}).status);
    EXPECT_EQ(status::kInvalidData, Set(oid::kWepMode, {3, 0}).status);
    EXPECT_EQ(status::kInvalidData, SetRecordWord(record::kWriteAuthentication, 4).status);
    EXPECT_EQ(status::kInvalidData, SetRecordWord(record::kWritePreamble, 0).status);
    EXPECT_TRUE(before == m_card->Status().staged);
}

TEST_F(ConfigStagingTest, KeysGoToTheSelectedSlotAndThresholdsWaitForALaterCommit) {
    ASSERT_EQ(0u, SetItemByte(item::kSelectWepKey, 3).status);
    ASSERT_EQ(0u, SetItem(item::kWepKeyBytes, "ABCDE").status);
    ASSERT_EQ(0u, SetItemByte(item::kDefaultTxKey, 3).status);
    ASSERT_EQ(0u, Set(oid::kWepMode, {2, 0}).status);
    ASSERT_EQ(0u, Commit().status);
    CardConfig active = m_card->Status().active;
    EXPECT_EQ("", active.wepKeys[0]);
    EXPECT_EQ("ABCDE", active.wepKeys[2]);
    EXPECT_EQ(3, active.txKey);
    EXPECT_EQ(2, active.wepMode);

    ASSERT_EQ(0u, SetItem(item::kFragThreshold, std::string("\x00\x05", 2)).status);
    EXPECT_EQ(2432, m_card->Status().active.fragThreshold);
    ASSERT_EQ(0u, SetRecordWord(record::kWritePreamble, 2).status);
    ASSERT_EQ(0u, Commit().status);
    EXPECT_EQ(1280, m_card->Status().active.fragThreshold);
    EXPECT_EQ(2, m_card->Status().active.preamble);
}

} // namespace
} // namespace simcard_test
