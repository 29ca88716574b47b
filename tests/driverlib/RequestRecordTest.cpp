// The request record in and out of W32N_MakeNdisRequest, the trace behind it, and bad calls.
#include "DriverlibTestBase.h"

#include "simcard/Trace.h"

#include <thread>

namespace driverlib_test {
namespace {

using simcard::ExpectedRequest;
namespace oid = simcard::oid;

class RequestRecordTest : public DriverlibTestBase {
protected:
    void SetUp() override {
        DriverlibTestBase::SetUp();
        World("card bind=0007 firmware=1.08.03.00\nap name=ap ssid=X bssid=00:11:22:33:44:55 channel=4 "
              "signal=30\n");
        m_handle = W32N_OpenAdapterA("0007");
        ASSERT_NE(INVALID_HANDLE_VALUE, m_handle);
        m_card = driverlib::CardRack::Instance().CardFor("0007");
    }
    void TearDown() override {
        W32N_CloseAdapter(m_handle);
        DriverlibTestBase::TearDown();
    }
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::shared_ptr<simcard::SimCard> m_card;
};

TEST_F(RequestRecordTest, TheRecordCarriesBytesWrittenAndBytesNeededBack) {
    W32N_REQUEST record;
    std::memset(&record, 0, sizeof record);
    std::uint8_t firmware[4] = {};
    record.RequestType = W32N_QUERY_INFORMATION;
    record.Oid = oid::kFirmwareVersion;
    record.InformationBuffer = firmware;
    record.InformationBufferLength = 4;
    ASSERT_EQ(0u, W32N_MakeNdisRequest(m_handle, &record, nullptr, 1));
    EXPECT_EQ(4u, record.BytesWritten);
    EXPECT_EQ("03080100", simcard::FormatHex(firmware, 4));

    std::uint8_t bssid[3];
    record.Oid = oid::kBssid;
    record.InformationBuffer = bssid;
    record.InformationBufferLength = 3;
    EXPECT_EQ(simcard::status::kBufferTooShort, W32N_MakeNdisRequest(m_handle, &record, nullptr, 1));
    EXPECT_EQ(0u, record.BytesWritten);
    EXPECT_EQ(6u, record.BytesNeeded);
}

TEST_F(RequestRecordTest, TheOverlappedEventIsSetWhenTheRequestCompletes) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, overlapped.hEvent);
    W32N_REQUEST record{};
    record.RequestType = W32N_SET_INFORMATION;
    record.Oid = oid::kCommit;
    ASSERT_EQ(0u, W32N_MakeNdisRequest(m_handle, &record, &overlapped, 1));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(overlapped.hEvent, 0));
    EXPECT_EQ(0u, overlapped.Internal);
    CloseHandle(overlapped.hEvent);
}

TEST_F(RequestRecordTest, BadCallsGetAnErrorAndReachNoCard) {
    std::uint8_t buffer[8];
    W32N_REQUEST record{};
    record.RequestType = W32N_QUERY_INFORMATION;
    record.Oid = oid::kLinkState;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              W32N_MakeNdisRequest(m_handle, nullptr, nullptr, 1));
    record.InformationBufferLength = 2;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              W32N_MakeNdisRequest(m_handle, &record, nullptr, 1))
        << "a length without a buffer";
    record.InformationBuffer = buffer;
    record.RequestType = 7;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              W32N_MakeNdisRequest(m_handle, &record, nullptr, 1));
    record.RequestType = W32N_QUERY_INFORMATION;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE),
              W32N_MakeNdisRequest(INVALID_HANDLE_VALUE, &record, nullptr, 1));
    HANDLE other = W32N_OpenAdapterA("\\Device\\0007");
    W32N_CloseAdapter(other);
    W32N_CloseAdapter(other);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), W32N_MakeNdisRequest(other, &record, nullptr, 1));
    EXPECT_TRUE(m_card->Trace().empty());
}

