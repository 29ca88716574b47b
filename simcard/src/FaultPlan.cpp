#include "simcard/FaultRules.h"

#include <algorithm>

namespace simcard {

void FaultPlan::Arm(FaultRule rule, std::uint64_t nowMs) {
    ArmedFault armed;
    armed.deadlineMs = rule.afterMs ? nowMs + *rule.afterMs : 0;
    if (rule.text.empty())
        rule.text = DescribeRule(rule);
    armed.rule = std::move(rule);
    m_armed.push_back(std::move(armed));
}

namespace {
bool Matches(const FaultRule& rule, RequestKind kind, std::uint32_t oid, std::optional<std::uint32_t> subId,
             std::optional<ThreadRole> thread) {
    if (rule.afterMs)
        return false;
    if (rule.oid && *rule.oid != oid)
        return false;
    if (rule.kind && *rule.kind != kind)
        return false;
    if (rule.subId && (!subId || *rule.subId != *subId))
        return false;
    if (rule.thread && (!thread || *rule.thread != *thread))
        return false;
    return true;
}
} // namespace

std::optional<FaultRule> FaultPlan::OnRequest(RequestKind kind, std::uint32_t oid,
                                              std::optional<std::uint32_t> subId,
                                              std::optional<ThreadRole> thread) {
    std::optional<FaultRule> firing;
    for (ArmedFault& armed : m_armed) {
        if (!Matches(armed.rule, kind, oid, subId, thread))
            continue;
        const std::uint32_t index = armed.seen++;
        const bool exhausted = armed.rule.times != 0 && armed.fired >= armed.rule.times;
        if (firing || index < armed.rule.skip || exhausted)
            continue;
        ++armed.fired;
        firing = armed.rule;
    }
    return firing;
}

std::vector<FaultRule> FaultPlan::TakeDue(std::uint64_t nowMs) {
    std::vector<ArmedFault*> due;
    for (ArmedFault& armed : m_armed)
        if (armed.rule.afterMs && armed.fired == 0 && armed.deadlineMs <= nowMs)
            due.push_back(&armed);
    std::stable_sort(due.begin(), due.end(),
                     [](const ArmedFault* a, const ArmedFault* b) { return a->deadlineMs < b->deadlineMs; });
    std::vector<FaultRule> rules;
    for (ArmedFault* armed : due) {
        armed->fired = 1;
        rules.push_back(armed->rule);
    }
    return rules;
}

std::optional<std::uint64_t> FaultPlan::NextDeadline() const {
    std::optional<std::uint64_t> next;
    for (const ArmedFault& armed : m_armed)
        if (armed.rule.afterMs && armed.fired == 0 && (!next || armed.deadlineMs < *next))
            next = armed.deadlineMs;
    return next;
}

std::vector<FaultRule> FaultPlan::Unfired() const {
    std::vector<FaultRule> rules;
    for (const ArmedFault& armed : m_armed)
        if (armed.fired == 0 && !armed.rule.optional)
            rules.push_back(armed.rule);
    return rules;
}

std::string DescribeUnfired(const std::vector<FaultRule>& unfired) {
    std::string text;
    for (const FaultRule& rule : unfired)
        text += "fault rule never fired: " + rule.text + "\n";
    return text;
}

} // namespace simcard
