// The observers a run connects to the stand-ins: always the window events, system records, registry writes
// and driver requests; and, for each trace switched on, the library calls, registry reads, hand-shake
// events, or the window trace with thread exits.
#pragma once
#include "Session.h"

#include <memory>
#include <set>
#include <string>

namespace runner {

// `keepRequests`: the library's requests are kept for `dump request` (even when `trace library` is off).
void ConnectSinks(const std::shared_ptr<Session>& session, const std::set<std::string>& traces,
                  bool keepRequests);
void DisconnectSinks();

} // namespace runner
