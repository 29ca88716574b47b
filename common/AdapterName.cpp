#include "common/AdapterName.h"

#include <cstring>

CAdapterName::CAdapterName() : m_szName{} {}

void CAdapterName::Set(LPCSTR pszName) {
    CSingleLock guard(&m_lock, TRUE);
    std::memset(m_szName, 0, sizeof(m_szName));
    if (pszName != nullptr)
        std::strncpy(m_szName, pszName, MAX_NAME);
}

void CAdapterName::Clear() {
    Set(nullptr);
}

BOOL CAdapterName::IsEmpty() const {
    CSingleLock guard(&m_lock, TRUE);
    return m_szName[0] == '\0';
}

void CAdapterName::Get(char (&szName)[MAX_NAME + 1]) const {
    CSingleLock guard(&m_lock, TRUE);
    std::memcpy(szName, m_szName, sizeof(szName));
}
