#include "RunOptions.h"
#include "Script.h"

#include <hostsim/System.h>

namespace runner {

const char kUsage[] =
    "usage: wlanrun [options] SCRIPT\n"
    "       wlanrun [options] --interactive\n"
    "  --kind K            win95|win98|nt4|win2000|ntother|win32s (default win2000)\n"
    "  --registry FILE     start from this registry file (default: a fresh machine with the card\n"
    "                      installed for the kind)\n"
    "  --world FILE        cards and radio world (default: one card, one open access point)\n"
    "  --faults FILE       fault rules armed on every card\n"
    "  --real-time         run on the machine's clock instead of virtual time\n"
    "  --expect FILE       compare the transcript with FILE; print a diff and exit 1 on a difference\n"
    "  --update            with --expect: rewrite FILE with this run's transcript\n"
    "  --save-registry F   save the registry at the end of the run\n"
    "  --svg FILE          write a timeline of the run\n"
    "  --trace WHAT,...    also trace library, registry, events, window (added to setup trace)\n"
    "  --interactive       read commands from stdin, print the transcript as it happens\n"
    "  --resources FILE    resource script that control names come from (default: the program's)\n"
    "exit status: 0 ran to its end with every expectation met, 1 an expectation or the program failed,\n"
    "             2 a usage or script error (nothing ran)\n";

bool ParseCommandLine(int argc, const char* const* argv, RunOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                *error = "missing value after " + arg;
                return false;
            }
            *out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--real-time") {
            options->realTime = true;
        } else if (arg == "--interactive") {
            options->interactive = true;
        } else if (arg == "--update") {
            options->update = true;
        } else if (arg == "--kind") {
            if (!value(&text))
                return false;
            hostsim::WindowsKind kind;
            if (!hostsim::ParseWindowsKind(text, &kind)) {
                *error = "unknown Windows kind '" + text + "'";
                return false;
            }
            options->kind = text;
        } else if (arg == "--registry" || arg == "--world" || arg == "--faults") {
            if (!value(&text))
                return false;
            (arg == "--registry" ? options->registry
             : arg == "--world"  ? options->world
                                 : options->faults) = text;
        } else if (arg == "--expect") {
            if (!value(&options->expect))
                return false;
        } else if (arg == "--save-registry") {
            if (!value(&options->saveRegistry))
                return false;
        } else if (arg == "--trace") {
            if (!value(&text))
                return false;
            std::size_t at = 0;
            for (;;) {
                const std::size_t comma = text.find(',', at);
                const std::string kind = text.substr(at, comma == std::string::npos ? comma : comma - at);
                if (!IsTraceKind(kind)) {
                    *error = "--trace takes library, registry, events or window, not '" + kind + "'";
                    return false;
                }
                options->traces.insert(kind);
                if (comma == std::string::npos)
                    break;
                at = comma + 1;
            }
        } else if (arg == "--svg") {
            if (!value(&options->svg))
                return false;
        } else if (arg == "--resources") {
            if (!value(&options->resources))
                return false;
        } else if (!arg.empty() && arg[0] == '-') {
            *error = "unknown option " + arg;
            return false;
        } else if (options->script.empty()) {
            options->script = arg;
        } else {
            *error = "more than one script: " + options->script + " and " + arg;
            return false;
        }
    }
    if (options->script.empty() && !options->interactive) {
        *error = "no script given";
        return false;
    }
    if (!options->script.empty() && options->interactive) {
        *error = "--interactive reads its commands from stdin: give no script";
        return false;
    }
    if (options->update && options->expect.empty()) {
        *error = "--update needs --expect FILE";
        return false;
    }
    return true;
}

} // namespace runner
