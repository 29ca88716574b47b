#include "Runner.h"

#include "EventFormat.h"
#include "ExpectedFile.h"
#include "Machine.h"
#include "ProgramHost.h"
#include "ResourceCatalog.h"
#include "RunRecord.h"
#include "ScriptPlayer.h"
#include "ScriptReader.h"
#include "Session.h"
#include "Sinks.h"

#include "driverlib/CardRack.h"

#include <hostsim/Clock.h>
#include <hostsim/Registry.h>
#include <hostsim/System.h>
#include <hostui/HostUi.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#ifndef WLAN_RESOURCE_SCRIPT
#define WLAN_RESOURCE_SCRIPT ""
#endif

namespace runner {
namespace {

bool ReadFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file);
}

RunResult UsageError(const std::string& error) {
    RunResult result;
    result.status = kExitUsage;
    result.error = error;
    return result;
}

// Answers and menu choices by id at the top of a script, before any other command, are queued before the
// program starts, so that a question the program asks while it starts up (before the first command could
// run) finds its answer. Queuing them cannot fail. Returns how many there are.
std::size_t QueueAnswersAhead(const std::vector<Command>& commands, ScriptPlayer& player) {
    std::size_t count = 0;
    while (count < commands.size() &&
           (commands[count].verb == Command::Verb::Answer ||
            commands[count].verb == Command::Verb::AnswerShell ||
            (commands[count].verb == Command::Verb::MenuPick && commands[count].text.empty())))
        player.Play(commands[count++]);
    return count;
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
    const std::string rcPath = options.resources.empty() ? WLAN_RESOURCE_SCRIPT : options.resources;
    ResourceCatalog catalog;
    std::string error;
    if (!catalog.Load(rcPath, &error))
        return UsageError(error);
    auto resources = hostui::LoadScriptResources(rcPath, &error);
    if (!resources)
        return UsageError(error);

    std::string scriptText;
    if (!options.script.empty() && !ReadFile(options.script, &scriptText))
        return UsageError(options.script + ": cannot be read");
    ScriptSetup setup;
    if (!ReadSetup(scriptText, options.script, &setup, &error))
        return UsageError(error);
    Machine machine;
    if (!machine.Prepare(options, setup, &error))
        return UsageError(error);
    ScriptReader reader(catalog, machine.CellNames());
    ReadResult script;
    if (!options.interactive) {
        script = reader.Read(scriptText, options.script);
        if (!script.ok)
            return UsageError(script.error);
    }
    std::string expectedText;
    if (!options.expect.empty() && !options.update && !ReadFile(options.expect, &expectedText))
        return UsageError(options.expect + ": cannot be read (run with --update to write it)");
    if (!machine.Apply(&error))
        return UsageError(error);
    hostui::SetResources(resources);
    std::set<std::string> traces = setup.traces;
    traces.insert(options.traces.begin(), options.traces.end());
    bool keepRequests = options.interactive;
    for (const Command& command : script.script.commands)
        keepRequests = keepRequests || command.verb == Command::Verb::DumpRequest;

    auto session = std::make_shared<Session>();
    Transcript& transcript = session->transcript;
    if (options.interactive)
        transcript.SetEcho([&out](const std::string& line) { out << line << std::endl; });
    transcript.Header("wlanrun " +
                      (options.interactive ? std::string("interactive session") : BaseName(options.script)));
    for (const std::string& line : machine.Describe())
        transcript.Header(line);
    if (!traces.empty()) {
        std::string kinds;
        for (const char* kind : kTraceKinds)
            if (traces.count(kind) != 0)
                kinds += (kinds.empty() ? "" : ", ") + std::string(kind);
        transcript.Header("traces: " + kinds);
    }
    transcript.Header(options.realTime ? "clock: real time" : "clock: virtual, from 0");
    transcript.Header(
        "threads: t1 plays the script, t2 is the program's user-interface thread, later ones in "
        "the order the program starts them");

    ProgramHost program;
    bool ok = true;
    {
        std::optional<hostsim::VirtualTime> virtualTime;
        if (!options.realTime)
            virtualTime.emplace(0);
        session->startMs = hostsim::NowMs();
        machine.InstallCards();
        if (!machine.OpenOtherWindows(&error))
            return UsageError(error);
        ConnectSinks(session, traces, keepRequests);
        // The script is another program's, run by an administrator: the registry refuses it nothing.
        hostsim::SetRegistryAdministratorThread(::GetCurrentThreadId());
        ScriptPlayer player(transcript, session->record, program, session->startMs);
        player.SetDetailedDumps(traces.count("window") != 0);
        const std::size_t ahead = options.interactive ? 0 : QueueAnswersAhead(script.script.commands, player);
        if (!program.Start(&error)) {
            DisconnectSinks();
            return UsageError(error);
        }
        driverlib::CardRack::Instance().SetUiThread(program.ThreadId());
        player.Begin();
        ok = options.interactive ? PlayInteractive(reader, player, program, in, out, transcript)
                                 : PlayAll(script.script.commands, ahead, player);
        if (program.Exited())
            player.Say("the program ended with exit code " + std::to_string(program.ExitCode()));
        else
            player.Say("end of the script; the program still runs");
        for (const std::string& untaken : session->record.Untaken()) {
            player.Say("FAILED " + untaken);
            ok = false;
        }
        driverlib::CardRack::Instance().SetUiThread(0);
        for (const std::string& unfired : UnfiredFaults()) {
            player.Say("FAILED " + unfired);
            ok = false;
        }
        if (session->record.FailureCount() != 0)
            ok = false;
        transcript.Flush();
        DisconnectSinks();
        if (!options.saveRegistry.empty() && !hostsim::SaveRegistryFile(options.saveRegistry, &error)) {
            out << "wlanrun: " << error << "\n";
            ok = false;
        }
        if (!options.svg.empty() &&
            !WriteFile(options.svg, session->timeline.Svg(
                                        session->Now(),
                                        "wlanrun " + (options.interactive ? std::string("interactive session")
                                                                          : BaseName(options.script))))) {
            out << "wlanrun: " << options.svg << ": cannot be written\n";
            ok = false;
        }
        // Program threads still alive stay frozen from here on, as a process's threads do when it ends.
    }

    RunResult result;
    result.status = ok ? kExitOk : kExitFailed;
    result.transcript = transcript.Text();
    if (options.update) {
        if (!WriteFile(options.expect, result.transcript)) {
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

} // namespace runner
