#include "RegistryWriter.h"

namespace cardinstall {
namespace {

constexpr LONG kChildMustBeVolatile = 1021; // ERROR_CHILD_MUST_BE_VOLATILE

class CreatedKey {
public:
    explicit CreatedKey(const std::string& path) {
        m_result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        // Wine keeps NT 4's network card list as a volatile key that it fills anew at each start: an entry
        // below it can only be volatile (and lasts until Wine's server ends). Windows keeps it stable.
        if (m_result == kChildMustBeVolatile)
            m_result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                       KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
    }
    ~CreatedKey() {
        if (m_result == ERROR_SUCCESS)
            RegCloseKey(m_key);
    }
    CreatedKey(const CreatedKey&) = delete;
    CreatedKey& operator=(const CreatedKey&) = delete;
    LONG Result() const { return m_result; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
    LONG m_result;
};

} // namespace

void RegistryWriter::Text(const std::string& keyPath, const std::string& name, const std::string& value) {
    Set(keyPath, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
        static_cast<DWORD>(value.size() + 1));
}

void RegistryWriter::Number(const std::string& keyPath, const std::string& name, DWORD value) {
    const BYTE data[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                          static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    Set(keyPath, name, REG_DWORD, data, 4);
}

void RegistryWriter::Set(const std::string& keyPath, const std::string& name, DWORD type, const BYTE* data,
                         DWORD size) {
    if (m_error != ERROR_SUCCESS)
        return;
    CreatedKey key(keyPath);
    LONG rc = key.Result();
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExA(key.Get(), name.c_str(), 0, type, data, size);
    if (rc != ERROR_SUCCESS) {
        m_error = rc;
        m_where = "HKEY_LOCAL_MACHINE\\" + keyPath + " \"" + name + "\": error " + std::to_string(rc);
    }
}

} // namespace cardinstall
