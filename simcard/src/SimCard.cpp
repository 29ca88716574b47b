#include "simcard/SimCard.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace simcard {
namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::optional<std::uint32_t> SubIdOf(std::uint32_t oid, const std::uint8_t* buffer, std::uint32_t length) {
    if (oid == oid::kCardRecord && buffer && length >= 4)
        return GetU16(buffer + 2);
    if (oid == oid::kConfigItem && buffer && length >= 4)
        return GetU32(buffer);
    return std::nullopt;
}

} // namespace

SimCard::SimCard(CardDefinition definition, std::shared_ptr<RadioWorld> world,
                 std::shared_ptr<CardClock> clock)
    : m_definition(std::move(definition)), m_world(std::move(world)),
      m_clock(std::move(clock)), m_reception{m_definition.channelMask, m_definition.sensitivity} {
    m_lastMs = m_clock->NowMs();
    PowerOn(m_lastMs, false);
}

bool SimCard::AnswersTo(const std::string& adapterName) const {
    return m_definition.bind == "*" || SameNameIgnoringCase(m_definition.bind, adapterName);
}

// ---- time ----

std::optional<std::uint64_t> SimCard::NextCardEvent() const {
    std::optional<std::uint64_t> next = m_faults.NextDeadline();
    for (const auto& t : {m_nextLinkEvent, m_nextScan})
        if (t && (!next || *t < *next))
            next = t;
    return next;
}

void SimCard::AdvanceTo(std::uint64_t now) {
    now = std::max(now, m_lastMs);
    for (;;) {
        std::optional<std::uint64_t> next = NextCardEvent();
        if (auto w = m_world->NextEventAfter(m_lastMs))
            next = next ? std::min(*next, *w) : *w;
        if (!next || *next > now)
            break;
        const std::uint64_t t = std::max(*next, m_lastMs);
        if (m_link == LinkState::Connected)
            m_connectedMs += t - m_lastMs;
        m_lastMs = t;
        RunDue(t);
    }
    if (m_link == LinkState::Connected)
        m_connectedMs += now - m_lastMs;
    m_lastMs = now;
    CheckLink(now);
}

void SimCard::RunDue(std::uint64_t t) {
    for (const FaultRule& rule : m_faults.TakeDue(t))
        ApplyPowerRule(rule, t);
    CheckLink(t);
    if (m_nextLinkEvent && *m_nextLinkEvent <= t)
        Attempt(t);
    if (m_nextScan && *m_nextScan <= t)
        Scan(t);
}

void SimCard::CheckLink(std::uint64_t t) {
    if (m_link != LinkState::Connected)
        return;
    for (const Cell& cell : m_world->CellsAt(t))
        if (cell.name == *m_joinedName && cell.channel == m_joinedChannel && m_reception.Hears(cell) &&
            ConfigFits(cell, m_active))
            return;
    m_link = LinkState::Disconnected;
    m_joinedName.reset();
    m_nextScan.reset();
    m_nextLinkEvent = t + m_definition.timing.lostDelayMs;
}

// A join attempt is also a scan: the card lists what it heard on the way.
void SimCard::Attempt(std::uint64_t t) {
    const std::vector<Cell> cells = m_world->CellsAt(t);
    m_scan = HeardCells(cells, m_reception);
    if (auto cell = ChooseCell(cells, m_active, m_reception)) {
        m_link = LinkState::Connected;
        m_joinedName = cell->name;
        m_joinedChannel = cell->channel;
        m_nextLinkEvent.reset();
        m_nextScan = t + m_definition.timing.scanIntervalMs;
    } else {
        m_link = LinkState::Searching;
        m_nextLinkEvent = t + m_definition.timing.retryMs;
    }
}

void SimCard::Scan(std::uint64_t t) {
    m_scan = HeardCells(m_world->CellsAt(t), m_reception);
    m_nextScan = t + m_definition.timing.scanIntervalMs;
}

std::optional<Cell> SimCard::JoinedNow() const {
    if (m_link != LinkState::Connected)
        return std::nullopt;
    for (const Cell& cell : m_world->CellsAt(m_lastMs))
        if (cell.name == *m_joinedName)
            return cell;
    return std::nullopt;
}

// ---- power ----

void SimCard::PowerOn(std::uint64_t t, bool keepConfig) {
    if (!keepConfig) {
        m_active = m_staged = m_definition.powerOn;
        m_keySlot = 1;
        m_connectedMs = 0;
        m_scan.clear();
    }
    m_link = LinkState::Searching;
    m_joinedName.reset();
    m_nextScan.reset();
    m_nextLinkEvent = t + m_definition.timing.joinDelayMs;
}

void SimCard::TakeOff(LinkState state) {
    m_link = state;
    m_joinedName.reset();
    m_nextLinkEvent.reset();
    m_nextScan.reset();
    ++m_epoch;
}

