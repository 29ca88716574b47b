// Finding the card's adapter entry in the registry and verifying the card with two driver queries. Both run
// on the card monitor thread.
#include "sheet/ConfigUtility.h"

#include <cstdio>
#include <cstring>

#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "common/TrayIcon.h"

namespace {

// The card as its driver installation names it; compared in upper case.
const char s_szHardwareId[] = "PCI\\VEN_1260&DEV_3873&SUBSYS_5E0C7A93";
const char s_szDescription[] = "IEEE802.11B WLAN PCI CARD V2.5";
const char s_szNetworkCardKeyFormat[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\%d";

enum {
    LAST_CANDIDATE = 29,
    MATCH_NAME_SIZE = 64,
    MATCH_DATA_SIZE = 256,
    CANDIDATE_PATH_SIZE = 300,
    RECHECK_DELAY_98 = 2000, // Windows 98/Me: the driver needs a moment before it answers
};

void UpperCaseAscii(char* psz) {
    for (; *psz != '\0'; ++psz)
        if (*psz >= 'a' && *psz <= 'z')
            *psz = (char)(*psz - 'a' + 'A');
}

// Whether the candidate key holds the match value with the card's identification. Values are enumerated
// until the first call that does not succeed; names are compared exactly, letter case included.
// Design decision: the data may be anything, terminated or not: only the bytes the enumeration reported are
// taken as the text, up to the first zero byte.
BOOL KeyIdentifiesCard(HKEY hKey, BOOL bDescriptionOnly) {
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[MATCH_NAME_SIZE];
        BYTE abData[MATCH_DATA_SIZE];
        DWORD cchName = MATCH_NAME_SIZE;
        DWORD cbData = MATCH_DATA_SIZE;
        if (RegEnumValueA(hKey, dwIndex, szName, &cchName, nullptr, nullptr, abData, &cbData) !=
            ERROR_SUCCESS)
            return FALSE;
        if (std::strcmp(szName, g_szMatchValueName) != 0)
            continue;

        char szText[MATCH_DATA_SIZE + 1];
        const DWORD cbText = cbData < MATCH_DATA_SIZE ? cbData : (DWORD)MATCH_DATA_SIZE;
        std::memcpy(szText, abData, cbText);
        szText[cbText] = '\0';
        UpperCaseAscii(szText);
        if (std::strcmp(szText, s_szDescription) == 0)
            return TRUE;
        if (!bDescriptionOnly && std::strstr(szText, s_szHardwareId) != nullptr)
            return TRUE;
    }
}

BOOL CandidateIdentifiesCard(LPCSTR pszPath, BOOL bDescriptionOnly) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszPath, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return FALSE;
    const BOOL bMatch = KeyIdentifiesCard(hKey, bDescriptionOnly);
    RegCloseKey(hKey);
    return bMatch;
}

// The two queries that tell a card which answers from an adapter entry left behind: each must succeed with
// exactly the size asked for.
BOOL CardAnswers(CWlanAdapter& adapter) {
    BYTE abAddress[MAC_ADDRESS_SIZE];
    DWORD cbWritten = 0;
    if (!adapter.QueryOid(g_szAdapterName, OID_802_3_CURRENT_ADDRESS, abAddress, MAC_ADDRESS_SIZE,
                          &cbWritten) ||
        cbWritten != MAC_ADDRESS_SIZE)
        return FALSE;
    BYTE abLinkState[LINK_STATE_SIZE];
    cbWritten = 0;
    return adapter.QueryOid(g_szAdapterName, OID_LINK_STATE, abLinkState, LINK_STATE_SIZE, &cbWritten) &&
           cbWritten == LINK_STATE_SIZE;
}

void TrayAdd(UINT nIconId) {
    TrayIconAdd(nIconId);
}

void TrayDelete() {
    TrayIconDelete();
}

} // namespace

int CConfigUtility::FindAdapter(int nStartIndex) {
    // Until start-up has worked out the Windows kind, the key path and match value name are not there yet:
    // nothing can be found, and the monitor thread asks again later.
    const BYTE nKind = g_nOsKind;
    if (nKind == OSKIND_UNSUPPORTED) {
        g_szAdapterName.Clear();
        return 0;
    }

    for (int i = nStartIndex < 0 ? 0 : nStartIndex; i <= LAST_CANDIDATE; ++i) {
        char szPath[CANDIDATE_PATH_SIZE];
        char szName[CAdapterName::MAX_NAME + 1];
        if (nKind == OSKIND_NT4) {
            // The network card number is one above the adapter index the driver channel opens by.
            std::snprintf(szPath, sizeof(szPath), s_szNetworkCardKeyFormat, i);
            if (CandidateIdentifiesCard(szPath, TRUE)) {
                std::snprintf(szName, sizeof(szName), "%d", i - 1);
                g_szAdapterName.Set(szName);
                return i + 1;
            }
        } else {
            std::snprintf(szName, sizeof(szName), "%04d", i);
            g_szAdapterName.Set(szName);
            const int cchClassKey = (int)strnlen(g_szClassKeyPath, sizeof(g_szClassKeyPath));
            std::snprintf(szPath, sizeof(szPath), "%.*s%s", cchClassKey, g_szClassKeyPath, szName);
            if (CandidateIdentifiesCard(szPath, FALSE))
                return i + 1;
        }
    }
    g_szAdapterName.Clear();
    return 0;
}

BOOL CConfigUtility::CheckCardPresent() {
    if (g_bRecheckCard == 0 && g_bCardPresent == 1 && !g_szAdapterName.IsEmpty())
        return TRUE;
    g_bRecheckCard = 0;

    // Every pass either verifies a candidate or moves the search past it, so the loop ends after at most
    // the last candidate.
    int nIndex = 0;
    for (;;) {
        if (g_szAdapterName.IsEmpty()) {
            nIndex = FindAdapter(nIndex);
            if (nIndex == 0) {
                TrayDelete();
                m_wLastLinkState = LINK_STATE_UNKNOWN;
                g_bCardPresent = 0;
                return FALSE;
            }
        }
        if (g_nOsKind == OSKIND_WIN98)
            Sleep(RECHECK_DELAY_98);
        if (CardAnswers(m_Adapter)) {
            TrayAdd(TRAY_ICON_NOT_CONNECTED);
            g_bCardPresent = 1;
            return TRUE;
        }
        m_Adapter.CloseAdapter();
        g_szAdapterName.Clear();
    }
}
