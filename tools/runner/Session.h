// What the sinks of a run write into: the transcript, the record the conditions look back at, and the
// timeline. Shared with the sinks, so that a program thread that still runs after the run (in real time)
// writes into something that lives.
#pragma once
#include "RunRecord.h"
#include "Timeline.h"
#include "Transcript.h"

#include <hostsim/Clock.h>
#include <hostsim/Registry.h>

#include <cstdint>
#include <memory>

namespace runner {

// What a driver of the run wants to see as it happens, besides the transcript (the soak's checks): called
// by the observers on the thread that acted, in the order things happened, outside the program's heap.
class RunListener {
public:
    virtual ~RunListener() = default;
    virtual void OnRequest(std::uint64_t /*ms*/, const simcard::TraceEntry& /*entry*/) {}
    virtual void OnUiEvent(std::uint64_t /*ms*/, const hostui::UiEvent& /*event*/) {}
    virtual void OnRegistryWrite(std::uint64_t /*ms*/, const hostsim::RegistryWrite& /*write*/) {}
};

struct Session {
    Transcript transcript;
    RunRecord record;
    Timeline timeline;
    std::uint64_t startMs = 0;
    std::shared_ptr<RunListener> listener;
    std::uint64_t Now() const { return hostsim::NowMs() - startMs; }
};

} // namespace runner
