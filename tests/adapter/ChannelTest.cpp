// The driver request channel: when the adapter is opened and closed, how a request reaches the library, what
// a failure does.
#include <thread>

#include "AdapterFixture.h"
#include "adapter/NdisRequests.h"

using fakelib::Query;
using fakelib::Set;
using fakelib::SetNull;

namespace {

const std::string kClose = "close";
const std::string kOpen = "open 0007";
const std::string kLinkStateQuery = Query(OID_LINK_STATE, 2);

} // namespace

class ChannelTest : public AdapterTest {
protected:
    ChannelTest() { fakelib::AnswerQuery(OID_LINK_STATE, {0x01, 0x00}); }

    BOOL QueryLinkState(DWORD* pcbWritten, WORD* pwState = nullptr) {
        BYTE ab[2] = {0, 0};
        BOOL bOk = m_adapter.QueryOid(m_name, OID_LINK_STATE, ab, sizeof(ab), pcbWritten);
        if (pwState != nullptr)
            *pwState = (WORD)(ab[0] | (ab[1] << 8));
        return bOk;
    }
};

TEST_F(ChannelTest, BeforeTheCardIsVerifiedEachQueryOpensAndClosesTheAdapterButASetLeavesItOpen) {
    DWORD cb = 0;
    WORD wState = 0;
    EXPECT_EQ(1, QueryLinkState(&cb, &wState));
    EXPECT_EQ(2u, cb);
    EXPECT_EQ(1, wState);
    EXPECT_EQ(1, QueryLinkState(&cb));
    EXPECT_EQ((Lines{kOpen, kLinkStateQuery, kClose, kOpen, kLinkStateQuery, kClose}), TakeCalls());
    EXPECT_EQ(0, fakelib::OpenHandles());

    BYTE bType = 1;
    EXPECT_EQ(1, m_adapter.SetOid(m_name, OID_NETWORK_TYPE, &bType, 1));
    EXPECT_EQ(1, QueryLinkState(&cb));
    EXPECT_EQ((Lines{kOpen, Set(OID_NETWORK_TYPE, {0x01}), kLinkStateQuery, kClose}), TakeCalls());
}

TEST_F(ChannelTest, WithTheCardPresentRequestsShareOneOpenAdapter) {
    g_bCardPresent = 1;
    DWORD cb = 0;
    EXPECT_EQ(1, QueryLinkState(&cb));
    EXPECT_EQ(1, QueryLinkState(&cb));
    EXPECT_EQ(1, m_adapter.SetOid(m_name, OID_COMMIT, nullptr, 0));
    EXPECT_EQ((Lines{kOpen, kLinkStateQuery, kLinkStateQuery, SetNull(OID_COMMIT)}), TakeCalls());
    EXPECT_EQ(1, fakelib::OpenHandles());
}

TEST_F(ChannelTest, AFailedRequestClosesTheAdapterLogsAndKeepsTheCallersCount) {
    g_bCardPresent = 1;
    DWORD cb = 0;
    ASSERT_EQ(1, QueryLinkState(&cb));
    fakelib::FailRequest(1);
    cb = 0xDEAD;
    EXPECT_EQ(0, QueryLinkState(&cb));
    EXPECT_EQ(0xDEADu, cb);
    EXPECT_EQ((Lines{kOpen, kLinkStateQuery, kLinkStateQuery, kClose}), TakeCalls());
    EXPECT_EQ((std::vector<std::string>{"ndis request faile\n"}), hostsim::DebugStrings());

    // The next request opens the adapter again; a failed set closes it too.
    EXPECT_EQ(1, QueryLinkState(&cb));
    fakelib::FailRequest(1);
    EXPECT_EQ(0, m_adapter.SetOid(m_name, OID_COMMIT, nullptr, 0));
    EXPECT_EQ((Lines{kOpen, kLinkStateQuery, SetNull(OID_COMMIT), kClose}), TakeCalls());
    EXPECT_EQ(2u, hostsim::DebugStrings().size());
    EXPECT_EQ(0, g_nRequestsInFlight.load());
}

TEST_F(ChannelTest, AnAdapterThatDoesNotOpenFailsTheRequestQuietly) {
    fakelib::SetOpenFails(true);
    DWORD cb = 0x77;
    EXPECT_EQ(0, QueryLinkState(&cb));
    EXPECT_EQ(0x77u, cb);
    EXPECT_EQ(0, m_adapter.SetOid(m_name, OID_COMMIT, nullptr, 0));
    EXPECT_EQ((Lines{kOpen, kOpen}), TakeCalls());
    EXPECT_TRUE(hostsim::DebugStrings().empty());
}

