#include "Runner.h"

#include "ExpectedFile.h"
#include "LiveRun.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <unistd.h>

namespace runner {
namespace {

RunResult UsageError(const std::string& error) {
    RunResult result;
    result.status = kExitUsage;
    result.error = error;
    return result;
}

// Answers and menu choices by id at the top of a script, before any other command, are queued before the
// program starts, so that a question the program asks while it starts up (before the first command could
// run) finds its answer. Queuing them cannot fail.
std::vector<Command> AnswersAhead(const std::vector<Command>& commands) {
    std::vector<Command> ahead;
    while (ahead.size() < commands.size() &&
           (commands[ahead.size()].verb == Command::Verb::Answer ||
            commands[ahead.size()].verb == Command::Verb::AnswerShell ||
            (commands[ahead.size()].verb == Command::Verb::MenuPick && commands[ahead.size()].text.empty())))
        ahead.push_back(commands[ahead.size()]);
    return ahead;
}

// Plays the commands from `first` until one fails. Once the program has ended, waits end at once and what
// needs the program fails, so the run ends with the program.
bool PlayAll(const std::vector<Command>& commands, std::size_t first, ScriptPlayer& player) {
    for (std::size_t i = first; i < commands.size(); ++i) {
        if (!player.Play(commands[i])) {
            for (std::size_t j = i + 1; j < commands.size(); ++j)
                player.Say("not run: line " + std::to_string(commands[j].line) + ": " + commands[j].source);
            return false;
        }
    }
    return true;
}

bool PlayInteractive(ScriptReader& reader, ScriptPlayer& player, ProgramHost& program, std::istream& in,
                     std::ostream& out, Transcript& transcript) {
    bool ok = true;
    std::string line;
    int number = 0;
    while (!program.Exited() && std::getline(in, line)) {
        ++number;
        Command command;
        bool empty = true;
        std::string error;
        if (!reader.ReadLine(line, "stdin", number, &command, &empty, &error)) {
            out << "error: " << error << std::endl;
            continue;
        }
        if (!empty)
            ok = player.Play(command) && ok;
        transcript.Flush();
    }
    return ok;
}

} // namespace

RunResult Run(const RunOptions& options, std::istream& in, std::ostream& out) {
    // Everything is read and checked before anything runs.
    std::string scriptText;
    if (!options.script.empty() && !ReadWholeFile(options.script, &scriptText))
        return UsageError(options.script + ": cannot be read");
    LiveRun live;
    std::string error;
    if (!live.Prepare(options, scriptText, &error))
        return UsageError(error);
    ReadResult script;
    if (!options.interactive) {
        script = live.Reader().Read(scriptText, options.script);
        if (!script.ok)
            return UsageError(script.error);
    }
    std::string expectedText;
    if (!options.expect.empty() && !options.update && !ReadWholeFile(options.expect, &expectedText))
        return UsageError(options.expect + ": cannot be read (run with --update to write it)");
    bool keepRequests = options.interactive;
    for (const Command& command : script.script.commands)
        keepRequests = keepRequests || command.verb == Command::Verb::DumpRequest;

    const std::vector<Command> ahead =
        options.interactive ? std::vector<Command>() : AnswersAhead(script.script.commands);
    if (options.interactive)
        live.SetEcho([&out](const std::string& line) { out << line << std::endl; });
    if (!live.Start(ahead, keepRequests, &error))
        return UsageError(error);
    Transcript& transcript = live.GetSession()->transcript;
    bool ok = options.interactive
                  ? PlayInteractive(live.Reader(), live.Player(), live.Program(), in, out, transcript)
                  : PlayAll(script.script.commands, ahead.size(), live.Player());
    ok = live.Finish(out) && ok;

    RunResult result;
    result.status = ok ? kExitOk : kExitFailed;
    result.transcript = transcript.Text();
    if (options.update) {
        if (!WriteWholeFile(options.expect, result.transcript)) {
            out << "wlanrun: " << options.expect << ": cannot be written\n";
            result.status = kExitFailed;
        } else {
            out << "wlanrun: wrote " << options.expect << "\n";
        }
    } else if (!options.expect.empty()) {
        const std::string diff =
            UnifiedDiff(SplitLines(expectedText), SplitLines(result.transcript), options.expect);
        if (!diff.empty()) {
            out << "wlanrun: the transcript differs from " << options.expect << "\n" << diff;
            result.status = kExitFailed;
        } else if (result.status != kExitOk) {
            out << result.transcript;
        }
    } else if (!options.interactive) {
        out << result.transcript;
    }
    return result;
}

namespace {
const char* s_earlyExitTool = "wlanrun";

void OnEarlyExit() {
    std::fprintf(stderr, "%s: the process was ended by exit() before the run was over; nothing was compared\n",
                 s_earlyExitTool);
    std::fflush(stderr);
    _exit(kExitFailed);
}
} // namespace

void FailEarlyExits(const char* tool) {
    s_earlyExitTool = tool;
    std::atexit(OnEarlyExit);
    std::at_quick_exit(OnEarlyExit);
}

} // namespace runner
