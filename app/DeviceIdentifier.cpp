#include "app/DeviceIdentifier.h"

#include <cstddef>
#include <cstring>

BOOL GetDeviceIdentifier(DWORD_PTR dwData, LPSTR pszIdentifier, int cchIdentifier) {
    const DEV_BROADCAST_HDR* pHeader = reinterpret_cast<const DEV_BROADCAST_HDR*>(dwData);
    if (pHeader == nullptr || cchIdentifier <= 0 || pHeader->dbch_devicetype != DBT_DEVTYP_DEVNODE)
        return FALSE;
    const DWORD cbFixed = (DWORD)offsetof(DEV_BROADCAST_DEVNODE_ID, szIdentifier);
    if (pHeader->dbch_size <= cbFixed)
        return FALSE;
    const char* pchText = reinterpret_cast<const char*>(pHeader) + cbFixed;
    const DWORD cchText = pHeader->dbch_size - cbFixed;
    const void* pZero = std::memchr(pchText, '\0', cchText);
    if (pZero == nullptr)
        return FALSE;
    const size_t cchCopy = (size_t)(static_cast<const char*>(pZero) - pchText);
    if (cchCopy >= (size_t)cchIdentifier)
        return FALSE;
    std::memcpy(pszIdentifier, pchText, cchCopy + 1);
    return TRUE;
}
