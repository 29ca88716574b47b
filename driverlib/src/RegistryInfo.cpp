// W32N_GetAdapterRegistryInfoBySubkeyIndex: the adapter entry that the card's driver installation left.
#include "RegistryInfo.h"

#include <cstdio>
#include <cstring>

namespace driverlib {
namespace {

constexpr DWORD kErrorNotSupported = 50; // ERROR_NOT_SUPPORTED

class OpenKey {
public:
    explicit OpenKey(const char* path) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~OpenKey() {
        if (m_key)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    bool IsOpen() const { return m_key != nullptr; }

    // A text value into a 260-byte field, always terminated; an error when missing, not text or too long.
    DWORD ReadText(const char* name, char (&field)[260]) const {
        char data[262] = {};
        DWORD type = 0;
        DWORD size = sizeof data - 1;
        const LONG rc = RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        if (rc != ERROR_SUCCESS)
            return static_cast<DWORD>(rc);
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ERROR_FILE_NOT_FOUND;
        const std::size_t length = strnlen(data, size);
        if (length >= sizeof field)
            return ERROR_MORE_DATA;
        std::memcpy(field, data, length);
        field[length] = '\0';
        return ERROR_SUCCESS;
    }

private:
    HKEY m_key = nullptr;
};

} // namespace

DWORD ReadAdapterRegistryInfo(int index, W32N_ADAPTER_REGISTRY_INFO* info) {
    if (!info)
        return ERROR_INVALID_PARAMETER;
    std::memset(info, 0, sizeof *info);
    if (index < 0 || index > 9998)
        return ERROR_FILE_NOT_FOUND;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return kErrorNotSupported;

    // NT 4 keeps a numbered network card list whose entries name the driver's service; Windows 2000 and
    // later keep the adapter in the network class key, named by its instance id.
    const bool nt4 = version.dwMajorVersion < 5;
    if (nt4)
        std::snprintf(info->KeyPath, sizeof info->KeyPath,
                      "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\%d", index + 1);
    else
        std::snprintf(
            info->KeyPath, sizeof info->KeyPath,
            "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%04d", index);
    OpenKey key(info->KeyPath);
    if (!key.IsOpen())
        return ERROR_FILE_NOT_FOUND;
    const DWORD rc = key.ReadText(nt4 ? "ServiceName" : "NetCfgInstanceId", info->DeviceName);
    if (rc != ERROR_SUCCESS) {
        info->DeviceName[0] = '\0';
        return rc;
    }
    if (key.ReadText(nt4 ? "Description" : "DriverDesc", info->Description) != ERROR_SUCCESS)
        info->Description[0] = '\0';
    return ERROR_SUCCESS;
}

} // namespace driverlib