void SimCard::ApplyPowerRule(const FaultRule& rule, std::uint64_t t) {
    switch (rule.action) {
    case FaultAction::Remove:
        if (m_present) {
            m_present = false;
            TakeOff(LinkState::NotAvailable);
        }
        break;
    case FaultAction::Insert:
        if (!m_present) {
            m_present = true;
            m_suspended = false;
            PowerOn(t, false);
        }
        break;
    case FaultAction::Suspend:
        if (m_present && !m_suspended) {
            m_suspended = true;
            TakeOff(LinkState::NotAvailable);
        }
        break;
    case FaultAction::Resume:
        if (m_present && m_suspended) {
            m_suspended = false;
            PowerOn(t, true);
        }
        break;
    case FaultAction::Fail:
    case FaultAction::Short:
    case FaultAction::Answer:
    case FaultAction::Mute:
    case FaultAction::Pass:
        break;
    }
}

namespace {
FaultRule PowerRule(FaultAction action) {
    FaultRule rule;
    rule.action = action;
    return rule;
}
} // namespace

void SimCard::Remove() {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    ApplyPowerRule(PowerRule(FaultAction::Remove), m_lastMs);
}

void SimCard::Insert() {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    ApplyPowerRule(PowerRule(FaultAction::Insert), m_lastMs);
}

void SimCard::Suspend() {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    ApplyPowerRule(PowerRule(FaultAction::Suspend), m_lastMs);
}

void SimCard::Resume() {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    ApplyPowerRule(PowerRule(FaultAction::Resume), m_lastMs);
}

// ---- requests ----

std::optional<std::uint64_t> SimCard::OpenSession() {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    if (!m_present || m_suspended)
        return std::nullopt;
    return m_epoch;
}

RequestOutcome SimCard::Gate(std::uint64_t session) const {
    RequestOutcome refused;
    if (!m_present)
        refused.status = status::kAdapterRemoved;
    else if (m_suspended)
        refused.status = status::kAdapterNotReady;
    else if (session != m_epoch)
        refused.status = status::kAdapterNotOpen;
    else if (!m_definition.answers)
        refused.status = status::kRequestTimedOut;
    return refused;
}

RequestOutcome SimCard::Request(std::uint64_t session, RequestKind kind, std::uint32_t oid, void* bufferIn,
                                std::uint32_t length) {
    auto* buffer = static_cast<std::uint8_t*>(bufferIn);
    if (!buffer)
        length = 0;
    const std::uint64_t now = m_clock->NowMs();
    TraceEntry entry;
    entry.threadId = m_clock->ThreadId();
    entry.adapter = m_definition.bind;
    entry.kind = kind;
    entry.oid = oid;
    entry.bytesIn = length;
    entry.subId = SubIdOf(oid, buffer, length);

    threads::Lock lock(m_mutex);
    AdvanceTo(now);
    RequestOutcome outcome = Gate(session);
    if (outcome.status == status::kSuccess) {
        std::optional<ThreadRole> role;
        if (m_uiThread != 0)
            role = entry.threadId == m_uiThread ? ThreadRole::Ui : ThreadRole::Monitor;
        const std::optional<FaultRule> fault = m_faults.OnRequest(kind, oid, entry.subId, role);
        if (fault)
            entry.fault = fault->text;
        if (fault && fault->delayMs != 0) {
            // A slow driver: the request stays with the card while everything else goes on, and is answered
            // as the card stands at the end of the wait (removed or suspended meanwhile: refused).
            lock.Unlock();
            m_clock->Pause(fault->delayMs);
            lock.Relock();
            AdvanceTo(m_clock->NowMs());
            outcome = Gate(session);
        }
        if (outcome.status == status::kSuccess)
            outcome = Act(fault, kind, oid, buffer, length, entry.value);
    }
    // Never more than the buffer holds, whatever count the answer reports.
    if (kind == RequestKind::Query && outcome.status == status::kSuccess)
        entry.value.assign(buffer, buffer + std::min(outcome.bytesDone, length));
    entry.seq = ++m_seq;
    entry.timeMs = m_lastMs;
    entry.bytesOut = outcome.bytesDone;
    entry.bytesNeeded = outcome.bytesNeeded;
    entry.status = outcome.status;
    m_trace.push_back(entry);
    while (m_trace.size() > m_traceLimit)
        m_trace.pop_front();
    TraceSink sink = m_sink;
    lock.Unlock();
    if (sink)
        sink(entry);
    return outcome;
}

