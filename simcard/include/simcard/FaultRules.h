// Faults armed on a card: which requests a rule catches, what it does, and whether it ever fired. The
// text form is described in docs/fault-rules.md.
#pragma once
#include "simcard/Ndis.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simcard {

// Pass: the request is answered as usual (a rule that only delays it). Answer: the card answers with the
// rule's bytes and byte count instead of its own. Mute: the driver never completes the request, as a mute
// card never completes any (status 0x00000102, nothing written or staged).
enum class FaultAction { Fail, Short, Remove, Insert, Suspend, Resume, Answer, Mute, Pass };

// Which of the program's threads made a request: its user-interface thread, or any other (the card
// monitor thread). The card learns the user-interface thread's id from whoever installs it.
enum class ThreadRole { Ui, Monitor };

struct FaultRule {
    // Which requests: every one unless narrowed. subId is the record id (OID 0xFF010181) or item code
    // (OID 0xFF020191) inside the envelope.
    std::optional<std::uint32_t> oid;
    std::optional<RequestKind> kind;
    std::optional<std::uint32_t> subId;
    std::optional<ThreadRole> thread;
    std::uint32_t skip = 0;  // matching requests let through before the first firing
    std::uint32_t times = 1; // firings at most; 0 = every matching request from then on
    // A timed rule fires once when the clock reaches this many ms after arming, with no request.
    std::optional<std::uint64_t> afterMs;
    // An optional rule need not fire: it is not reported as unfired.
    bool optional = false;

    FaultAction action = FaultAction::Fail;
    std::uint32_t status = status::kFailure; // Fail
    std::uint32_t shortBytes = 0;            // Short: a successful answer cut to this many bytes
    // Before acting, the request is held this long on the card's clock while other threads go on; the
    // answer is then the card's at the end of the wait.
    std::uint32_t delayMs = 0;
    std::vector<std::uint8_t> answer; // Answer: the bytes written into a query's buffer (as many as fit)
    std::optional<std::uint32_t> answerWritten; // Answer: the byte count reported (default: answer's size)

    std::string text; // how the rule was written, for reports
};

struct ArmedFault {
    FaultRule rule;
    std::uint64_t deadlineMs = 0; // timed rules: absolute clock time
    std::uint32_t seen = 0;       // matching requests so far
    std::uint32_t fired = 0;
};

class FaultPlan {
public:
    void Arm(FaultRule rule, std::uint64_t nowMs);
    void Clear() { m_armed.clear(); }

    // The first armed request rule that fires on this request (counting it as seen by every rule that
    // matches); nullopt when none fires.
    std::optional<FaultRule> OnRequest(RequestKind kind, std::uint32_t oid,
                                       std::optional<std::uint32_t> subId,
                                       std::optional<ThreadRole> thread = std::nullopt);

    // Timed rules due at or before nowMs, in deadline order, each marked fired.
    std::vector<FaultRule> TakeDue(std::uint64_t nowMs);
    std::optional<std::uint64_t> NextDeadline() const;

    std::vector<ArmedFault> Armed() const { return m_armed; }
    // Rules that never fired and were not marked optional.
    std::vector<FaultRule> Unfired() const;

private:
    std::vector<ArmedFault> m_armed;
};

struct FaultLoad {
    bool ok = false;
    std::string error; // "FILE:LINE: what is wrong"
    std::vector<FaultRule> rules;
};

FaultLoad ParseFaultRules(const std::string& text, const std::string& fileName);
FaultLoad LoadFaultFile(const std::string& path);

// The rule in the text form of a fault file.
std::string DescribeRule(const FaultRule& rule);
// "ui" or "monitor".
const char* ThreadRoleName(ThreadRole role);

// One line per rule that never fired, empty when all did: for test assertions.
std::string DescribeUnfired(const std::vector<FaultRule>& unfired);

} // namespace simcard
