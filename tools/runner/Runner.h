// One run of wlanrun: read and check everything, set up the machine, start the program on its thread, play
// the script, and end with the transcript, the comparison with the expected one, the saved registry and
// the timeline.
#pragma once
#include "RunOptions.h"

#include <iosfwd>
#include <string>

namespace runner {

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct RunResult {
    int status = kExitUsage;
    std::string transcript;
    std::string error; // a usage or script error (status 2)
};

// `in` gives the commands of an interactive run; `out` gets the transcript (at the end, or as it happens in
// an interactive run), the difference with the expected file, and what --update did.
RunResult Run(const RunOptions& options, std::istream& in, std::ostream& out);

// The tools end with _exit once their run is over; the program they host runs in the same process, so an
// exit() or quick_exit() from it would end the tool early, with status 0 and nothing compared. After this
// call such an early end prints why on stderr and leaves with kExitFailed.
void FailEarlyExits(const char* tool);

} // namespace runner
