// The transcript's wording of the optional traces: calls of the driver-access library (and the full dump of
// one request), the hand-shake events, and thread exits.
#pragma once
#include "driverlib/LibraryCall.h"

#include <hostsim/KernelTrace.h>

#include <string>
#include <vector>

namespace runner {

// One line: `library W32N_OpenAdapterA("\Device\...") -> 0xA000004`; a request as it starts (arguments and
// the record's fields at their offsets) and as it returns (result and the fields the library answers in).
std::string FormatLibraryCall(const driverlib::LibraryCall& call);
// `dump request N`: the call, the record before and after, and the buffer's bytes before and after.
std::vector<std::string> DumpRequest(const driverlib::LibraryCall& call);

// `event wait m_hUiIdle up to 2000 ms`, `event wait m_hUiIdle -> timed out after 2.000s`, ...; empty for
// records of other kinds.
std::string FormatEventRecord(const hostsim::KernelRecord& record, const std::string& eventName);
// `thread t3 ends with exit code 0`.
std::string FormatThreadExit(const hostsim::KernelRecord& record);

} // namespace runner
