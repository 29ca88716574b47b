// Plays a script's commands on the thread that runs it (a program thread of the clock), against the program
// on its user-interface thread: user actions through the headless window system, changes of the world
// through the simulated cards, waits on the one clock, checks and dumps into the transcript.
#pragma once
#include "ProgramHost.h"
#include "RunRecord.h"
#include "Script.h"
#include "Transcript.h"

#include <win32api.h>

#include <hostsim/Registry.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace runner {

class ScriptPlayer {
public:
    ScriptPlayer(Transcript& transcript, RunRecord& record, ProgramHost& program, std::uint64_t startMs);

    // Lets the program's threads take their first turn before the first command.
    void Begin();
    // `dump page` with positions, sizes, fonts, slider steps, list columns and controls without an id (the
    // window trace is on).
    void SetDetailedDumps(bool detailed) { m_detailedDumps = detailed; }
    // Plays one command; false stops the run (an expectation failed, a wait reached its limit, an action the
    // user could not do). A command that meets the program's end still counts as played.
    bool Play(const Command& command);
    // The transcript's time now.
    std::uint64_t Now() const;
    void Say(const std::string& text);

private:
    // Waits until done() holds, the program ends or the clock reaches deadline; true when done() held.
    bool WaitFor(const std::function<bool()>& done, std::uint64_t deadline);
    void Yield();
    bool Fail(const std::string& what);

    // User actions (UserActions.cpp).
    bool User(const Command& command);
    HWND Sheet() const;
    HWND Dialog() const;
    HWND DialogWith(int control, std::string* error) const;

    // The cards and the system around the program (WorldActions.cpp).
    bool Outside(const Command& command);
    // The registry and the driver file as the world changes them (SystemActions.cpp).
    bool System(const Command& command);
    // Faults of the cards and refusals of the registry: armed, and cleared once they fired (Faults.cpp).
    bool Faults(const Command& command);
    // `expect idle`: nothing but the monitor's link-state query, one a second (IdleCheck.cpp).
    bool ExpectIdle(const Command& command);

    // Conditions and dumps (Conditions.cpp).
    bool Holds(const Condition& condition, std::string* actual);
    void Dump(const Command& command);
    void DumpPage(const Command& command);
    void DumpSheet();
    std::string PageTitle(HWND sheet) const;

    Transcript& m_transcript;
    RunRecord& m_record;
    ProgramHost& m_program;
    std::uint64_t m_startMs;
    std::size_t m_boxCursor = 0;
    std::size_t m_requestCursor = 0;
    bool m_detailedDumps = false;
    std::optional<hostsim::RegistryContent> m_registryMark;
};

// Every armed card fault rule and registry refusal that never fired and need not be optional, one line
// each: what `fault clear` and the end of a run report.
std::vector<std::string> UnfiredFaults();

} // namespace runner
