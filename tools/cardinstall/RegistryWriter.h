// Creates keys and sets values under HKEY_LOCAL_MACHINE, keeping the first failure.
#pragma once
#include <win32api.h>

#include <string>

namespace cardinstall {

class RegistryWriter {
public:
    // A zero-terminated REG_SZ, as an installation stores text.
    void Text(const std::string& keyPath, const std::string& name, const std::string& value);
    void Number(const std::string& keyPath, const std::string& name, DWORD value);

    LONG Error() const { return m_error; }
    const std::string& FailedWhere() const { return m_where; }

private:
    void Set(const std::string& keyPath, const std::string& name, DWORD type, const BYTE* data, DWORD size);

    LONG m_error = ERROR_SUCCESS;
    std::string m_where;
};

} // namespace cardinstall
