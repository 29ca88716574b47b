// Both threads of the program at the driver at once, as after a hand-shake time-out: on real time, so that
// the thread sanitizer sees the real interleavings.
#include <atomic>
#include <thread>

#include "AdapterFixture.h"
#include "adapter/NdisRequests.h"

namespace {

const int kRequestsPerThread = 2000;

} // namespace

TEST_F(AdapterTest, TwoThreadsQueryingTogetherNeverShareTheLibraryOrAHalfOpenAdapter) {
    g_bCardPresent = 1;
    fakelib::AnswerQuery(OID_LINK_STATE, {0x01, 0x00});
    // Some requests fail along the way, so the adapter is closed and reopened under the other thread's feet.
    int nFailures = 0;
    for (int n = 97; n < 2 * kRequestsPerThread; n += 397, ++nFailures)
        fakelib::FailRequest(n);

    std::atomic<int> nSucceeded{0};
    std::atomic<bool> bStop{false};
    auto poll = [&] {
        for (int i = 0; i < kRequestsPerThread; ++i) {
            BYTE ab[2] = {0, 0};
            DWORD cb = 0;
            if (m_adapter.QueryOid(m_name, OID_LINK_STATE, ab, sizeof(ab), &cb) && cb == 2 && ab[0] == 1)
                ++nSucceeded;
        }
    };
    std::thread ui(poll);
    std::thread monitor(poll);
    // The exit path and the loss-of-card path close from outside while requests run.
    std::thread closer([&] {
        while (!bStop)
            m_adapter.CloseAdapter();
    });
    ui.join();
    monitor.join();
    bStop = true;
    closer.join();

    EXPECT_EQ(1, fakelib::MostRequestsAtOnce());
    EXPECT_EQ(0, g_nRequestsInFlight.load());
    int nOpens = 0, nCloses = 0, nRequests = 0, nBad = 0;
    for (const std::string& line : TakeCalls()) {
        nOpens += line.rfind("open", 0) == 0;
        nCloses += line == "close";
        nRequests += line.rfind("query", 0) == 0;
        nBad += line.find("BAD") != std::string::npos;
    }
    EXPECT_EQ(0, nBad);
    EXPECT_EQ(2 * kRequestsPerThread, nRequests);
    EXPECT_EQ(2 * kRequestsPerThread - nFailures, nSucceeded.load());
    EXPECT_EQ(nOpens - nCloses, fakelib::OpenHandles());
    EXPECT_LE(fakelib::OpenHandles(), 1);
}
