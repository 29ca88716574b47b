#include "TraceFormat.h"

#include "EventFormat.h"
#include "ScriptWords.h"

#include <W32N50.h>

#include <cstddef>
#include <cstdio>

namespace runner {
namespace {

using driverlib::LibraryCall;
using driverlib::RequestFields;

std::string Hex(std::uint64_t value, int digits = 0) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string HandleText(std::uintptr_t handle) {
    return handle == reinterpret_cast<std::uintptr_t>(INVALID_HANDLE_VALUE) ? "INVALID_HANDLE_VALUE"
                                                                            : Hex(handle);
}

// The fields at their offsets in this build's record (a 64-bit build widens the buffer address).
std::string Fields(const RequestFields& f) {
    auto at = [](const char* name, std::size_t offset) {
        return std::string(name) + "@" + std::to_string(offset);
    };
    const char* kind = f.type == W32N_QUERY_INFORMATION ? " (query)"
                       : f.type == W32N_SET_INFORMATION ? " (set)"
                                                        : "";
    return "{" + at("type", offsetof(W32N_REQUEST, RequestType)) + " " + std::to_string(f.type) + kind +
           ", " + at("oid", offsetof(W32N_REQUEST, Oid)) + " " + Hex(f.oid, 8) + ", " +
           at("buffer", offsetof(W32N_REQUEST, InformationBuffer)) + (f.buffer ? " given" : " NULL") + ", " +
           at("length", offsetof(W32N_REQUEST, InformationBufferLength)) + " " + std::to_string(f.length) +
           ", " + at("written", offsetof(W32N_REQUEST, BytesWritten)) + " " + std::to_string(f.written) +
           ", " + at("needed", offsetof(W32N_REQUEST, BytesNeeded)) + " " + std::to_string(f.needed) + "}";
}

std::string Arguments(const LibraryCall& call) {
    return HandleText(call.handle) + ", " +
           (call.record ? "record " + Fields(call.before) : std::string("NULL")) + ", " +
           (call.overlapped ? "overlapped event " + Hex(call.event) : std::string("NULL")) + ", wait " +
           std::to_string(call.wait);
}

// Hexadecimal lines of 16 bytes with their offsets; a line equal to the one before is folded.
void HexLines(const std::vector<std::uint8_t>& bytes, std::vector<std::string>& lines) {
    std::string previous;
    bool folded = false;
    for (std::size_t at = 0; at < bytes.size(); at += 16) {
        std::string row;
        for (std::size_t i = at; i < at + 16 && i < bytes.size(); ++i) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
            row += (i == at ? "" : " ") + std::string(pair);
        }
        const bool last = at + 16 >= bytes.size();
        if (row == previous && !last) {
            folded = true;
            continue;
        }
        if (folded) {
            lines.push_back("      *");
            folded = false;
        }
        char offset[24];
        std::snprintf(offset, sizeof offset, "%04zX", at);
        lines.push_back("      " + std::string(offset) + "  " + row);
        previous = row;
    }
}

} // namespace

std::string FormatLibraryCall(const LibraryCall& call) {
    switch (call.function) {
    case LibraryCall::Function::IsWindowsNT:
        return "library W32N_IsWindowsNT() -> " + std::to_string(call.result);
    case LibraryCall::Function::GetAdapterRegistryInfo:
        return "library W32N_GetAdapterRegistryInfoBySubkeyIndex(" + std::to_string(call.index) +
               ", info) -> " + std::to_string(call.result) +
               (call.result == 0 ? ", device name " + Quote(call.name) : std::string());
    case LibraryCall::Function::OpenAdapter:
        return "library W32N_OpenAdapterA(" + Quote(call.name) + ") -> " + HandleText(call.handle);
    case LibraryCall::Function::CloseAdapter:
        return "library W32N_CloseAdapter(" + HandleText(call.handle) + ")";
    case LibraryCall::Function::MakeNdisRequest:
        if (call.phase == LibraryCall::Phase::Start)
            return "library W32N_MakeNdisRequest #" + std::to_string(call.request) + " (" + Arguments(call) +
                   ")";
        return "library W32N_MakeNdisRequest #" + std::to_string(call.request) + " -> " +
               Hex(call.result, 8) + (call.record ? ", record " + Fields(call.after) : std::string());
    }
    return "library ?";
}

std::vector<std::string> DumpRequest(const LibraryCall& call) {
    std::vector<std::string> lines;
    const bool returned = call.phase == LibraryCall::Phase::Return;
    lines.push_back("  request #" + std::to_string(call.request) + " t" + std::to_string(call.threadId) +
                    " W32N_MakeNdisRequest(" + HandleText(call.handle) + ", " +
                    (call.record ? "record" : "NULL") + ", " +
                    (call.overlapped ? "overlapped event " + Hex(call.event) : std::string("NULL")) +
                    ", wait " + std::to_string(call.wait) + ")" +
                    (returned ? " -> " + Hex(call.result, 8) : std::string(" has not returned")));
    if (!call.record)
        return lines;
    lines.push_back("    record before " + Fields(call.before));
    if (returned)
        lines.push_back("    record after  " + Fields(call.after));
    lines.push_back("    buffer before (" + std::to_string(call.bufferBefore.size()) + " bytes)");
    HexLines(call.bufferBefore, lines);
    if (returned) {
        lines.push_back("    buffer after (" + std::to_string(call.bufferAfter.size()) + " bytes)");
        HexLines(call.bufferAfter, lines);
    }
    return lines;
}

std::string FormatEventRecord(const hostsim::KernelRecord& record, const std::string& eventName) {
    using Kind = hostsim::KernelRecord::Kind;
    auto limit = [&] {
        return record.limitMs == INFINITE ? std::string("without limit")
                                          : "up to " + std::to_string(record.limitMs) + " ms";
    };
    switch (record.kind) {
    case Kind::SetEvent:
        return "event set " + eventName + (record.result ? "" : " -> FALSE");
    case Kind::ResetEvent:
        return "event reset " + eventName + (record.result ? "" : " -> FALSE");
    case Kind::WaitStart:
        return "event wait " + eventName + " " + limit();
    case Kind::WaitEnd: {
        const std::string result = record.result == WAIT_OBJECT_0  ? "signalled"
                                   : record.result == WAIT_TIMEOUT ? "timed out"
                                                                   : "failed";
        return "event wait " + eventName + " -> " + result + " after " + FormatDuration(record.waitedMs);
    }
    case Kind::ThreadExit:
        break;
    }
    return "";
}

std::string FormatThreadExit(const hostsim::KernelRecord& record) {
    return "thread t" + std::to_string(record.threadId) + " ends with exit code " +
           std::to_string(record.exitCode);
}

} // namespace runner
