#include "Machine.h"

#include "CardInstaller.h"
#include "DriverFile.h"
#include "DriverFileSetting.h"
#include "EventFormat.h"
#include "driverlib/CardRack.h"

#include <hostsim/Registry.h>
#include <hostui/HostUi.h>
#include <win32api.h>

namespace runner {
namespace {

const char kDriverFileVersion[] = "5.10.3.7";

bool InstallerKind(hostsim::WindowsKind kind, cardinstall::WindowsKind* installerKind) {
    switch (kind) {
    case hostsim::WindowsKind::Win95:
        *installerKind = cardinstall::WindowsKind::Win95;
        return true;
    case hostsim::WindowsKind::Win98:
        *installerKind = cardinstall::WindowsKind::Win98;
        return true;
    case hostsim::WindowsKind::NT4:
        *installerKind = cardinstall::WindowsKind::NT4;
        return true;
    case hostsim::WindowsKind::Win2000:
        *installerKind = cardinstall::WindowsKind::Win2000;
        return true;
    default:
        return false;
    }
}

} // namespace

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Machine::Prepare(const RunOptions& options, const ScriptSetup& setup, std::string* error) {
    const std::string kind = options.kind.value_or(setup.kind.value_or("win2000"));
    if (!hostsim::ParseWindowsKind(kind, &m_kind)) {
        *error = "unknown Windows kind '" + kind + "'";
        return false;
    }
    m_registryFile = options.registry.value_or(setup.registry.value_or(""));
    m_worldFile = options.world.value_or(setup.world.value_or(""));
    m_faultsFile = options.faults.value_or(setup.faults.value_or(""));
    m_otherWindows = setup.windows;
    m_driverFile = setup.driverFile;
    if (m_worldFile.empty()) {
        m_world = simcard::DefaultWorld();
    } else {
        simcard::WorldLoad load = simcard::LoadWorldFile(m_worldFile);
        if (!load.ok) {
            *error = load.error;
            return false;
        }
        m_world = std::move(load.world);
    }
    if (!m_faultsFile.empty()) {
        simcard::FaultLoad load = simcard::LoadFaultFile(m_faultsFile);
        if (!load.ok) {
            *error = load.error;
            return false;
        }
        m_faults = std::move(load.rules);
    }
    return true;
}

std::set<std::string> Machine::CellNames() const {
    std::set<std::string> names;
    for (const simcard::Cell& cell : m_world.cells)
        names.insert(cell.name);
    return names;
}

bool Machine::Apply(std::string* error) {
    hostsim::ResetSystem();
    hostsim::SetWindowsKind(m_kind);
    hostsim::ResetRegistry();
    hostui::ResetUi();
    driverlib::CardRack::Instance().Clear();
    if (!Install(error))
        return false;
    return !m_driverFile || SetDriverFile(*m_driverFile, error);
}

bool Machine::Install(std::string* error) {
    if (!m_registryFile.empty()) {
        if (!hostsim::LoadRegistryFile(m_registryFile, error))
            return false;
        m_registryNote = "from " + BaseName(m_registryFile);
        return true;
    }
    cardinstall::InstallPlan plan;
    if (!InstallerKind(m_kind, &plan.kind)) {
        m_registryNote = "a fresh machine without the card's driver (nothing installs it on this kind)";
        return true;
    }
    const int index = plan.kind == cardinstall::WindowsKind::NT4 ? 1 : 7;
    plan.cards.push_back(cardinstall::CardEntry{index, 0, ""});
    const cardinstall::InstallResult result = cardinstall::Install(plan);
    if (result.error != ERROR_SUCCESS) {
        *error = "card installer: " + result.message;
        return false;
    }
    // The installation's driver file, with the version of tools/driverfile, the file the Windows build's
    // installation copies.
    if (!cardinstall::PlaceDriverFile(plan.kind, kDriverFileVersion, error))
        return false;
    m_registryNote = "a fresh machine with the card installed by the card installer at HKEY_LOCAL_MACHINE\\" +
                     cardinstall::AdapterKeyPath(plan.kind, index);
    return true;
}

void Machine::InstallCards() {
    driverlib::CardRack& rack = driverlib::CardRack::Instance();
    rack.InstallWorld(m_world);
    for (const auto& card : rack.Cards())
        card->ArmFaults(m_faults);
}

// Another program's main window as the window system holds it: top-level, hidden (as a tray program's frame
// is), with the given title. Nothing is ever sent to it but what any window gets.
bool Machine::OpenOtherWindows(std::string* error) {
    if (m_otherWindows.empty())
        return true;
    static const char kClassName[] = "wlanrun other program";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.lpszClassName = kClassName;
    WNDCLASSA known = {};
    if (!::GetClassInfoA(nullptr, kClassName, &known) && ::RegisterClassA(&windowClass) == 0) {
        *error = "the window class of other programs' windows cannot be registered";
        return false;
    }
    for (const std::string& title : m_otherWindows) {
        if (::CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                              nullptr, nullptr, nullptr) == nullptr) {
            *error = "the window " + Quote(title) + " of setup window cannot be opened";
            return false;
        }
    }
    return true;
}

std::vector<std::string> Machine::Describe() const {
    std::vector<std::string> lines;
    lines.push_back(std::string("windows: ") + hostsim::WindowsKindName(m_kind));
    lines.push_back("registry: " + m_registryNote);
    lines.push_back("world: " + (m_worldFile.empty()
                                     ? std::string("the default world (one card, one open access point)")
                                     : BaseName(m_worldFile)));
    lines.push_back("faults: " + (m_faultsFile.empty() ? std::string("none")
                                                       : BaseName(m_faultsFile) + " (" +
                                                             std::to_string(m_faults.size()) + " rules)"));
    if (m_driverFile)
        lines.push_back("driver file: " +
                        (m_driverFile->empty() ? std::string("none") : "version " + *m_driverFile));
    for (const std::string& title : m_otherWindows)
        lines.push_back("other program's window: " + Quote(title) +
                        " (top-level, hidden), open from the start");
    return lines;
}

} // namespace runner
