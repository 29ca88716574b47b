#include "LiveRun.h"

#include "EventFormat.h"
#include "Sinks.h"

#include "driverlib/CardRack.h"

#include <hostsim/Registry.h>
#include <hostui/HostUi.h>

#include <fstream>
#include <sstream>

#ifndef WLAN_RESOURCE_SCRIPT
#define WLAN_RESOURCE_SCRIPT ""
#endif

namespace runner {

bool ReadWholeFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file);
}

LiveRun::~LiveRun() {
    if (m_connected)
        DisconnectSinks();
}

bool LiveRun::Prepare(const RunOptions& options, const std::string& scriptText, std::string* error) {
    m_options = options;
    const std::string rcPath = options.resources.empty() ? WLAN_RESOURCE_SCRIPT : options.resources;
    if (!m_catalog.Load(rcPath, error))
        return false;
    m_resources = hostui::LoadScriptResources(rcPath, error);
    if (!m_resources)
        return false;
    if (!ReadSetup(scriptText, options.script, &m_setup, error))
        return false;
    if (!m_machine.Prepare(options, m_setup, error))
        return false;
    m_reader = std::make_unique<ScriptReader>(m_catalog, m_machine.CellNames());
    m_traces = m_setup.traces;
    m_traces.insert(options.traces.begin(), options.traces.end());
    return true;
}

bool LiveRun::Start(const std::vector<Command>& ahead, bool keepRequests, std::string* error) {
    if (!m_machine.Apply(error))
        return false;
    hostui::SetResources(m_resources);
    m_session = std::make_shared<Session>();
    m_session->listener = m_listener;
    Transcript& transcript = m_session->transcript;
    if (m_echo)
        transcript.SetEcho(m_echo);
    transcript.Header("wlanrun " + (m_options.interactive ? std::string("interactive session")
                                                          : BaseName(m_options.script)));
    for (const std::string& line : m_machine.Describe())
        transcript.Header(line);
    if (!m_traces.empty()) {
        std::string kinds;
        for (const char* kind : kTraceKinds)
            if (m_traces.count(kind) != 0)
                kinds += (kinds.empty() ? "" : ", ") + std::string(kind);
        transcript.Header("traces: " + kinds);
    }
    transcript.Header(m_options.realTime ? "clock: real time" : "clock: virtual, from 0");
    transcript.Header(
        "threads: t1 plays the script, t2 is the program's user-interface thread, later ones in "
        "the order the program starts them");

    if (!m_options.realTime)
        m_virtualTime.emplace(0);
    m_session->startMs = hostsim::NowMs();
    m_machine.InstallCards();
    if (!m_machine.OpenOtherWindows(error))
        return false;
    ConnectSinks(m_session, m_traces, keepRequests);
    m_connected = true;
    // The script is another program's, run by an administrator: the registry refuses it nothing.
    hostsim::SetRegistryAdministratorThread(::GetCurrentThreadId());
    m_player = std::make_unique<ScriptPlayer>(transcript, m_session->record, m_program, m_session->startMs);
    m_player->SetDetailedDumps(m_traces.count("window") != 0);
    for (const Command& command : ahead)
        m_player->Play(command);
    if (!m_program.Start(error)) {
        DisconnectSinks();
        m_connected = false;
        return false;
    }
    driverlib::CardRack::Instance().SetUiThread(m_program.ThreadId());
    m_player->Begin();
    return true;
}

bool LiveRun::Finish(std::ostream& out) {
    bool ok = true;
    ScriptPlayer& player = *m_player;
    if (m_program.Exited())
        player.Say("the program ended with exit code " + std::to_string(m_program.ExitCode()));
    else
        player.Say("end of the script; the program still runs");
    for (const std::string& untaken : m_session->record.Untaken()) {
        player.Say("FAILED " + untaken);
        ok = false;
    }
    driverlib::CardRack::Instance().SetUiThread(0);
    for (const std::string& unfired : UnfiredFaults()) {
        player.Say("FAILED " + unfired);
        ok = false;
    }
    if (m_session->record.FailureCount() != 0)
        ok = false;
    m_session->transcript.Flush();
    DisconnectSinks();
    m_connected = false;
    std::string error;
    if (!m_options.saveRegistry.empty() && !hostsim::SaveRegistryFile(m_options.saveRegistry, &error)) {
        out << "wlanrun: " << error << "\n";
        ok = false;
    }
    if (!m_options.svg.empty() &&
        !WriteWholeFile(
            m_options.svg,
            m_session->timeline.Svg(m_session->Now(),
                                    "wlanrun " + (m_options.interactive ? std::string("interactive session")
                                                                        : BaseName(m_options.script))))) {
        out << "wlanrun: " << m_options.svg << ": cannot be written\n";
        ok = false;
    }
    // Program threads still alive stay frozen from here on, as a process's threads do when it ends.
    m_virtualTime.reset();
    return ok;
}

} // namespace runner
