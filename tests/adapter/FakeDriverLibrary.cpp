#include "FakeDriverLibrary.h"

#include <W32N50.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

namespace fakelib {
namespace {

// What Reset() sets back, under the lock.
struct Settings {
    std::vector<std::string> calls;
    bool bNt = false;
    Bytes deviceName;
    std::uint32_t registryResult = 0;
    bool bOpenFails = false;
    std::map<std::uint32_t, Answer> queries;
    std::map<std::uint16_t, Answer> records;
    std::vector<std::pair<int, std::uint32_t>> failures; // countdown, status
    std::function<void()> hook;
    bool bRecording = true;
    int nextHandle = 0x100;
    int openHandles = 0;
};

struct State : Settings {
    std::mutex lock;
    std::atomic<int> inside{0};
    std::atomic<int> mostInside{0};
};

State& S() {
    static State s;
    return s;
}

std::string Hex(const std::uint8_t* p, std::size_t n) {
    std::size_t shown = n;
    while (shown > 0 && p[shown - 1] == 0)
        --shown;
    std::string text = "[";
    for (std::size_t i = 0; i < shown; ++i) {
        char b[4];
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", p[i]);
        text += b;
    }
    return text + "]";
}

std::string Line(const char* kind, std::uint32_t oid, std::uint32_t length, const std::uint8_t* in) {
    char head[48];
    std::snprintf(head, sizeof head, "%s %08X %u", kind, oid, length);
    std::string line = head;
    if (in == nullptr)
        line += " null";
    else if (length)
        line += " " + Hex(in, length);
    return line;
}

void Record(const std::string& line) {
    if (S().bRecording)
        S().calls.push_back(line);
}

void PutLe(Bytes& b, std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

std::vector<std::string> Calls() {
    std::lock_guard<std::mutex> g(S().lock);
    return S().calls;
}

void ClearCalls() {
    std::lock_guard<std::mutex> g(S().lock);
    S().calls.clear();
}

void Reset() {
    std::lock_guard<std::mutex> g(S().lock);
    static_cast<Settings&>(S()) = Settings();
    S().mostInside = 0;
}

void SetNt(bool bNt) {
    std::lock_guard<std::mutex> g(S().lock);
    S().bNt = bNt;
}

void SetDeviceName(const Bytes& name, std::uint32_t result) {
    std::lock_guard<std::mutex> g(S().lock);
    S().deviceName = name;
    S().registryResult = result;
}

void SetOpenFails(bool bFails) {
    std::lock_guard<std::mutex> g(S().lock);
    S().bOpenFails = bFails;
}

void AnswerQuery(std::uint32_t oid, const Bytes& bytes) {
    AnswerQuery(oid, Answer{bytes, static_cast<std::uint32_t>(bytes.size())});
}

void AnswerQuery(std::uint32_t oid, const Answer& answer) {
    std::lock_guard<std::mutex> g(S().lock);
    S().queries[oid] = answer;
}

void AnswerRecord(std::uint16_t recordId, const Answer& answer) {
    std::lock_guard<std::mutex> g(S().lock);
    S().records[recordId] = answer;
}

void FailRequest(int nth, std::uint32_t status) {
    std::lock_guard<std::mutex> g(S().lock);
    S().failures.emplace_back(nth, status);
}

void SetRequestHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> g(S().lock);
    S().hook = std::move(hook);
}

void SetRecording(bool bRecording) {
    std::lock_guard<std::mutex> g(S().lock);
    S().bRecording = bRecording;
}

int MostRequestsAtOnce() {
    return S().mostInside;
}

int OpenHandles() {
    std::lock_guard<std::mutex> g(S().lock);
    return S().openHandles;
}

std::string Query(std::uint32_t oid, std::uint32_t length, const Bytes& in) {
    Bytes buffer(length, 0);
    std::copy_n(in.begin(), std::min<std::size_t>(in.size(), length), buffer.begin());
    return Line("query", oid, length, buffer.data());
}

std::string Set(std::uint32_t oid, const Bytes& in) {
    return Line("set", oid, static_cast<std::uint32_t>(in.size()), in.data());
}

std::string SetNull(std::uint32_t oid) {
    return Line("set", oid, 0, nullptr);
}

Bytes ItemEnvelope(std::uint32_t code, const Bytes& value) {
    Bytes b(264, 0);
    PutLe(b, 0, code, 4);
    PutLe(b, 8, static_cast<std::uint32_t>(value.size()), 4);
    std::copy(value.begin(), value.end(), b.begin() + 12);
    return b;
}

Bytes RecordReadEnvelope(std::uint16_t recordId) {
    Bytes b(504, 0);
    PutLe(b, 2, recordId, 2);
    return b;
}

Bytes RecordWordEnvelope(std::uint16_t recordId, std::uint16_t value) {
    Bytes b(504, 0);
    PutLe(b, 0, 2, 2);
    PutLe(b, 2, recordId, 2);
    PutLe(b, 4, value, 2);
    return b;
}

} // namespace fakelib

using namespace fakelib;

extern "C" {

BOOL WINAPI W32N_IsWindowsNT(void) {
    std::lock_guard<std::mutex> g(S().lock);
    return S().bNt ? TRUE : FALSE;
}

DWORD WINAPI W32N_GetAdapterRegistryInfoBySubkeyIndex(int nIndex, PVOID pInfo) {
    std::lock_guard<std::mutex> g(S().lock);
    Record("registry " + std::to_string(nIndex));
    auto* pb = static_cast<std::uint8_t*>(pInfo);
    std::memset(pb, 0xAA, W32N_REGISTRY_INFO_SIZE);
    std::copy_n(S().deviceName.begin(), std::min<std::size_t>(S().deviceName.size(), 260),
                pb + W32N_DEVICE_NAME_OFFSET);
    return S().registryResult;
}

HANDLE WINAPI W32N_OpenAdapterA(LPCSTR pszName) {
    std::lock_guard<std::mutex> g(S().lock);
    Record(std::string("open ") + pszName);
    if (S().bOpenFails)
        return INVALID_HANDLE_VALUE;
    ++S().openHandles;
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(S().nextHandle++));
}

DWORD WINAPI W32N_MakeNdisRequest(HANDLE hAdapter, PVOID pRecord, LPOVERLAPPED pOverlapped, DWORD dwWait) {
    State& s = S();
    const int inside = ++s.inside;
    int most = s.mostInside;
    while (inside > most && !s.mostInside.compare_exchange_weak(most, inside)) {
    }

    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> g(s.lock);
        hook = s.hook;
    }
    if (hook)
        hook();

