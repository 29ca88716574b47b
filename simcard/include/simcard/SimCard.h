// One simulated card: what its driver and firmware answer to each request, its link to the radio world,
// its power (present, removed, suspended), armed faults and the trace of every request. Thread-safe:
// any number of threads may make requests at once; each is answered whole, one after the other.
#pragma once
#include "simcard/CardConfig.h"
#include "simcard/CardDefinition.h"
#include "simcard/Clock.h"
#include "simcard/FaultRules.h"
#include "simcard/JoinRules.h"
#include "simcard/Ndis.h"
#include "simcard/RadioWorld.h"
#include "simcard/Trace.h"
#include "threads/Mutex.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace simcard {

struct RequestOutcome {
    std::uint32_t status = status::kSuccess;
    std::uint32_t bytesDone = 0;   // written (query) or read (set)
    std::uint32_t bytesNeeded = 0; // on a length failure: the length the request needs
};

// What a test can see of the card without making a request.
struct CardStatus {
    bool present = true;
    bool suspended = false;
    LinkState link = LinkState::Searching;
    std::optional<Cell> joined; // the cell as it stands now
    CardConfig active;
    CardConfig staged;
    std::uint64_t txBytes = 0;
    std::uint64_t rxBytes = 0;
    std::vector<Cell> scanResults;
};

class SimCard {
public:
    SimCard(CardDefinition definition, std::shared_ptr<RadioWorld> world, std::shared_ptr<CardClock> clock);
    SimCard(const SimCard&) = delete;
    SimCard& operator=(const SimCard&) = delete;

    const std::string& Binding() const { return m_definition.bind; }
    bool AnswersTo(const std::string& adapterName) const;

    // A binding to the card; nullopt while it is removed or suspended. Requests name the binding; one
    // made before a removal or a suspension is refused afterwards.
    std::optional<std::uint64_t> OpenSession();
    RequestOutcome Request(std::uint64_t session, RequestKind kind, std::uint32_t oid, void* buffer,
                           std::uint32_t length);

    void Remove();
    void Insert(); // power-on configuration, counters from zero, searching
    void Suspend();
    void Resume(); // configuration kept, link searching again

    // The id of the program's user-interface thread, which fault rules narrowed with thread=ui or
    // thread=monitor tell from every other thread; 0 (unknown) makes such rules match nothing.
    void SetUiThread(std::uint32_t threadId);

    void ArmFault(FaultRule rule);
    void ArmFaults(const std::vector<FaultRule>& rules);
    std::vector<FaultRule> UnfiredFaults() const;
    std::vector<ArmedFault> Faults() const;
    void ClearFaults();

    // The most recent requests, oldest first: at most TraceLimit() of them, so that a card that runs for days
    // keeps a bounded record (the sink sees every request).
    std::vector<TraceEntry> Trace() const;
    void ClearTrace();
    static constexpr std::size_t kDefaultTraceLimit = 4096;
    void SetTraceLimit(std::size_t entries);
    std::size_t TraceLimit() const;
    void SetTraceSink(TraceSink sink);

    CardStatus Status();
    RadioWorld& World() { return *m_world; }
    CardClock& Clock() { return *m_clock; }

private:
    // Time.
    void AdvanceTo(std::uint64_t now);
    std::optional<std::uint64_t> NextCardEvent() const;
    void RunDue(std::uint64_t t);
    void CheckLink(std::uint64_t t);
    void Attempt(std::uint64_t t);
    void Scan(std::uint64_t t);

    // Power.
    void PowerOn(std::uint64_t t, bool keepConfig);
    void TakeOff(LinkState state);
    void ApplyPowerRule(const FaultRule& rule, std::uint64_t t);

    // Requests.
    RequestOutcome Gate(std::uint64_t session) const;
    RequestOutcome Act(const std::optional<FaultRule>& fault, RequestKind kind, std::uint32_t oid,
                       std::uint8_t* buffer, std::uint32_t length, std::vector<std::uint8_t>& value);
    RequestOutcome Dispatch(RequestKind kind, std::uint32_t oid, std::uint8_t* buffer, std::uint32_t length,
                            std::vector<std::uint8_t>& value);
    RequestOutcome Query(std::uint32_t oid, std::uint8_t* buffer, std::uint32_t length);
    RequestOutcome QueryRecord(std::uint8_t* buffer, std::uint32_t length);
    RequestOutcome Set(std::uint32_t oid, const std::uint8_t* buffer, std::uint32_t length,
                       std::vector<std::uint8_t>& value);
    RequestOutcome SetItem(const std::uint8_t* buffer, std::uint32_t length,
                           std::vector<std::uint8_t>& value);
    RequestOutcome SetRecord(const std::uint8_t* buffer, std::uint32_t length,
                             std::vector<std::uint8_t>& value);
    void Commit(std::uint64_t t);
    std::optional<Cell> JoinedNow() const;

    const CardDefinition m_definition;
    const std::shared_ptr<RadioWorld> m_world;
    const std::shared_ptr<CardClock> m_clock;
    const Reception m_reception;

    mutable threads::Mutex m_mutex;
    bool m_present = true;
    bool m_suspended = false;
    std::uint64_t m_epoch = 1;

    CardConfig m_active;
    CardConfig m_staged;
    std::uint8_t m_keySlot = 1; // slot the next key bytes go to

    LinkState m_link = LinkState::Searching;
    std::optional<std::string> m_joinedName;
    std::uint8_t m_joinedChannel = 0;
    std::optional<std::uint64_t> m_nextLinkEvent;
    std::optional<std::uint64_t> m_nextScan;
    std::vector<Cell> m_scan;

    std::uint64_t m_lastMs = 0;
    std::uint64_t m_connectedMs = 0;

    FaultPlan m_faults;
    std::uint32_t m_uiThread = 0;
    std::deque<TraceEntry> m_trace;
    std::size_t m_traceLimit = kDefaultTraceLimit;
    std::uint64_t m_seq = 0;
    TraceSink m_sink;
};

} // namespace simcard
