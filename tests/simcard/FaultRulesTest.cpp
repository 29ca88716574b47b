// Faults fire on the requests they name, do what they say, and a rule that never fired is reported.
#include "CardTestBase.h"

namespace simcard_test {
namespace {

class FaultRulesTest : public CardTestBase {
protected:
    void SetUp() override {
        Load("card bind=*\nap name=ap ssid=X bssid=00:00:00:00:00:01 channel=1 signal=30\n");
    }

    void Arm(const std::string& rules) {
        FaultLoad load = ParseFaultRules(rules, "test.faults");
        ASSERT_TRUE(load.ok) << load.error;
        m_card->ArmFaults(load.rules);
    }
};

TEST_F(FaultRulesTest, TheNthRequestFailsWithTheChosenStatusOnce) {
    Arm("request 3 fail 0xC0000001\n");
    EXPECT_EQ(0u, Query(oid::kLinkState, 2).status);
    EXPECT_EQ(0u, Query(oid::kCurrentAddress, 6).status);
    EXPECT_EQ(0xC0000001u, Query(oid::kLinkState, 2).status);
    EXPECT_EQ(0u, Query(oid::kLinkState, 2).status);
    std::vector<ArmedFault> faults = m_card->Faults();
    ASSERT_EQ(1u, faults.size());
    EXPECT_EQ(1u, faults[0].fired);
    EXPECT_EQ(4u, faults[0].seen);
}

TEST_F(FaultRulesTest, AnOidRuleCatchesEveryMatchingRequestAndNothingElse) {
    Arm("oid 0xFF010181 query record=0xFD88 fail 0xC0010015\n"
        "oid 0xFF020191 set item=0x04050101 nth=2 fail 0xC0000001\n");
    EXPECT_EQ(status::kInvalidData, QueryRecord(record::kScanResults).status);
    EXPECT_EQ(status::kInvalidData, QueryRecord(record::kScanResults).status);
    EXPECT_EQ(0u, QueryRecord(record::kChannelMask).status);
    EXPECT_EQ(0u, SetItemByte(item::kChannel, 3).status);
    EXPECT_EQ(0u, SetItem(item::kDesiredSsid, "Y").status);
    EXPECT_EQ(0xC0000001u, SetItemByte(item::kChannel, 4).status);
    EXPECT_EQ(3, m_card->Status().staged.channel) << "a failed write stages nothing";
    EXPECT_EQ(0u, SetItemByte(item::kChannel, 4).status);
}

TEST_F(FaultRulesTest, AShortAnswerWritesOnlyItsBytesAndAMuteOneNothing) {
    Arm("oid 0x01010102 short 4\n"
        "oid 0xFF010199 times=1 mute\n"
        "oid 0xFF020191 set times=1 mute\n");
    std::uint8_t mac[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    RequestOutcome o = m_card->Request(m_session, RequestKind::Query, oid::kCurrentAddress, mac, 6);
    EXPECT_EQ(0u, o.status);
    EXPECT_EQ(4u, o.bytesDone);
    EXPECT_EQ("0060B35EEEEE", FormatHex(mac, 6));

    std::uint8_t state[2] = {0xEE, 0xEE};
    o = m_card->Request(m_session, RequestKind::Query, oid::kLinkState, state, 2);
    EXPECT_EQ(status::kRequestTimedOut, o.status);
    EXPECT_EQ(0u, o.bytesDone);
    EXPECT_EQ("EEEE", FormatHex(state, 2));
    EXPECT_EQ(status::kRequestTimedOut, SetItemByte(item::kChannel, 3).status);
    EXPECT_NE(3, m_card->Status().staged.channel) << "a request never completed stages nothing";
    EXPECT_EQ(0u, Query(oid::kLinkState, 2).status) << "only the one request";
}

TEST_F(FaultRulesTest, RemovalAndSuspensionByRequestAndByTime) {
    Arm("oid 0xFF010199 nth=2 remove\n"
        "at 5000 insert\n"
        "at 8000 suspend\n"
        "at 9000 resume\n");
    EXPECT_EQ(0u, Query(oid::kLinkState, 2).status);
    EXPECT_EQ(status::kAdapterRemoved, Query(oid::kLinkState, 2).status);
    EXPECT_EQ(status::kAdapterRemoved, Query(oid::kCurrentAddress, 6).status);
    EXPECT_FALSE(m_card->OpenSession());
    Wait(5000);
    ASSERT_TRUE(m_card->OpenSession());
    m_session = *m_card->OpenSession();
    EXPECT_EQ(0u, Query(oid::kCurrentAddress, 6).status);
    Wait(3000);
    EXPECT_EQ(status::kAdapterNotReady, Query(oid::kCurrentAddress, 6).status);
    Wait(1000);
    EXPECT_TRUE(m_card->Status().present && !m_card->Status().suspended);
}

TEST_F(FaultRulesTest, ARuleThatNeverFiredIsReported) {
    Arm("oid 0xFF020196 fail 0xC0000001\nrequest 100 fail 0xC0000001\n");
    Query(oid::kLinkState, 2);
    Query(oid::kFirmwareVersion, 4);
    std::vector<FaultRule> unfired = m_card->UnfiredFaults();
    ASSERT_EQ(1u, unfired.size());
    EXPECT_EQ("fault rule never fired: test.faults:2: request 100 fail 0xC0000001\n",
              DescribeUnfired(unfired));
    FaultRule built;
    built.oid = oid::kTxRate;
    built.kind = RequestKind::Set;
    built.status = 0xC0000002u;
    built.times = 0;
    m_card->ArmFault(built);
    EXPECT_EQ("oid 0xFF02019D set fail 0xC0000002", m_card->UnfiredFaults().back().text);
    m_card->ClearFaults();
}

TEST_F(FaultRulesTest, AnAnswerWritesWhatFitsAndReportsAnyCount) {
    Arm("oid 0xFF02019F times=1 answer 28 written 5\n"
        "oid 0xFF010199 nth=2 answer 070001\n"
        "oid 0xFF020198 set answer \"\" written 9\n");
    std::uint8_t signal[1] = {0xEE};
    RequestOutcome o = m_card->Request(m_session, RequestKind::Query, oid::kSignalLevel, signal, 1);
    EXPECT_EQ(0u, o.status);
    EXPECT_EQ(5u, o.bytesDone) << "the count as the rule says, beyond the one-byte buffer";
    EXPECT_EQ(0x28, signal[0]);
    EXPECT_EQ("28", FormatHex(m_card->Trace().back().value.data(), m_card->Trace().back().value.size()))
        << "the trace keeps no more than the buffer holds";
    EXPECT_EQ(4, LinkState());
    Reply r = Query(oid::kLinkState, 2);
    EXPECT_EQ(3u, r.bytes) << "three bytes given, two fit";
    EXPECT_EQ("0700", FormatHex(r.data.data(), 2));
    EXPECT_EQ(9u, Commit().bytes);
    EXPECT_EQ(LinkState::Searching, m_card->Status().link) << "an answered commit commits nothing";
}

TEST_F(FaultRulesTest, ADelayHoldsTheRequestOnTheClockAndAnswersAsTheCardStandsThen) {
    Arm("oid 0xFF010199 times=1 delay 3000\n"
        "oid 0x01010102 times=1 delay 2000 fail 0xC0000001\n"
        "at 4000 remove\n");
    const std::uint64_t start = m_clock->NowMs();
    EXPECT_EQ(1, LinkState()) << "joined during the wait";
    EXPECT_EQ(start + 3000, m_card->Trace().back().timeMs) << "traced when answered";
    EXPECT_EQ(status::kAdapterRemoved, Query(oid::kCurrentAddress, 6).status)
        << "the card was pulled during the wait: the request is refused, not failed by the rule";
    EXPECT_EQ(start + 5000, m_clock->NowMs());
}

TEST_F(FaultRulesTest, RulesNarrowedToAThreadMatchOnlyItsRequests) {
    Arm("oid 0xFF010199 thread=ui fail 0xC0000001\n"
        "oid 0xFF010199 thread=monitor times=1 fail 0xC0000002\n"
        "oid 0xFF020196 thread=monitor optional fail 0xC0000003\n");
    m_clock->SetThreadId(7);
    EXPECT_EQ(0u, Query(oid::kLinkState, 2).status) << "no thread is known as the user interface's yet";
    m_card->SetUiThread(7);
    EXPECT_EQ(0xC0000001u, Query(oid::kLinkState, 2).status);
    m_clock->SetThreadId(8);
    EXPECT_EQ(0xC0000002u, Query(oid::kLinkState, 2).status);
    EXPECT_EQ(0u, Query(oid::kLinkState, 2).status);
    EXPECT_EQ("", DescribeUnfired(m_card->UnfiredFaults())) << "the optional rule need not fire";
}

TEST(FaultFileTest, MistakesNameTheFileAndLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"request 0 fail 1", "f:1: request numbers start at 1"},
        {"\nrequest 2", "f:2: the rule has no action"},
        {"oid 0xFF010199 fail 0", "f:1: fail needs a non-zero status"},
        {"oid zz fail 1", "f:1: OID 'zz' is not a number"},
        {"oid 1 colour=red fail 1", "f:1: unknown field 'colour'"},
        {"at 100 fail 1", "f:1: a timed rule can only remove"},
        {"request 1 resume", "f:1: a request rule can only fail"},
        {"request 1 fail 1 extra", "f:1: unexpected 'extra'"},
        {"every 3 fail 1", "f:1: unknown rule 'every'"},
        {"oid 1 thread=gui fail 1", "f:1: thread is ui or monitor, not 'gui'"},
        {"oid 1 delay", "f:1: delay needs a time in ms"},
        {"oid 1 delay 0", "f:1: delay '0' is not a number of ms from 1 to 86400000"},
        {"oid 1 delay 5 delay 5", "f:1: one delay a rule"},
        {"oid 1 delay 5 resume", "f:1: a request rule can only fail"},
        {"oid 1 answer", "f:1: answer needs the bytes"},
        {"oid 1 answer 0x", "f:1: answer '0x' is not an even number of hexadecimal digits"},
        {"oid 1 answer 1", "f:1: answer '1' is not an even number of hexadecimal digits"},
        {"oid 1 answer 00 written", "f:1: written needs a byte count"},
        {"oid 1 answer 00 written x", "f:1: byte count 'x' is not a number"},
        {"at 100 delay 5 remove", "f:1: a timed rule can only remove"},
        {"at 100 optional answer 00", "f:1: a timed rule can only remove"},
    };
    for (const auto& c : cases) {
        FaultLoad load = ParseFaultRules(c.text, "f");
        EXPECT_FALSE(load.ok) << c.text;
        EXPECT_EQ(0u, load.rules.size());
        EXPECT_EQ(0u, load.error.rfind(c.error, 0)) << load.error;
    }
}

} // namespace
} // namespace simcard_test
