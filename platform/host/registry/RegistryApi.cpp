// The registry functions of the Win32 API subset, over the process's one registry (RegistryState).
#include "hostwin/registry.h"

#include "KeyName.h"
#include "RegistryState.h"

#include "hostsim/HeapScope.h"
#include "hostsim/System.h"

#include <algorithm>
#include <cstring>
#include <vector>

using hostreg::RegistryKey;
using hostreg::RegistryState;
using hostsim::RegistryWrite;

namespace {

// Follows a relative path from `key`; ERROR_FILE_NOT_FOUND when a key on the way is missing.
LONG Walk(std::shared_ptr<RegistryKey> key, const std::vector<std::string>& parts,
          std::shared_ptr<RegistryKey>* found) {
    for (const std::string& part : parts) {
        key = key->FindSubkey(part);
        if (key == nullptr)
            return ERROR_FILE_NOT_FOUND;
    }
    *found = std::move(key);
    return ERROR_SUCCESS;
}

std::string ValueNameOf(LPCSTR name) {
    return name == nullptr ? std::string() : std::string(name);
}

// Windows 95 and 98 delete a key together with its subkeys; the NT family refuses a key that has any.
bool DeletesWholeSubtree() {
    const hostsim::WindowsKind kind = hostsim::GetWindowsKind();
    return kind == hostsim::WindowsKind::Win95 || kind == hostsim::WindowsKind::Win98;
}

// Reports a read to the observer, if any; `fill` completes the record only when somebody watches.
template <class Fill>
LONG Reported(const RegistryState& state, hostsim::RegistryRead::Kind kind, LONG rc, Fill fill) {
    if (state.WatchesReads()) {
        hostsim::RegistryRead read;
        read.kind = kind;
        read.result = static_cast<std::int32_t>(rc);
        fill(read);
        state.NotifyRead(read);
    }
    return rc;
}

// Opening or creating a key for writing needs the right to write it, and making a new key the right to
// write the key it goes under: ERROR_SUCCESS, or the error of the refusal (nothing is created then).
LONG RefuseCreate(RegistryState& state, std::shared_ptr<RegistryKey> key,
                  const std::vector<std::string>& parts) {
    std::size_t existing = 0;
    for (; existing < parts.size(); ++existing) {
        std::shared_ptr<RegistryKey> next = key->FindSubkey(parts[existing]);
        if (next == nullptr)
            break;
        key = std::move(next);
    }
    // The key itself, then, when keys are to be made, the one they go under and each of them.
    std::vector<std::string> paths;
    std::string path = key->Path();
    if (existing < parts.size())
        paths.push_back(path);
    for (std::size_t i = existing; i < parts.size(); ++i) {
        path += '\\' + parts[i];
        paths.push_back(path);
    }
    if (paths.empty())
        paths.push_back(path);
    std::rotate(paths.begin(), paths.end() - 1, paths.end());
    for (const std::string& candidate : paths)
        if (const hostsim::RegistryRefusal* rule = state.Refusals().RefuseKey(candidate))
            return state.Refused("create [" + path + "]", *rule);
    return ERROR_SUCCESS;
}

std::string Joined(const std::string& base, LPCSTR subKey) {
    return subKey == nullptr || *subKey == '\0' ? base : base + '\\' + subKey;
}

} // namespace

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    if (phkResult == nullptr)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    auto report = [&](LONG rc) {
        return Reported(state, hostsim::RegistryRead::Kind::Open, rc, [&](hostsim::RegistryRead& read) {
            read.keyPath =
                rc == ERROR_SUCCESS ? state.PathOf(*phkResult) : Joined(state.PathOf(hKey), lpSubKey);
            read.handle = reinterpret_cast<std::uintptr_t>(*phkResult);
        });
    };
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return report(rc);
    std::vector<std::string> parts;
    if (!hostreg::SplitKeyPath(lpSubKey, &parts))
        return report(ERROR_BAD_PATHNAME);
    if (LONG rc = Walk(key, parts, &key))
        return report(rc);
    if (hostreg::AsksToWrite(samDesired)) {
        if (const hostsim::RegistryRefusal* rule = state.Refusals().RefuseKey(key->Path()))
            return report(state.Refused("open [" + key->Path() + "] for writing", *rule));
    }
    *phkResult = state.OpenHandle(std::move(key));
    return report(ERROR_SUCCESS);
}

LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                            REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                            LPDWORD lpdwDisposition) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    if (phkResult == nullptr)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return rc;
    std::vector<std::string> parts;
    if (!hostreg::SplitKeyPath(lpSubKey, &parts))
        return ERROR_BAD_PATHNAME;
    if (hostreg::KeyDepth(*key) + parts.size() > hostreg::kMaxKeyDepth)
        return ERROR_INVALID_PARAMETER;
    if (LONG rc = RefuseCreate(state, key, parts))
        return rc;
    bool created = false;
    for (const std::string& part : parts) {
        key = key->AddSubkey(part, &created);
        if (created)
            state.Notify(RegistryWrite{RegistryWrite::Kind::CreateKey, key->Path(), {}, 0, {}});
    }
    if (lpdwDisposition != nullptr)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *phkResult = state.OpenHandle(std::move(key));
    return Reported(state, hostsim::RegistryRead::Kind::Create, ERROR_SUCCESS,
                    [&](hostsim::RegistryRead& read) {
                        read.keyPath = state.PathOf(*phkResult);
                        read.handle = reinterpret_cast<std::uintptr_t>(*phkResult);
                        read.created = created;
                    });
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    const std::string path = state.WatchesReads() ? state.PathOf(hKey) : std::string();
    return Reported(state, hostsim::RegistryRead::Kind::Close, state.CloseHandle(hKey),
                    [&](hostsim::RegistryRead& read) {
                        read.keyPath = path;
                        read.handle = reinterpret_cast<std::uintptr_t>(hKey);
                    });
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr))
        return ERROR_INVALID_PARAMETER;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    const hostreg::RegistryValue* value = nullptr;
    bool copied = false;
    auto report = [&](LONG rc) {
        return Reported(state, hostsim::RegistryRead::Kind::Query, rc, [&](hostsim::RegistryRead& read) {
            read.keyPath = state.PathOf(hKey);
            read.handle = reinterpret_cast<std::uintptr_t>(hKey);
            read.name = ValueNameOf(lpValueName);
            if (value != nullptr) {
                read.hasType = true;
                read.type = value->type;
                read.size = static_cast<std::uint32_t>(value->data.size());
                read.hasData = copied;
                if (copied)
                    read.data = value->data;
            }
        });
    };
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return report(rc);
    value = key->FindValue(ValueNameOf(lpValueName));
    if (value == nullptr)
        return report(ERROR_FILE_NOT_FOUND);
    if (lpType != nullptr)
        *lpType = value->type;
    if (lpcbData == nullptr)
        return report(ERROR_SUCCESS);
    const DWORD size = static_cast<DWORD>(value->data.size());
    const DWORD room = *lpcbData;
    *lpcbData = size;
    if (lpData == nullptr)
        return report(ERROR_SUCCESS);
    if (room < size)
        return report(ERROR_MORE_DATA);
    if (size != 0)
        std::memcpy(lpData, value->data.data(), size);
    copied = true;
    return report(ERROR_SUCCESS);
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                           DWORD cbData) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    if (lpData == nullptr && cbData != 0)
        return ERROR_NOACCESS;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return rc;
    const std::string name = ValueNameOf(lpValueName);
    if (const hostsim::RegistryRefusal* rule = state.Refusals().RefuseValue(key->Path(), name))
        return state.Refused("set [" + key->Path() + "] \"" + name + "\"", *rule);
    std::vector<std::uint8_t> data(lpData, lpData + cbData);
    key->SetValue(name, dwType, data);
    // An existing value keeps the spelling it was created with.
    const std::string storedName = key->FindValue(name)->name;
    state.Notify(
        RegistryWrite{RegistryWrite::Kind::SetValue, key->Path(), storedName, dwType, std::move(data)});
    return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                          LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    if (lpValueName == nullptr || lpcchValueName == nullptr || lpReserved != nullptr ||
        (lpData != nullptr && lpcbData == nullptr))
        return ERROR_INVALID_PARAMETER;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    const hostreg::RegistryValue* value = nullptr;
    bool copied = false;
    auto report = [&](LONG rc) {
        return Reported(state, hostsim::RegistryRead::Kind::EnumValue, rc, [&](hostsim::RegistryRead& read) {
            read.keyPath = state.PathOf(hKey);
            read.handle = reinterpret_cast<std::uintptr_t>(hKey);
            read.index = dwIndex;
            if (value != nullptr) {
                read.name = value->name;
                read.hasType = true;
                read.type = value->type;
                read.size = static_cast<std::uint32_t>(value->data.size());
                read.hasData = copied;
                if (copied)
                    read.data = value->data;
            }
        });
    };
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return report(rc);
    if (dwIndex >= key->Values().size())
        return report(ERROR_NO_MORE_ITEMS);
    value = &key->Values()[dwIndex];
    const DWORD nameLength = static_cast<DWORD>(value->name.size());
    const DWORD size = static_cast<DWORD>(value->data.size());
    const bool nameFits = nameLength < *lpcchValueName;
    const bool dataFits = lpData == nullptr || *lpcbData >= size;
    // Type and needed data size are reported even when something does not fit; the name length is only
    // written on success, so the caller's buffer size survives an ERROR_MORE_DATA.
    if (lpType != nullptr)
        *lpType = value->type;
    if (lpcbData != nullptr)
        *lpcbData = size;
    if (!nameFits || !dataFits)
        return report(ERROR_MORE_DATA);
    std::memcpy(lpValueName, value->name.c_str(), nameLength + 1);
    *lpcchValueName = nameLength;
    if (lpData != nullptr && size != 0)
        std::memcpy(lpData, value->data.data(), size);
    copied = lpData != nullptr;
    return report(ERROR_SUCCESS);
}

