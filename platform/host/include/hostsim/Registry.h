// Control and inspection of the registry stand-in for tests and the host runner: start from a fresh or a
// prepared machine, save what the program left, and watch every write as it happens.
//
// The text form is described in docs/registry-file.md. Loading is all or nothing: a text with an error
// leaves the registry as it was and explains itself as "source:line: what is wrong".
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hostsim {

// Back to a fresh machine: empty HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER trees, no open handles,
// no write observer.
void ResetRegistry();

// Replaces the whole registry with the content of a file or a text. Handles still open refer to keys of
// the old content, which count as deleted. `sourceName` names the text in error messages.
bool LoadRegistryFile(const std::string& path, std::string* error);
bool LoadRegistryText(const std::string& text, const std::string& sourceName, std::string* error);

bool SaveRegistryFile(const std::string& path, std::string* error);
std::string SaveRegistryText();

// The key at a full path ("HKEY_LOCAL_MACHINE\System\...") with everything below it, in the file's key
// and value lines, without the file header. Empty when no such key exists.
std::string DumpRegistryKey(const std::string& keyPath);

// One change the program made to the registry. keyPath is the full path of the key (with the spelling
// the keys were created with); valueName, type and data belong to value writes only.
struct RegistryWrite {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind;
    std::string keyPath;
    std::string valueName;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// Called on the writing thread, in the order the writes take effect, with the registry locked: the
// observer may read the registry (its thread holds the lock) but must not wait for another thread that
// uses it. An empty function removes the observer.
void SetRegistryWriteObserver(std::function<void(const RegistryWrite&)> observer);

// One line for a transcript, e.g. `set HKEY_LOCAL_MACHINE\...\0003 "DSChannel" = sz "11"`.
std::string FormatRegistryWrite(const RegistryWrite& write);

// One call that read the registry or opened or closed a key, with its result: what a trace of the
// program's registry use shows besides the writes. Failed calls are reported too.
struct RegistryRead {
    enum class Kind { Open, Create, Query, EnumValue, EnumKey, Close };
    Kind kind = Kind::Open;
    std::string keyPath;       // the key the call reached (for a failed open: the path as asked)
    std::uintptr_t handle = 0; // the handle opened (Open, Create) or given
    std::int32_t result = 0;   // the call's return code
    bool created = false;      // Create: a new key (otherwise an existing one was opened)
    std::string name;          // Query: the value asked; EnumValue, EnumKey: the name found
    std::uint32_t index = 0;   // EnumValue, EnumKey
    bool hasType = false;      // a type was reported
    std::uint32_t type = 0;
    bool hasData = false; // data was copied to the caller
    std::vector<std::uint8_t> data;
    std::uint32_t size = 0; // the data size reported
};

// Called like the write observer (on the calling thread, with the registry locked). Costs nothing while
// unset. An empty function removes the observer; ResetRegistry removes it too.
void SetRegistryReadObserver(std::function<void(const RegistryRead&)> observer);

// One line for a transcript, e.g. `query [HKEY_LOCAL_MACHINE\...\0007] "ComponentId" -> sz "PCI\\VEN"`.
std::string FormatRegistryRead(const RegistryRead& read);

// A refusal of the registry, as Windows refuses a user without administrator rights: a key that cannot be
// opened or created for writing, or a value that cannot be written. With a value name, RegSetValueExA of
// that value of the key fails; without one, RegOpenKeyExA asking for any right beyond reading, and
// RegCreateKeyExA and RegDeleteKeyA, of the key fail (creating or deleting a key needs the right to write
// its parent too). Opening for reading and every other call go on as usual.
struct RegistryRefusal {
    std::string keyPath; // full path, "HKEY_LOCAL_MACHINE\System\..." (names compare without letter case)
    std::optional<std::string> valueName;
    bool subkeys = false;    // every key below keyPath too
    std::uint32_t error = 5; // ERROR_ACCESS_DENIED
    std::uint32_t times = 0; // refusals at most; 0: every time
    bool optional = false;   // need not fire
    std::string text;        // how the rule was written, for reports
};

struct ArmedRegistryRefusal {
    RegistryRefusal rule;
    std::uint32_t fired = 0;
};

// Rules are consulted in the order they were armed; the first that matches refuses. ResetRegistry
// disarms them all.
void ArmRegistryRefusal(RegistryRefusal rule);
std::vector<ArmedRegistryRefusal> RegistryRefusals();
void ClearRegistryRefusals();
// Calls from this thread (another program run by an administrator: the host runner's script) are never
// refused; 0: every thread may be.
void SetRegistryAdministratorThread(std::uint32_t threadId);

// One call the registry refused: "open [HKEY_LOCAL_MACHINE\...] for writing" or "set [...] \"SSID\"",
// with the error and the rule that refused. Called like the write observer.
struct RegistryRefused {
    std::string what;
    std::uint32_t error = 0;
    std::string rule;
};
void SetRegistryRefusalObserver(std::function<void(const RegistryRefused&)> observer);

// Handles the program holds open now (keys opened or created and not closed).
std::size_t OpenRegistryHandleCount();

// Every key and value of the registry, for comparing two states: keys by their full path, values by the
// path, a backslash and the value name, both in the compared (upper-case) form. A key entry has no data.
struct RegistryEntry {
    bool key = false;
    std::string spelling; // the path and name as stored
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const RegistryEntry& other) const {
        return key == other.key && type == other.type && data == other.data;
    }
    bool operator!=(const RegistryEntry& other) const { return !(*this == other); }
};
using RegistryContent = std::map<std::string, RegistryEntry>;
RegistryContent RegistryContentNow();
// The content of a registry text (docs/registry-file.md); false with "source:line: what is wrong".
bool RegistryContentOfText(const std::string& text, const std::string& sourceName, RegistryContent* content,
                           std::string* error);

// A type as the registry file writes it ("sz", "dword", "binary", "type(9)", ...) to its number; false for
// anything else.
bool ParseRegistryTypeName(const std::string& name, std::uint32_t* type);

} // namespace hostsim
