// Every request in the trace, a readable line per request, and the diff against an expected table.
#include "CardTestBase.h"
#include "threads/Mutex.h"
#include "threads/Thread.h"

namespace simcard_test {
namespace {

class TraceTest : public CardTestBase {
protected:
    void SetUp() override {
        Load("card bind=0007\nap name=ap ssid=X bssid=00:00:00:00:00:01 channel=1 signal=30\n");
    }
};

TEST_F(TraceTest, RecordsEachRequestInOrderWithThreadSizesAndStatus) {
    m_clock->SetThreadId(42);
    Query(oid::kLinkState, 2);
    SetItemByte(item::kChannel, 6);
    Query(oid::kBssid, 4);
    Commit();
    std::vector<TraceEntry> trace = m_card->Trace();
    ASSERT_EQ(4u, trace.size());
    EXPECT_EQ("#1 t=5000 thread=42 dev=0007 query 0xFF010199 in=2 out=2 status=0x00000000 value=0400",
              FormatTraceLine(trace[0]));
    EXPECT_EQ("#2 t=5000 thread=42 dev=0007 set 0xFF020191 item=0x04050101 in=264 out=13 status=0x00000000 "
              "value=06",
              FormatTraceLine(trace[1]));
    EXPECT_EQ("#3 t=5000 thread=42 dev=0007 query 0xFF010195 in=4 out=0 status=0xC0010016 needed=6",
              FormatTraceLine(trace[2]));
    EXPECT_EQ(RequestKind::Set, trace[3].kind);
    EXPECT_EQ(0u, trace[3].bytesIn);
}

TEST_F(TraceTest, KeepsOnlyTheMostRecentRequestsWhileTheSinkSeesEvery) {
    EXPECT_EQ(SimCard::kDefaultTraceLimit, m_card->TraceLimit());
    std::size_t sunk = 0;
    m_card->SetTraceSink([&sunk](const TraceEntry&) { ++sunk; });
    m_card->SetTraceLimit(3);
    for (int i = 0; i < 5; ++i)
        Query(oid::kLinkState, 2);
    std::vector<TraceEntry> trace = m_card->Trace();
    ASSERT_EQ(3u, trace.size());
    EXPECT_EQ(3u, trace.front().seq);
    EXPECT_EQ(5u, trace.back().seq);
    EXPECT_EQ(5u, sunk);
    m_card->SetTraceSink(nullptr);
}

TEST_F(TraceTest, DiffIsEmptyForAMatchAndShowsEveryDifference) {
    Query(oid::kLinkState, 2);
    SetItemByte(item::kChannel, 6);
    Commit();
    const std::vector<TraceEntry> trace = m_card->Trace();
    std::vector<ExpectedRequest> expected = {
        ExpectedRequest::Query(oid::kLinkState).WithBytesOut(2),
        ExpectedRequest::Set(oid::kConfigItem, item::kChannel, std::string("06")),
        ExpectedRequest::Set(oid::kCommit).WithStatus(0),
    };
    EXPECT_EQ("", DiffTrace(expected, trace));

    expected[1].valueHex = "07";
    expected.push_back(ExpectedRequest::Query(oid::kBssid));
    const std::string diff = DiffTrace(expected, trace);
    EXPECT_NE(std::string::npos, diff.find("!! expected set 0xFF020191 item=0x04050101 value=07\n"));
    EXPECT_NE(std::string::npos, diff.find("-- missing  query 0xFF010195\n"));
    expected.resize(1);
    EXPECT_NE(std::string::npos, DiffTrace(expected, trace).find("++ extra    #3"));
}

TEST_F(TraceTest, TwoThreadsAtOnceGetWholeAnswersAndOneTraceLineEach) {
    std::vector<TraceEntry> seen;
    threads::Mutex seenMutex;
    m_card->SetTraceSink([&](const TraceEntry& e) {
        threads::Lock lock(seenMutex);
        seen.push_back(e);
    });
    auto worker = [this](std::uint32_t oid, std::uint32_t size) {
        for (int i = 0; i < 200; ++i) {
            std::vector<std::uint8_t> buffer(size);
            RequestOutcome o = m_card->Request(m_session, RequestKind::Query, oid, buffer.data(), size);
            EXPECT_EQ(size, o.bytesDone);
        }
    };
    threads::Thread a([&] { worker(oid::kTrafficCounters, 176u); });
    threads::Thread b([&] { worker(oid::kCurrentAddress, 6u); });
    a.Join();
    b.Join();
    std::vector<TraceEntry> trace = m_card->Trace();
    ASSERT_EQ(400u, trace.size());
    EXPECT_EQ(400u, seen.size());
    for (std::size_t i = 0; i < trace.size(); ++i)
        EXPECT_EQ(i + 1, trace[i].seq);
}

} // namespace
} // namespace simcard_test
