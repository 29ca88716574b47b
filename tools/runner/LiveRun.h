// A run as it goes: the machine set up from the options, the program started on its user-interface thread,
// commands played one at a time, and at the end what the run left undone (answers nobody took, faults that
// never fired, failures of the window system). wlanrun plays a script through it; the soak plays commands
// it makes up as it goes.
#pragma once
#include "Machine.h"
#include "ProgramHost.h"
#include "ResourceCatalog.h"
#include "RunOptions.h"
#include "ScriptPlayer.h"
#include "ScriptReader.h"
#include "Session.h"

#include <hostsim/Clock.h>
#include <hostui/Resources.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace runner {

class LiveRun {
public:
    LiveRun() = default;
    LiveRun(const LiveRun&) = delete;
    LiveRun& operator=(const LiveRun&) = delete;
    ~LiveRun();

    // Reads the resources, the script's setup lines and the files they name; nothing runs yet. False with
    // a usage error.
    bool Prepare(const RunOptions& options, const std::string& scriptText, std::string* error);
    ScriptReader& Reader() { return *m_reader; }

    // Sees what happens as it happens (set before Start).
    void SetListener(std::shared_ptr<RunListener> listener) { m_listener = std::move(listener); }
    // Every transcript line as it is written, from the first header line on (an interactive run).
    void SetEcho(std::function<void(const std::string&)> echo) { m_echo = std::move(echo); }
    // Sets the machine up, starts the clock and the program, and queues `ahead` (answers and menu choices
    // for questions the program asks while it starts). `keepRequests`: the library's requests are kept for
    // `dump request`. False with a usage error.
    bool Start(const std::vector<Command>& ahead, bool keepRequests, std::string* error);
    ScriptPlayer& Player() { return *m_player; }
    ProgramHost& Program() { return m_program; }
    const std::shared_ptr<Session>& GetSession() const { return m_session; }
    // The traces the run was asked for.
    const std::set<std::string>& Traces() const { return m_traces; }

    // Ends the run: says how the program stands, fails it for answers nobody took, faults that never fired
    // and window-system failures, disconnects the observers, saves the registry and writes the timeline as
    // the options ask. Virtual time ends here; program threads still alive stay frozen. False when the run
    // failed.
    bool Finish(std::ostream& out);

private:
    RunOptions m_options;
    ResourceCatalog m_catalog;
    ScriptSetup m_setup;
    Machine m_machine;
    std::shared_ptr<const hostui::ResourceSource> m_resources;
    std::unique_ptr<ScriptReader> m_reader;
    std::set<std::string> m_traces;
    std::shared_ptr<Session> m_session;
    ProgramHost m_program;
    std::optional<hostsim::VirtualTime> m_virtualTime;
    std::unique_ptr<ScriptPlayer> m_player;
    bool m_connected = false;
    std::function<void(const std::string&)> m_echo;
    std::shared_ptr<RunListener> m_listener;
};

bool ReadWholeFile(const std::string& path, std::string* text);
bool WriteWholeFile(const std::string& path, const std::string& text);

} // namespace runner
