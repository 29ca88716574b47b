// Writes the registry entries that the card's driver installation leaves on each Windows kind: the
// adapter entry that discovery finds, the driver's parameters with their factory values and the
// parameter descriptions under "Ndi\params". Uses only the registry calls of <win32api.h>, so it fills
// the host stand-in registry or a real one alike.
#pragma once
#include <win32api.h>

#include <string>
#include <vector>

namespace cardinstall {

enum class WindowsKind { Win95, Win98, NT4, Win2000 };
bool ParseWindowsKind(const std::string& text, WindowsKind* kind); // "win95", "win98", "nt4", "win2000"
const char* WindowsKindName(WindowsKind kind);

struct CardEntry {
    // Windows 2000 and 9x: number of the network class subkey ("%04d"). NT 4: network card number, from 1.
    int index = 0;
    // NT 4: n of the service "RAZURn" (0: the same as the card number).
    int serviceInstance = 0;
    // Windows 2000: NetCfgInstanceId, the adapter's device name (empty: DefaultInstanceId(index)).
    std::string instanceId;
};

enum class DecoyKind {
    OtherAdapter, // another network adapter
    NearMiss,     // a hardware id and description one character off the card's
    NameCase,     // the card's match value under a name in another letter case
};

struct Decoy {
    DecoyKind kind = DecoyKind::OtherAdapter;
    int index = 0; // as CardEntry::index
};
bool ParseDecoyKind(const std::string& text, DecoyKind* kind); // "other", "near-miss", "name-case"

struct InstallPlan {
    WindowsKind kind = WindowsKind::Win2000;
    std::vector<CardEntry> cards;
    std::vector<Decoy> decoys;
    bool ndiParams = true; // Windows 2000 and 9x only; NT 4 has none
};

struct InstallResult {
    LONG error = ERROR_SUCCESS;
    std::string message; // what failed, when error is not ERROR_SUCCESS
};

InstallResult Install(const InstallPlan& plan);

std::string DefaultInstanceId(int index); // "{5E0C7A93-1260-3873-0000-0000000000NN}" style
std::string ServiceName(int instance);    // "RAZURn"
// Registry paths under HKEY_LOCAL_MACHINE.
std::string AdapterKeyPath(WindowsKind kind, int index); // class subkey, or NT 4 network card entry
std::string ParametersKeyPath(WindowsKind kind, const CardEntry& card);

} // namespace cardinstall
