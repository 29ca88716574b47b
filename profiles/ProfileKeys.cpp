#include "profiles/ProfileKeys.h"

#include <cstdio>
#include <cstring>

#include "common/Globals.h"
#include "fw/Framework.h"
#include "resource.h"

namespace {

const char s_szProfileListKey[] = "Profile";
const char s_szServiceParametersFormat[] = "System\\CurrentControlSet\\Services\\%s%d\\Parameters%s%s";
const char s_szServiceStem[] = "RAZUR";

// Forms the full path of pszBelow for one NT 4 instance, or for the adapter's class subkey on the other
// kinds. FALSE when the path does not fit (a path cut short could name another key).
BOOL FormStorePath(BYTE nKind, int nInstance, LPCSTR pszBelow, char (&szPath)[PROFILE_STORE_PATH_SIZE]) {
    const char* pszSeparator = pszBelow[0] != '\0' ? "\\" : "";
    int cch;
    if (nKind == OSKIND_NT4) {
        cch = std::snprintf(szPath, sizeof(szPath), s_szServiceParametersFormat, s_szServiceStem, nInstance,
                            pszSeparator, pszBelow);
    } else {
        char szAdapter[CAdapterName::MAX_NAME + 1];
        g_szAdapterName.Get(szAdapter);
        if (szAdapter[0] == '\0')
            return FALSE;
        const int cchClassKey = (int)strnlen(g_szClassKeyPath, sizeof(g_szClassKeyPath));
        cch = std::snprintf(szPath, sizeof(szPath), "%.*s%s%s%s", cchClassKey, g_szClassKeyPath, szAdapter,
                            pszSeparator, pszBelow);
    }
    return cch > 0 && cch < (int)sizeof(szPath);
}

// Opens pszBelow as OpenProfileStoreKey does and leaves the full path of the opened key in szPath.
HKEY OpenStoreKeyAt(LPCSTR pszBelow, char (&szPath)[PROFILE_STORE_PATH_SIZE], BOOL* pbNoInstance) {
    if (pbNoInstance != nullptr)
        *pbNoInstance = FALSE;
    if (pszBelow == nullptr)
        pszBelow = "";
    const BYTE nKind = g_nOsKind;
    HKEY hKey = nullptr;
    if (nKind == OSKIND_WIN2000 || nKind == OSKIND_WIN95 || nKind == OSKIND_WIN98) {
        if (FormStorePath(nKind, 0, pszBelow, szPath) &&
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, szPath, 0, KEY_ALL_ACCESS, &hKey) == ERROR_SUCCESS)
            return hKey;
        return nullptr;
    }
    if (nKind != OSKIND_NT4)
        return nullptr;
    for (int n = SERVICE_INSTANCE_FIRST; n <= SERVICE_INSTANCE_LAST; ++n) {
        if (FormStorePath(nKind, n, pszBelow, szPath) &&
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, szPath, 0, KEY_ALL_ACCESS, &hKey) == ERROR_SUCCESS)
            return hKey;
    }
    if (pbNoInstance != nullptr)
        *pbNoInstance = TRUE;
    return nullptr;
}

} // namespace

BOOL IsProfileNameUsable(LPCSTR pszName) {
    if (pszName == nullptr || pszName[0] == '\0')
        return FALSE;
    const size_t cchName = strnlen(pszName, PROFILE_NAME_MAX + 1);
    return cchName <= PROFILE_NAME_MAX && std::memchr(pszName, '\\', cchName) == nullptr;
}

BOOL FormProfileKeyName(LPCSTR pszName, char (&szBelow)[PROFILE_KEY_NAME_SIZE]) {
    szBelow[0] = '\0';
    if (!IsProfileNameUsable(pszName))
        return FALSE;
    std::snprintf(szBelow, sizeof(szBelow), "%s\\%s", s_szProfileListKey, pszName);
    return TRUE;
}

HKEY OpenProfileStoreKey(LPCSTR pszBelow, BOOL* pbNoInstance) {
    char szPath[PROFILE_STORE_PATH_SIZE];
    return OpenStoreKeyAt(pszBelow, szPath, pbNoInstance);
}

void ReportNoServiceInstance() {
    MessageBeep(MB_ICONEXCLAMATION);
    AfxMessageBox(IDS_ERR_SERVICE_REGISTRY, MB_OK);
}

BOOL DeleteProfileKey(LPCSTR pszName) {
    char szBelow[PROFILE_KEY_NAME_SIZE];
    if (!FormProfileKeyName(pszName, szBelow))
        return FALSE;
    char szPath[PROFILE_STORE_PATH_SIZE];
    HKEY hKey = OpenStoreKeyAt(szBelow, szPath, nullptr);
    if (hKey == nullptr)
        return FALSE;
    RegCloseKey(hKey);
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, szPath) == ERROR_SUCCESS;
}
