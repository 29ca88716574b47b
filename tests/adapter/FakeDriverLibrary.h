// A recording stand-in for the five calls of the driver-access library, linked into the adapter tests in the
// library's place. It answers from tables the test fills, fails requests on demand, and records every call
// with the whole buffer the program handed over, so that tests compare request sequences byte for byte.
#pragma once
#include <win32api.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fakelib {

using Bytes = std::vector<std::uint8_t>;

// One call into the library, as a line: "open 0007", "registry 3", "close", "query FF010199 2",
// "set FF020191 264 [09 01 01 01 ...]". A buffer is shown up to its last non-zero byte (the rest is zero),
// so two lines are equal exactly when the buffers are.
std::vector<std::string> Calls();
void ClearCalls();

struct Answer {
    Bytes bytes;           // copied into the caller's buffer (at most its length)
    std::uint32_t written; // bytes-written the library reports
};

// Back to a 9x system with no answers, no failures and no hook.
void Reset();
void SetNt(bool bNt);
// What the registry-information call leaves at byte 520 of the area, and what it returns.
void SetDeviceName(const Bytes& name, std::uint32_t result = 0);
void SetOpenFails(bool bFails);

void AnswerQuery(std::uint32_t oid, const Bytes& bytes);
void AnswerQuery(std::uint32_t oid, const Answer& answer);
// Answers to card record reads, by the record id at offset 2 of the envelope.
void AnswerRecord(std::uint16_t recordId, const Answer& answer);

// The n-th request from now (1 = the next) fails with the status.
void FailRequest(int nth, std::uint32_t status = 0xC0000001u);
// Runs inside the next requests, while the program waits for the library.
void SetRequestHook(std::function<void()> hook);
// Stop recording (no allocation per call) or start again.
void SetRecording(bool bRecording);

// The most requests that were inside the library at the same time.
int MostRequestsAtOnce();
// Handles currently open.
int OpenHandles();

// Formatting helpers for expected lines.
std::string Query(std::uint32_t oid, std::uint32_t length, const Bytes& in = Bytes());
std::string Set(std::uint32_t oid, const Bytes& in);
std::string SetNull(std::uint32_t oid);
// The 264-byte item envelope and the 504-byte card record envelope, laid out from the wire format.
Bytes ItemEnvelope(std::uint32_t code, const Bytes& value);
Bytes RecordReadEnvelope(std::uint16_t recordId);
Bytes RecordWordEnvelope(std::uint16_t recordId, std::uint16_t value);

} // namespace fakelib