RequestOutcome SimCard::Act(const std::optional<FaultRule>& fault, RequestKind kind, std::uint32_t oid,
                            std::uint8_t* buffer, std::uint32_t length, std::vector<std::uint8_t>& value) {
    RequestOutcome outcome;
    const FaultAction action = fault ? fault->action : FaultAction::Pass;
    switch (action) {
    case FaultAction::Fail:
        outcome.status = fault->status;
        return outcome;
    case FaultAction::Remove:
        ApplyPowerRule(*fault, m_lastMs);
        outcome.status = status::kAdapterRemoved;
        return outcome;
    case FaultAction::Suspend:
        ApplyPowerRule(*fault, m_lastMs);
        outcome.status = status::kAdapterNotReady;
        return outcome;
    case FaultAction::Mute:
        outcome.status = status::kRequestTimedOut;
        return outcome;
    case FaultAction::Answer: {
        // Any bytes and any count: a query's buffer takes as many of the bytes as it holds; a set stages
        // nothing. The count is reported as given, even beyond the buffer.
        if (kind == RequestKind::Query && length != 0)
            std::memcpy(buffer, fault->answer.data(), std::min<std::size_t>(fault->answer.size(), length));
        outcome.bytesDone = fault->answerWritten.value_or(static_cast<std::uint32_t>(fault->answer.size()));
        return outcome;
    }
    case FaultAction::Short: {
        std::vector<std::uint8_t> before;
        if (kind == RequestKind::Query)
            before.assign(buffer, buffer + length);
        outcome = Dispatch(kind, oid, buffer, length, value);
        if (kind == RequestKind::Query && outcome.status == status::kSuccess &&
            outcome.bytesDone > fault->shortBytes) {
            // The driver wrote only the first bytes: the rest of the buffer is as the caller left it.
            std::copy(before.begin() + fault->shortBytes, before.begin() + outcome.bytesDone,
                      buffer + fault->shortBytes);
            outcome.bytesDone = fault->shortBytes;
        }
        return outcome;
    }
    case FaultAction::Insert:
    case FaultAction::Resume:
    case FaultAction::Pass:
        break;
    }
    return Dispatch(kind, oid, buffer, length, value);
}

RequestOutcome SimCard::Dispatch(RequestKind kind, std::uint32_t oid, std::uint8_t* buffer,
                                 std::uint32_t length, std::vector<std::uint8_t>& value) {
    if (kind == RequestKind::Query)
        return Query(oid, buffer, length);
    return Set(oid, buffer, length, value);
}

void SimCard::Commit(std::uint64_t t) {
    m_active = m_staged;
    m_link = LinkState::Searching;
    m_joinedName.reset();
    m_nextScan.reset();
    m_nextLinkEvent = t + m_definition.timing.joinDelayMs;
}

// ---- faults, trace, status ----

void SimCard::SetUiThread(std::uint32_t threadId) {
    threads::Lock lock(m_mutex);
    m_uiThread = threadId;
}

void SimCard::ArmFault(FaultRule rule) {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    m_faults.Arm(std::move(rule), m_lastMs);
}

void SimCard::ArmFaults(const std::vector<FaultRule>& rules) {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    for (const FaultRule& rule : rules)
        m_faults.Arm(rule, m_lastMs);
}

std::vector<FaultRule> SimCard::UnfiredFaults() const {
    threads::Lock lock(m_mutex);
    return m_faults.Unfired();
}

std::vector<ArmedFault> SimCard::Faults() const {
    threads::Lock lock(m_mutex);
    return m_faults.Armed();
}

void SimCard::ClearFaults() {
    threads::Lock lock(m_mutex);
    m_faults.Clear();
}

std::vector<TraceEntry> SimCard::Trace() const {
    threads::Lock lock(m_mutex);
    return std::vector<TraceEntry>(m_trace.begin(), m_trace.end());
}

void SimCard::SetTraceLimit(std::size_t entries) {
    threads::Lock lock(m_mutex);
    m_traceLimit = entries == 0 ? 1 : entries;
    while (m_trace.size() > m_traceLimit)
        m_trace.pop_front();
}

std::size_t SimCard::TraceLimit() const {
    threads::Lock lock(m_mutex);
    return m_traceLimit;
}

void SimCard::ClearTrace() {
    threads::Lock lock(m_mutex);
    m_trace.clear();
}

void SimCard::SetTraceSink(TraceSink sink) {
    threads::Lock lock(m_mutex);
    m_sink = std::move(sink);
}

CardStatus SimCard::Status() {
    threads::Lock lock(m_mutex);
    AdvanceTo(m_clock->NowMs());
    CardStatus status;
    status.present = m_present;
    status.suspended = m_suspended;
    status.link = m_link;
    status.joined = JoinedNow();
    status.active = m_active;
    status.staged = m_staged;
    status.txBytes = m_connectedMs * m_definition.trafficTxPerS / 1000;
    status.rxBytes = m_connectedMs * m_definition.trafficRxPerS / 1000;
    status.scanResults = m_scan;
    return status;
}

} // namespace simcard
