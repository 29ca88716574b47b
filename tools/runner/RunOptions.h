// What a run is asked to do, from wlanrun's command line.
#pragma once
#include <optional>
#include <set>
#include <string>

namespace runner {

struct RunOptions {
    std::string script;                  // empty with --interactive: commands come from stdin
    std::optional<std::string> kind;     // Windows kind name
    std::optional<std::string> registry; // registry file to start from
    std::optional<std::string> world;
    std::optional<std::string> faults;
    std::string resources; // the resource script control names come from
    bool realTime = false;
    bool interactive = false;
    bool update = false; // rewrite the expected file
    std::string expect;  // expected transcript file
    std::string saveRegistry;
    std::string svg;
    std::set<std::string> traces; // --trace: added to the script's `setup trace`
};

// False with a message (the caller prints it with the usage and exits with status 2).
bool ParseCommandLine(int argc, const char* const* argv, RunOptions* options, std::string* error);
extern const char kUsage[];

} // namespace runner
