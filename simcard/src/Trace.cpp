#include "simcard/Trace.h"

#include "simcard/Bytes.h"

#include <algorithm>
#include <cstdio>

namespace simcard {
namespace {

std::string Hex32(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", v);
    return text;
}

std::string SubIdText(std::uint32_t oid, std::uint32_t subId) {
    if (oid == oid::kConfigItem)
        return " item=" + Hex32(subId);
    char text[16];
    std::snprintf(text, sizeof text, " rec=0x%04X", subId);
    return text;
}

const char* KindText(RequestKind kind) {
    return kind == RequestKind::Query ? "query" : "set";
}

bool Same(const ExpectedRequest& row, const TraceEntry& entry) {
    if (row.kind != entry.kind || row.oid != entry.oid)
        return false;
    if (row.subId && row.subId != entry.subId)
        return false;
    if (row.status && *row.status != entry.status)
        return false;
    if (row.bytesOut && *row.bytesOut != entry.bytesOut)
        return false;
    if (row.valueHex && *row.valueHex != FormatHex(entry.value.data(), entry.value.size()))
        return false;
    return true;
}

} // namespace

std::string FormatTraceLine(const TraceEntry& e) {
    std::string line = "#" + std::to_string(e.seq) + " t=" + std::to_string(e.timeMs) +
                       " thread=" + std::to_string(e.threadId) + " dev=" + e.adapter + " " +
                       KindText(e.kind) + " " + Hex32(e.oid);
    if (e.subId)
        line += SubIdText(e.oid, *e.subId);
    line += " in=" + std::to_string(e.bytesIn) + " out=" + std::to_string(e.bytesOut) +
            " status=" + Hex32(e.status);
    if (e.bytesNeeded)
        line += " needed=" + std::to_string(e.bytesNeeded);
    if (!e.value.empty()) {
        const std::size_t shown = std::min<std::size_t>(e.value.size(), 40);
        line += " value=" + FormatHex(e.value.data(), shown) + (shown < e.value.size() ? "..." : "");
    }
    if (!e.fault.empty())
        line += " fault=[" + e.fault + "]";
    return line;
}

ExpectedRequest ExpectedRequest::Query(std::uint32_t oid, std::optional<std::uint32_t> subId) {
    ExpectedRequest row;
    row.kind = RequestKind::Query;
    row.oid = oid;
    row.subId = subId;
    return row;
}

ExpectedRequest ExpectedRequest::Set(std::uint32_t oid, std::optional<std::uint32_t> subId,
                                     std::optional<std::string> valueHex) {
    ExpectedRequest row;
    row.kind = RequestKind::Set;
    row.oid = oid;
    row.subId = subId;
    row.valueHex = std::move(valueHex);
    return row;
}

ExpectedRequest& ExpectedRequest::WithStatus(std::uint32_t s) {
    status = s;
    return *this;
}

ExpectedRequest& ExpectedRequest::WithBytesOut(std::uint32_t n) {
    bytesOut = n;
    return *this;
}

std::string FormatExpected(const ExpectedRequest& row) {
    std::string text = std::string(KindText(row.kind)) + " " + Hex32(row.oid);
    if (row.subId)
        text += SubIdText(row.oid, *row.subId);
    if (row.bytesOut)
        text += " out=" + std::to_string(*row.bytesOut);
    if (row.status)
        text += " status=" + Hex32(*row.status);
    if (row.valueHex)
        text += " value=" + *row.valueHex;
    return text;
}

std::string DiffTrace(const std::vector<ExpectedRequest>& expected, const std::vector<TraceEntry>& actual) {
    std::string listing;
    bool differs = false;
    const std::size_t rows = std::max(expected.size(), actual.size());
    for (std::size_t i = 0; i < rows; ++i) {
        if (i >= actual.size()) {
            listing += "-- missing  " + FormatExpected(expected[i]) + "\n";
            differs = true;
        } else if (i >= expected.size()) {
            listing += "++ extra    " + FormatTraceLine(actual[i]) + "\n";
            differs = true;
        } else if (!Same(expected[i], actual[i])) {
            listing += "!! expected " + FormatExpected(expected[i]) + "\n   got      " +
                       FormatTraceLine(actual[i]) + "\n";
            differs = true;
        } else {
            listing += "   ok       " + FormatTraceLine(actual[i]) + "\n";
        }
    }
    return differs ? listing : std::string();
}

} // namespace simcard
