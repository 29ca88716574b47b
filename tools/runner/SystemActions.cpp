// The machine as the world changes it while the program runs: registry values set and deleted by someone
// else (the script's own thread, through the registry calls, so the writes show as any other), and the
// card's driver file put in place or taken away.
#include "DriverFileSetting.h"
#include "EventFormat.h"
#include "ScriptPlayer.h"

#include <hostsim/Registry.h>
#include <hostwin/registry.h>

namespace runner {
namespace {

// The root and the path below it of a key as scripts name it (HKLM\..., HKEY_CURRENT_USER\...).
HKEY SplitRoot(const std::string& key, std::string* below) {
    const struct {
        const char* prefix;
        HKEY root;
    } roots[] = {{"HKLM\\", HKEY_LOCAL_MACHINE},
                 {"HKCU\\", HKEY_CURRENT_USER},
                 {"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE},
                 {"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER}};
    for (const auto& r : roots) {
        const std::string prefix = r.prefix;
        if (key.compare(0, prefix.size(), prefix) == 0) {
            *below = key.substr(prefix.size());
            return r.root;
        }
    }
    return nullptr;
}

// Deletes a key with everything below it, deepest first (the NT family deletes one empty key at a time).
LONG DeleteTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    LONG rc = ::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS)
        return rc;
    char name[512];
    while (::RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) {
        rc = DeleteTree(root, path + "\\" + name);
        if (rc != ERROR_SUCCESS)
            break;
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS ? ::RegDeleteKeyA(root, path.c_str()) : rc;
}

} // namespace

bool ScriptPlayer::System(const Command& command) {
    using Verb = Command::Verb;
    if (command.verb == Verb::DriverFile) {
        std::string error;
        return SetDriverFile(command.text, &error) ? true : Fail(error);
    }
    if (command.verb == Verb::RegistryMark) {
        m_registryMark = hostsim::RegistryContentNow();
        return true;
    }
    std::string path;
    HKEY root = SplitRoot(command.text, &path);
    if (root == nullptr)
        return Fail("no registry key " + command.text);
    if (command.verb == Verb::RegistrySet) {
        HKEY key = nullptr;
        LONG rc =
            ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (rc == ERROR_SUCCESS) {
            rc = ::RegSetValueExA(key, command.valueName->c_str(), 0, command.valueType,
                                  command.valueData.empty() ? nullptr : command.valueData.data(),
                                  static_cast<DWORD>(command.valueData.size()));
            ::RegCloseKey(key);
        }
        return rc == ERROR_SUCCESS ? true
                                   : Fail("registry set " + command.text + ": error " + std::to_string(rc));
    }
    LONG rc = ERROR_SUCCESS;
    if (command.valueName) {
        HKEY key = nullptr;
        rc = ::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
        if (rc == ERROR_SUCCESS) {
            rc = ::RegDeleteValueA(key, command.valueName->c_str());
            ::RegCloseKey(key);
        }
    } else {
        rc = DeleteTree(root, path);
    }
    if (rc == ERROR_FILE_NOT_FOUND)
        return Fail("registry delete: no " +
                    (command.valueName ? "value " + Quote(*command.valueName) + " in " : "key ") +
                    command.text);
    return rc == ERROR_SUCCESS ? true
                               : Fail("registry delete " + command.text + ": error " + std::to_string(rc));
}

} // namespace runner