TEST_F(RequestRecordTest, TheTraceShowsTheProgramsRequestsInOrder) {
    std::uint8_t link[2], envelope[504] = {}, item[264] = {};
    Request(m_handle, W32N_QUERY_INFORMATION, oid::kLinkState, link, 2);
    simcard::PutU16(envelope + 2, 0xFDC1);
    Request(m_handle, W32N_QUERY_INFORMATION, oid::kCardRecord, envelope, 504);
    simcard::PutU32(item, 0x04050101);
    simcard::PutU32(item + 8, 1);
    item[12] = 11;
    Request(m_handle, W32N_SET_INFORMATION, oid::kConfigItem, item, 264);
    Request(m_handle, W32N_SET_INFORMATION, oid::kCommit, nullptr, 0);

    const std::vector<ExpectedRequest> expected = {
        ExpectedRequest::Query(oid::kLinkState).WithBytesOut(2),
        ExpectedRequest::Query(oid::kCardRecord, 0xFDC1).WithBytesOut(6),
        ExpectedRequest::Set(oid::kConfigItem, 0x04050101, std::string("0B")),
        ExpectedRequest::Set(oid::kCommit).WithStatus(0),
    };
    const std::vector<simcard::TraceEntry> trace = m_card->Trace();
    EXPECT_EQ("", simcard::DiffTrace(expected, trace));
    ASSERT_EQ(4u, trace.size());
    EXPECT_EQ(504u, trace[1].bytesIn);
}

// What an observer of the library's calls sees: each call with its arguments and result, a request as it
// starts and as it returns with the record and the buffer before and after, numbered across the rack.
TEST_F(RequestRecordTest, AnObserverSeesEveryCallAndEachRequestBeforeAndAfter) {
    std::vector<driverlib::LibraryCall> calls;
    driverlib::CardRack::Instance().SetCallObserver(
        [&calls](const driverlib::LibraryCall& call) { calls.push_back(call); });
    std::uint8_t firmware[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(0u, Request(m_handle, W32N_QUERY_INFORMATION, oid::kFirmwareVersion, firmware, 4));
    EXPECT_NE(0u,
              Request(reinterpret_cast<HANDLE>(0x1234), W32N_QUERY_INFORMATION, oid::kLinkState, nullptr, 0));
    HANDLE second = W32N_OpenAdapterA("0008");
    W32N_CloseAdapter(m_handle);
    m_handle = W32N_OpenAdapterA("0007");
    driverlib::CardRack::Instance().SetCallObserver(nullptr);
    W32N_IsWindowsNT();

    ASSERT_EQ(7u, calls.size());
    using Function = driverlib::LibraryCall::Function;
    using Phase = driverlib::LibraryCall::Phase;
    EXPECT_EQ(Function::MakeNdisRequest, calls[0].function);
    EXPECT_EQ(Phase::Start, calls[0].phase);
    EXPECT_EQ(1u, calls[0].request);
    EXPECT_EQ(oid::kFirmwareVersion, calls[0].before.oid);
    EXPECT_EQ(4u, calls[0].before.length);
    EXPECT_EQ(0u, calls[0].before.written);
    EXPECT_EQ("EEEEEEEE", simcard::FormatHex(calls[0].bufferBefore.data(), 4));
    EXPECT_EQ(1u, calls[0].wait);
    EXPECT_EQ(Phase::Return, calls[1].phase);
    EXPECT_EQ(0u, calls[1].result);
    EXPECT_EQ(4u, calls[1].after.written);
    EXPECT_EQ("03080100", simcard::FormatHex(calls[1].bufferAfter.data(), 4));
    EXPECT_EQ(2u, calls[2].request) << "a call that reaches no card has its number too";
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_HANDLE), calls[3].result);
    EXPECT_EQ(Function::OpenAdapter, calls[4].function);
    EXPECT_EQ("0008", calls[4].name);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(INVALID_HANDLE_VALUE), calls[4].handle);
    EXPECT_EQ(INVALID_HANDLE_VALUE, second);
    EXPECT_EQ(Function::CloseAdapter, calls[5].function);
    EXPECT_EQ(Function::OpenAdapter, calls[6].function);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(m_handle), calls[6].handle);
}

TEST_F(RequestRecordTest, TwoThreadsMayMakeRequestsAtOnce) {
    auto worker = [this](DWORD requestOid, DWORD size) {
        for (int i = 0; i < 100; ++i) {
            std::vector<std::uint8_t> buffer(size);
            DWORD written = 0;
            EXPECT_EQ(0u,
                      Request(m_handle, W32N_QUERY_INFORMATION, requestOid, buffer.data(), size, &written));
            EXPECT_EQ(size, written);
        }
    };
    std::thread a(worker, oid::kTrafficCounters, 176u);
    std::thread b(worker, oid::kCurrentAddress, 6u);
    a.join();
    b.join();
    EXPECT_EQ(200u, m_card->Trace().size());
}

} // namespace
} // namespace driverlib_test
