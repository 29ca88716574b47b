// The profile store: LoadProfile and SaveProfile move the working profile between the sheet and the
// registry (key layout in ProfileKeys.h, value rules in ProfileDecoding.h and ProfileEncoding.h).
#include "sheet/ConfigUtility.h"

#include <cstdio>

#include "common/Globals.h"
#include "profiles/ProfileDecoding.h"
#include "profiles/ProfileEncoding.h"
#include "profiles/ProfileKeys.h"

namespace {

const char s_szMirrorKeyPrefix[] = "Ndi\\params\\";

// The profile key of pszName under the open parameters key, created when it does not exist yet. NULL when
// the name cannot be a key name or the key can be neither opened nor created.
HKEY OpenOrCreateProfileKey(HKEY hParameters, LPCSTR pszName) {
    char szBelow[PROFILE_KEY_NAME_SIZE];
    if (!FormProfileKeyName(pszName, szBelow))
        return nullptr;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(hParameters, szBelow, 0, KEY_ALL_ACCESS, &hKey) == ERROR_SUCCESS)
        return hKey;
    DWORD dwDisposition = 0;
    if (RegCreateKeyExA(hParameters, szBelow, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &hKey, &dwDisposition) == ERROR_SUCCESS)
        return hKey;
    return nullptr;
}

// The driver's installation describes each parameter under "Ndi\params\<name>"; where it does, the
// parameter's unnamed value follows the saved one. The store never creates these keys.
void WriteMirror(HKEY hParameters, const PROFILE_VALUE& value) {
    char szMirror[sizeof(s_szMirrorKeyPrefix) + PROFILE_VALUE_NAME_SIZE];
    std::snprintf(szMirror, sizeof(szMirror), "%s%s", s_szMirrorKeyPrefix, value.pszName);
    HKEY hMirror = nullptr;
    if (RegOpenKeyExA(hParameters, szMirror, 0, KEY_ALL_ACCESS, &hMirror) != ERROR_SUCCESS)
        return;
    RegSetValueExA(hMirror, nullptr, 0, value.dwType, value.abData, value.cbData);
    RegCloseKey(hMirror);
}

} // namespace

BOOL CConfigUtility::LoadProfile(LPCSTR pszName) {
    char szBelow[PROFILE_KEY_NAME_SIZE] = "";
    if (pszName != nullptr && !FormProfileKeyName(pszName, szBelow))
        return FALSE;
    BOOL bNoInstance = FALSE;
    HKEY hKey = OpenProfileStoreKey(szBelow, &bNoInstance);
    if (hKey == nullptr) {
        if (bNoInstance)
            ReportNoServiceInstance();
        return FALSE;
    }

    // The kind is final once a key opened: nothing opens while it is still unknown.
    const BOOL bNumbers = g_nOsKind == OSKIND_NT4;
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[PROFILE_VALUE_NAME_SIZE];
        BYTE abData[PROFILE_VALUE_DATA_SIZE];
        DWORD cchName = sizeof(szName);
        DWORD cbData = sizeof(abData);
        // The end of the list, or a value whose name or data does not fit, ends the load.
        if (RegEnumValueA(hKey, dwIndex, szName, &cchName, nullptr, nullptr, abData, &cbData) !=
            ERROR_SUCCESS)
            break;
        DecodeProfileValue(this, szName, abData, cbData, bNumbers);
    }
    RegCloseKey(hKey);
    return TRUE;
}

BOOL CConfigUtility::SaveProfile() {
    BOOL bNoInstance = FALSE;
    HKEY hParameters = OpenProfileStoreKey(nullptr, &bNoInstance);
    if (hParameters == nullptr) {
        if (bNoInstance)
            ReportNoServiceInstance();
        return FALSE;
    }
    // Design decision: the driver's own parameters are saved even when the working profile names no usable
    // profile (no profile yet on a fresh machine, or a garbled "CurProfile"), so keys applied from the
    // Encryption or Advanced page before any profile exists survive a restart. Only the profile key is then
    // left out, and the save reports FALSE. Writing under "Profile\" with an empty name would instead put
    // the values on the profile list key itself.
    const BOOL bNamed = IsProfileNameUsable(CurProfile);
    HKEY hProfile = bNamed ? OpenOrCreateProfileKey(hParameters, CurProfile) : nullptr;
    if (bNamed && hProfile == nullptr) {
        RegCloseKey(hParameters);
        return FALSE;
    }

    // A failed write of one value does not stop the others.
    const BOOL bNumbers = g_nOsKind == OSKIND_NT4;
    PROFILE_VALUE value;
    for (int nIndex = 0; EncodeProfileValue(*this, bNumbers, nIndex, &value); ++nIndex) {
        RegSetValueExA(hParameters, value.pszName, 0, value.dwType, value.abData, value.cbData);
        if (value.bToProfile && hProfile != nullptr)
            RegSetValueExA(hProfile, value.pszName, 0, value.dwType, value.abData, value.cbData);
        if (value.bToMirror)
            WriteMirror(hParameters, value);
    }
    if (hProfile != nullptr)
        RegCloseKey(hProfile);
    RegCloseKey(hParameters);
    return hProfile != nullptr;
}
