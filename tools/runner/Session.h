// What the sinks of a run write into: the transcript, the record the conditions look back at, and the
// timeline. Shared with the sinks, so that a program thread that still runs after the run (in real time)
// writes into something that lives.
#pragma once
#include "RunRecord.h"
#include "Timeline.h"
#include "Transcript.h"

#include <hostsim/Clock.h>

#include <cstdint>

namespace runner {

struct Session {
    Transcript transcript;
    RunRecord record;
    Timeline timeline;
    std::uint64_t startMs = 0;
    std::uint64_t Now() const { return hostsim::NowMs() - startMs; }
};

} // namespace runner
