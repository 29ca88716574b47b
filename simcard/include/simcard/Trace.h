// The record of every request a card received, in order, and the comparison of a trace with a table
// of expected requests.
#pragma once
#include "simcard/Ndis.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace simcard {

struct TraceEntry {
    std::uint64_t seq = 0; // 1, 2, ... per card
    std::uint64_t timeMs = 0;
    std::uint32_t threadId = 0;
    std::string adapter; // the name the card is bound to
    RequestKind kind = RequestKind::Query;
    std::uint32_t oid = 0;
    std::optional<std::uint32_t> subId; // record id or item code inside the envelope
    std::uint32_t bytesIn = 0;          // buffer length the caller gave
    std::uint32_t bytesOut = 0;         // written (query) or read (set)
    std::uint32_t bytesNeeded = 0;
    std::uint32_t status = 0;
    std::vector<std::uint8_t> value; // set: the value carried (item value, record words, or the buffer);
                                     // query: the bytes answered
    std::string fault;               // the fault rule that acted on it, if any
};

using TraceSink = std::function<void(const TraceEntry&)>;

// "#3 t=1000 thread=2 dev=0007 set 0xFF020191 item=0x04050101 in=264 out=13 status=0x00000000 value=06"
std::string FormatTraceLine(const TraceEntry& entry);

// One row of an expected request table. Fields left empty are not compared.
struct ExpectedRequest {
    RequestKind kind = RequestKind::Query;
    std::uint32_t oid = 0;
    std::optional<std::uint32_t> subId;
    std::optional<std::uint32_t> status;
    std::optional<std::uint32_t> bytesOut;
    std::optional<std::string> valueHex; // upper-case hexadecimal of TraceEntry::value

    static ExpectedRequest Query(std::uint32_t oid, std::optional<std::uint32_t> subId = std::nullopt);
    static ExpectedRequest Set(std::uint32_t oid, std::optional<std::uint32_t> subId = std::nullopt,
                               std::optional<std::string> valueHex = std::nullopt);
    ExpectedRequest& WithStatus(std::uint32_t s);
    ExpectedRequest& WithBytesOut(std::uint32_t n);
};

std::string FormatExpected(const ExpectedRequest& row);

// Empty when the trace holds exactly the expected requests in order; otherwise a readable listing with
// one line per row: "   ok", "!! expected ... / got ...", "-- missing ...", "++ extra ...".
std::string DiffTrace(const std::vector<ExpectedRequest>& expected, const std::vector<TraceEntry>& actual);

} // namespace simcard