    auto* pRequest = static_cast<W32N_REQUEST*>(pRecord);
    auto* pBuffer = static_cast<std::uint8_t*>(pRequest->InformationBuffer);
    const std::uint32_t length = pRequest->InformationBufferLength;
    const bool bQuery = pRequest->RequestType == W32N_QUERY_INFORMATION;
    std::lock_guard<std::mutex> g(s.lock);
    if (s.bRecording) {
        std::string line = Line(bQuery ? "query" : "set", pRequest->Oid, length, pBuffer);
        if (hAdapter == INVALID_HANDLE_VALUE || pOverlapped == nullptr || pOverlapped->hEvent == nullptr ||
            dwWait != 1)
            line += " BAD-CALL";
        if (pRequest->BytesWritten != 0 || pRequest->BytesNeeded != 0)
            line += " BAD-COUNTS";
        Record(line);
    }

    DWORD status = 0;
    for (auto& failure : s.failures)
        if (failure.first > 0 && --failure.first == 0)
            status = failure.second;
    if (status == 0 && bQuery) {
        const Answer* answer = nullptr;
        if (pRequest->Oid == 0xFF010181u && pBuffer != nullptr && length >= 4) {
            auto it = s.records.find(static_cast<std::uint16_t>(pBuffer[2] | (pBuffer[3] << 8)));
            if (it != s.records.end())
                answer = &it->second;
        } else {
            auto it = s.queries.find(pRequest->Oid);
            if (it != s.queries.end())
                answer = &it->second;
        }
        if (answer == nullptr) {
            status = 0xC00000BBu;
        } else {
            std::copy_n(answer->bytes.begin(), std::min<std::size_t>(answer->bytes.size(), length), pBuffer);
            pRequest->BytesWritten = answer->written;
        }
    }
    --s.inside;
    return status;
}

VOID WINAPI W32N_CloseAdapter(HANDLE hAdapter) {
    std::lock_guard<std::mutex> g(S().lock);
    Record("close");
    --S().openHandles;
}

} // extern "C"
