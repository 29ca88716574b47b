// Joining, keeping and losing the link as the configuration and the radio world change.
#include "CardTestBase.h"

namespace simcard_test {
namespace {

class LinkTest : public CardTestBase {};

TEST_F(LinkTest, JoinsTheStrongestCellThatFitsAndReportsIt) {
    Load(R"(
card bind=* ssid=any
ap name=weak   ssid=A bssid=00:00:00:00:00:01 channel=1 signal=20
ap name=locked ssid=B bssid=00:00:00:00:00:02 channel=6 signal=45 wep=0102030405
ap name=best   ssid="C net" bssid=00:00:00:00:00:03 channel=9 signal=30 noise=6
adhoc name=cell ssid=D bssid=02:00:00:00:00:04 channel=9 signal=50
)");
    EXPECT_EQ(4, LinkState());
    EXPECT_EQ(0, Byte(oid::kSignalLevel));
    Wait(1000);
    ASSERT_EQ(1, LinkState());
    EXPECT_EQ("00:00:00:00:00:03", Bssid());
    EXPECT_EQ(9, RecordWord(record::kCurrentChannel));
    Reply ssid = QueryRecord(record::kCurrentSsid);
    ASSERT_EQ(0u, ssid.status);
    EXPECT_EQ(38u, ssid.bytes);
    EXPECT_EQ(5, GetU16(ssid.data.data() + 4));
    EXPECT_EQ("C net", std::string(reinterpret_cast<const char*>(ssid.data.data() + 6), 5));
    EXPECT_EQ(30 * 13 / 46, Byte(oid::kSignalLevel));
    EXPECT_EQ((30 - 6) / 3, Byte(oid::kLinkQuality));
}

TEST_F(LinkTest, AJoinedCellMayReportAnyLinkStateWordAndRawBytes) {
    Load(R"(
card bind=*
ap name=odd ssid=A bssid=00:00:00:00:00:01 channel=1 signal=20 link-state=2 link-signal=200 link-quality=16
)");
    EXPECT_EQ(4, LinkState()) << "searching is the card's own word";
    EXPECT_EQ(0, Byte(oid::kSignalLevel));
    Wait(1000);
    EXPECT_EQ(LinkState::Connected, m_card->Status().link);
    EXPECT_EQ(2, LinkState());
    EXPECT_EQ(200, Byte(oid::kSignalLevel));
    EXPECT_EQ(16, Byte(oid::kLinkQuality));
}

TEST_F(LinkTest, WepMismatchKeepsSearchingUntilTheDefaultKeyMatches) {
    Load(R"(
card bind=* ssid=SECURE
ap name=secure ssid=SECURE bssid=00:00:00:00:00:01 channel=3 signal=30 wep=1122334455
)");
    Wait(5000);
    EXPECT_EQ(4, LinkState()) << "WEP off cannot join a privacy cell";

    SetItemByte(item::kSelectWepKey, 1);
    SetItem(item::kWepKeyBytes, "\x11\x22\x33\x44\x66");
    Set(oid::kWepMode, {2, 0});
    Commit();
    Wait(5000);
    EXPECT_EQ(4, LinkState()) << "wrong key bytes";

    SetItemByte(item::kSelectWepKey, 2);
    SetItem(item::kWepKeyBytes, "\x11\x22\x33\x44\x55");
    Commit();
    Wait(5000);
    EXPECT_EQ(4, LinkState()) << "right key, but not the default transmit key";

    SetItemByte(item::kDefaultTxKey, 2);
    Set(oid::kWepMode, {6, 0});
    Commit();
    Wait(5000);
    EXPECT_EQ(4, LinkState()) << "128-bit mode with a 64-bit cell";

    Set(oid::kWepMode, {2, 0});
    Commit();
    Wait(1000);
    EXPECT_EQ(1, LinkState());
}

TEST_F(LinkTest, AdHocJoinsOnlyACellOnTheConfiguredChannel) {
    Load(R"(
card bind=* network=0 channel=5 ssid=""
ap name=ap ssid=PARTY bssid=00:00:00:00:00:01 channel=3 signal=40
adhoc name=party ssid=PARTY bssid=02:00:00:00:00:02 channel=3 signal=20
)");
    Wait(3000);
    EXPECT_EQ(4, LinkState());
    SetItemByte(item::kChannel, 3);
    Commit();
    Wait(1000);
    ASSERT_EQ(1, LinkState());
    EXPECT_EQ("02:00:00:00:00:02", Bssid());
}

TEST_F(LinkTest, CountersGrowOnlyWhileConnected) {
    Load(R"(
card bind=* traffic-tx=1600 traffic-rx=3200 join-delay=2000
ap name=ap ssid=X bssid=00:00:00:00:00:01 channel=1 signal=30
at 12000 ap present=no
)");
    auto sums = [this] {
        Reply r = Query(oid::kTrafficCounters, 176);
        EXPECT_EQ(176u, r.bytes);
        const std::uint8_t* c = r.data.data();
        return std::make_pair(GetU32(c + 12) + GetU32(c + 16), GetU32(c + 52) + GetU32(c + 56));
    };
    Wait(2000);
    EXPECT_EQ(std::make_pair(0u, 0u), sums());
    Wait(5000);
    EXPECT_EQ(std::make_pair(8000u, 16000u), sums());
    Wait(20000); // the access point went away 5 s later
    EXPECT_EQ(4, LinkState());
    EXPECT_EQ(std::make_pair(16000u, 32000u), sums());
}

TEST_F(LinkTest, LinkFollowsCellsThatFadeMoveAndAppear) {
    Load(R"(
card bind=* lost-delay=2000 retry=1000
ap name=ap  ssid=X bssid=00:00:00:00:00:01 channel=1 signal=30
ap name=new ssid=X bssid=00:00:00:00:00:02 channel=4 signal=10 present=no
at 10000 ap signal=3
at 20000 ap signal=30 channel=6
at 40000 new present=yes
)");
    Wait(1000);
    ASSERT_EQ(1, LinkState());
    Wait(9000);
    EXPECT_EQ(5, LinkState()) << "faded below the card's sensitivity";
    Wait(2000);
    EXPECT_EQ(4, LinkState());
    Wait(9000); // t = 21000: back on channel 6
    EXPECT_EQ(1, LinkState());
    EXPECT_EQ(6, RecordWord(record::kCurrentChannel));

    CellChange toChannel11;
    toChannel11.channel = 11;
    m_world->Change("ap", toChannel11, m_clock->NowMs());
    EXPECT_EQ(5, LinkState()) << "a station loses an access point that changes channel";

    CellChange gone;
    gone.present = false;
    m_world->Change("ap", gone, m_clock->NowMs());
    Wait(19000); // t = 40000
    EXPECT_EQ(1, LinkState());
    EXPECT_EQ("00:00:00:00:00:02", Bssid());
}

TEST_F(LinkTest, SignalAndQualityFollowTheJoinedCell) {
    Load(R"(
card bind=*
ap name=ap ssid=X bssid=00:00:00:00:00:01 channel=1 signal=46 noise=10
)");
    Wait(1000);
    EXPECT_EQ(13, Byte(oid::kSignalLevel));
    EXPECT_EQ(12, Byte(oid::kLinkQuality));
    CellChange weaker;
    weaker.signal = 23;
    m_world->Change("ap", weaker, m_clock->NowMs());
    EXPECT_EQ(6, Byte(oid::kSignalLevel));
    EXPECT_EQ(4, Byte(oid::kLinkQuality));
}

TEST_F(LinkTest, RemovalInsertionAndSuspensionCutTheBinding) {
    Load(R"(
card bind=* ssid=X
ap name=ap ssid=X bssid=00:00:00:00:00:01 channel=1 signal=30
)");
    SetItem(item::kDesiredSsid, "Y");
    Commit();
    m_card->Suspend();
    EXPECT_FALSE(m_card->OpenSession());
    EXPECT_EQ(status::kAdapterNotReady, Query(oid::kLinkState, 2).status);
    m_card->Resume();
    EXPECT_EQ(status::kAdapterNotOpen, Query(oid::kLinkState, 2).status) << "binding from before the suspend";
    m_session = *m_card->OpenSession();
    EXPECT_EQ(4, LinkState());
    EXPECT_EQ("Y", m_card->Status().active.ssid) << "a resume keeps the configuration";

    m_card->Remove();
    EXPECT_FALSE(m_card->OpenSession());
    EXPECT_EQ(status::kAdapterRemoved, Query(oid::kCurrentAddress, 6).status);
    m_card->Insert();
    EXPECT_EQ(status::kAdapterNotOpen, Query(oid::kCurrentAddress, 6).status);
    m_session = *m_card->OpenSession();
    EXPECT_EQ("X", m_card->Status().active.ssid) << "an inserted card starts from its power-on configuration";
    Wait(1000);
    EXPECT_EQ(1, LinkState());
}

} // namespace
} // namespace simcard_test
