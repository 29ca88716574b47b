// The machine a run starts on: the Windows kind, the registry (a file, or a fresh machine with the card's
// driver installed for the kind), the simulated cards with their radio world, and the armed faults. Every
// file is read and checked by Prepare before Apply changes anything.
#pragma once
#include "RunOptions.h"
#include "Script.h"

#include "simcard/FaultRules.h"
#include "simcard/WorldFile.h"

#include <hostsim/System.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace runner {

class Machine {
public:
    // Command-line settings win over the script's setup lines.
    bool Prepare(const RunOptions& options, const ScriptSetup& setup, std::string* error);
    // Names of the cells the world starts with.
    std::set<std::string> CellNames() const;
    // The stand-ins as a fresh machine of this kind; false (with the registry's message) when the registry
    // file does not load.
    bool Apply(std::string* error);
    // Cards on the stand-ins' clock, faults armed: to be called once the run's clock runs.
    void InstallCards();
    // The other programs' windows of `setup window`, opened on the calling thread before the program starts;
    // false (with a message) when the window system refuses one.
    bool OpenOtherWindows(std::string* error);
    // What the transcript header says about the machine.
    std::vector<std::string> Describe() const;

private:
    bool Install(std::string* error); // the registry and the card's installation of Apply

    hostsim::WindowsKind m_kind = hostsim::WindowsKind::Win2000;
    std::string m_registryFile;
    std::string m_worldFile;
    std::string m_faultsFile;
    simcard::WorldDefinition m_world;
    std::vector<simcard::FaultRule> m_faults;
    std::vector<std::string> m_otherWindows;
    std::optional<std::string> m_driverFile;
    std::string m_registryNote;
};

std::string BaseName(const std::string& path);

} // namespace runner