LONG WINAPI RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    if (lpName == nullptr)
        return ERROR_INVALID_PARAMETER;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    std::shared_ptr<RegistryKey> subkey;
    auto report = [&](LONG rc) {
        return Reported(state, hostsim::RegistryRead::Kind::EnumKey, rc, [&](hostsim::RegistryRead& read) {
            read.keyPath = state.PathOf(hKey);
            read.handle = reinterpret_cast<std::uintptr_t>(hKey);
            read.index = dwIndex;
            if (subkey != nullptr)
                read.name = subkey->Name();
        });
    };
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return report(rc);
    subkey = key->SubkeyAt(dwIndex);
    if (subkey == nullptr)
        return report(ERROR_NO_MORE_ITEMS);
    const std::string& name = subkey->Name();
    if (name.size() >= cchName)
        return report(ERROR_MORE_DATA);
    std::memcpy(lpName, name.c_str(), name.size() + 1);
    return report(ERROR_SUCCESS);
}

LONG WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    if (lpSubKey == nullptr)
        return ERROR_INVALID_PARAMETER;
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return rc;
    std::vector<std::string> parts;
    if (!hostreg::SplitKeyPath(lpSubKey, &parts))
        return ERROR_BAD_PATHNAME;
    if (LONG rc = Walk(key, parts, &key))
        return rc;
    RegistryKey* parent = key->Parent();
    if (parent == nullptr)
        return ERROR_ACCESS_DENIED; // a root
    if (key->SubkeyCount() != 0 && !DeletesWholeSubtree())
        return ERROR_ACCESS_DENIED;
    const std::string path = key->Path();
    const hostsim::RegistryRefusal* rule = state.Refusals().RefuseKey(path);
    if (rule == nullptr)
        rule = state.Refusals().RefuseKey(parent->Path());
    if (rule != nullptr)
        return state.Refused("delete [" + path + "]", *rule);
    parent->RemoveSubkey(key->Name());
    state.Notify(RegistryWrite{RegistryWrite::Kind::DeleteKey, path, {}, 0, {}});
    return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    const hostsim::NotProgramHeap registryHeap; // the registry's content is the system's
    RegistryState& state = RegistryState::Instance();
    auto lock = state.Lock();
    std::shared_ptr<RegistryKey> key;
    if (LONG rc = state.Resolve(hKey, &key))
        return rc;
    const std::string name = ValueNameOf(lpValueName);
    const hostreg::RegistryValue* value = key->FindValue(name);
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    // The spelling the value was created with, as enumeration shows it.
    const std::string storedName = value->name;
    key->DeleteValue(name);
    state.Notify(RegistryWrite{RegistryWrite::Kind::DeleteValue, key->Path(), storedName, 0, {}});
    return ERROR_SUCCESS;
}
