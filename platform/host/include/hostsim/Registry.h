// Control and inspection of the registry stand-in for tests and the host runner: start from a fresh or a
// prepared machine, save what the program left, and watch every write as it happens.
//
// The text form is described in docs/registry-file.md. Loading is all or nothing: a text with an error
// leaves the registry as it was and explains itself as "source:line: what is wrong".
#pragma once
#include <cstdint>
#include <functional>
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

} // namespace hostsim