TEST_F(ChannelTest, CloseLeavesTheAdapterToARequestStillWithTheDriver) {
    g_bCardPresent = 1;
    BOOL bCloseResult = 0;
    LONG nInFlightSeen = 0;
    fakelib::SetRequestHook([&] {
        // The other thread closes while this request is with the library.
        std::thread other([&] {
            nInFlightSeen = g_nRequestsInFlight.load();
            bCloseResult = m_adapter.CloseAdapter();
        });
        other.join();
    });
    DWORD cb = 0;
    EXPECT_EQ(1, QueryLinkState(&cb));
    fakelib::SetRequestHook(nullptr);
    EXPECT_EQ(1, nInFlightSeen);
    EXPECT_EQ(1, bCloseResult);

    // Still open: the next request goes straight to the driver.
    EXPECT_EQ(1, QueryLinkState(&cb));
    EXPECT_EQ((Lines{kOpen, kLinkStateQuery, kLinkStateQuery}), TakeCalls());

    // With nothing in flight, close really closes, once.
    EXPECT_EQ(1, m_adapter.CloseAdapter());
    EXPECT_EQ(1, m_adapter.CloseAdapter());
    EXPECT_EQ((Lines{kClose}), TakeCalls());
    EXPECT_EQ(0, fakelib::OpenHandles());
}

TEST_F(ChannelTest, MakeRequestHandsTheRecordOverAsItIs) {
    g_bCardPresent = 1;
    ASSERT_EQ(1, m_adapter.OpenAdapter(m_name));
    BYTE ab[6] = {};
    W32N_REQUEST request = {};
    request.RequestType = 0;
    request.Oid = OID_BSSID;
    request.InformationBuffer = ab;
    request.InformationBufferLength = sizeof(ab);
    fakelib::AnswerQuery(OID_BSSID, {0x00, 0x60, 0xB3, 0x01, 0x02, 0x03});
    EXPECT_EQ(0u, m_adapter.MakeRequest(&request));
    EXPECT_EQ(6u, request.BytesWritten);
    EXPECT_EQ(0xB3, ab[2]);
    request.BytesWritten = 0;
    fakelib::FailRequest(1, 0xC0010018u);
    EXPECT_EQ(0xC0010018u, m_adapter.MakeRequest(&request));
    // MakeRequest alone reports, it does not close.
    EXPECT_EQ((Lines{kOpen, Query(OID_BSSID, 6), Query(OID_BSSID, 6, {0x00, 0x60, 0xB3, 0x01, 0x02, 0x03})}),
              TakeCalls());
    EXPECT_EQ(1u, hostsim::DebugStrings().size());
}

// The NT family opens the adapter by the device name the library keeps in its registry information.
class NtChannelTest : public ChannelTest {
protected:
    NtChannelTest() { fakelib::SetNt(true); }

    static fakelib::Bytes Name(const std::string& text) {
        fakelib::Bytes b(text.begin(), text.end());
        b.push_back(0);
        return b;
    }
};

TEST_F(NtChannelTest, OpensTheRawDevicePathAndNamesItForDos) {
    fakelib::SetDeviceName(Name("{4F2A}"));
    DWORD cb = 0;
    EXPECT_EQ(1, QueryLinkState(&cb));
    EXPECT_EQ((Lines{"registry 7", "open \\Device\\{4F2A}", kLinkStateQuery, kClose}), TakeCalls());
    auto records = hostsim::SystemRecords();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(hostsim::SystemRecord::Kind::DosDevice, records[0].kind);
    EXPECT_EQ(DDD_RAW_TARGET_PATH, records[0].value);
    EXPECT_NE(std::string::npos, records[0].text.find("{4F2A}"));
    EXPECT_NE(std::string::npos, records[0].text.find("\\Device\\{4F2A}"));
}

TEST_F(NtChannelTest, TheAdapterIndexIsTheNameReadAsADecimalNumber) {
    fakelib::SetDeviceName(Name("E1"));
    DWORD cb = 0;
    m_name.Set("0012");
    QueryLinkState(&cb);
    m_name.Set("abc");
    QueryLinkState(&cb);
    m_name.Set("3x");
    QueryLinkState(&cb);
    Lines registry;
    for (const std::string& line : TakeCalls())
        if (line.rfind("registry", 0) == 0)
            registry.push_back(line);
    EXPECT_EQ((Lines{"registry 12", "registry 0", "registry 3"}), registry);
}

TEST_F(NtChannelTest, ADeviceNameIsTakenOnlyWhenItEndsInsideTheAreaAndFitsThePath) {
    DWORD cb = 0;
    // "\Device\" and 119 characters fill the 128-byte path with its terminator.
    const std::string longest(119, 'N');
    fakelib::SetDeviceName(Name(longest));
    EXPECT_EQ(1, QueryLinkState(&cb));
    EXPECT_EQ((Lines{"registry 7", "open \\Device\\" + longest, kLinkStateQuery, kClose}), TakeCalls());

    const struct {
        const char* what;
        fakelib::Bytes name;
        std::uint32_t result;
    } refused[] = {
        {"one character too long", Name(longest + "N"), 0},
        {"runs past the area", fakelib::Bytes(260, 'x'), 0}, // 260 bytes without a terminator
        {"unreadable registry information", Name("E1"), 5},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        fakelib::SetDeviceName(r.name, r.result);
        EXPECT_EQ(0, QueryLinkState(&cb));
        EXPECT_EQ((Lines{"registry 7"}), TakeCalls());
    }
    EXPECT_EQ(1u, hostsim::SystemRecords().size()) << "only the one open named a device";
}
