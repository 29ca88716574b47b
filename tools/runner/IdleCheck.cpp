// `expect idle DURATION`: the program left alone for that long does nothing but what the card monitor does
// when idle, one link-state query a cycle, a cycle a second.
#include "ScriptPlayer.h"

#include "ScriptWords.h"

#include <hostsim/Clock.h>

#include <cstdio>

namespace runner {
namespace {

constexpr std::uint32_t kLinkStateOid = 0xFF010199;
constexpr std::uint64_t kCycleMs = 1000;
// A cycle's pause is 1000 ms; an idle cycle takes no time of its own on virtual time, a little in real time.
constexpr std::uint64_t kCycleSlackMs = 10;

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

} // namespace

bool ScriptPlayer::ExpectIdle(const Command& command) {
    const std::size_t first = m_record.RequestCount();
    const std::uint64_t started = Now();
    WaitFor([] { return false; }, hostsim::NowMs() + command.ms);
    if (m_program.Exited())
        return Fail("expect idle: the program ended");
    const std::vector<RecordedRequest> requests = m_record.Requests(first);
    std::string wrong;
    for (std::size_t i = 0; i < requests.size() && wrong.empty(); ++i) {
        const RecordedRequest& r = requests[i];
        if (r.oid != kLinkStateOid || r.kind != simcard::RequestKind::Query)
            wrong = std::string(r.kind == simcard::RequestKind::Query ? "query " : "set ") + Hex(r.oid) +
                    " on t" + std::to_string(r.threadId);
        else if (r.threadId != requests[0].threadId)
            wrong = "link-state queries on t" + std::to_string(requests[0].threadId) + " and t" +
                    std::to_string(r.threadId);
        else if (i != 0 && (r.timeMs - requests[i - 1].timeMs < kCycleMs ||
                            r.timeMs - requests[i - 1].timeMs > kCycleMs + kCycleSlackMs))
            wrong = "link-state queries " + std::to_string(r.timeMs - requests[i - 1].timeMs) + " ms apart";
    }
    const std::uint64_t cycles = command.ms / kCycleMs;
    if (wrong.empty() && (requests.size() + 1 < cycles || requests.size() > cycles + 1))
        wrong = std::to_string(requests.size()) + " link-state queries in " + FormatDuration(command.ms);
    if (!wrong.empty())
        return Fail("expect idle " + FormatDuration(command.ms) + " from " + FormatDuration(started) + ": " +
                    wrong);
    // Every request until now has been looked at: a later `request` condition looks only at what follows.
    m_requestCursor = first + requests.size();
    Say("ok idle: " + std::to_string(requests.size()) + " link-state queries, one a second");
    return true;
}

} // namespace runner
