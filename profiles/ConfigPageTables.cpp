#include "profiles/ConfigPageTables.h"

#include <cstring>

#include "adapter/NdisRequests.h"
#include "profiles/ProfileKeys.h"
#include "resource.h"

const char g_szDefaultSsid[] = "any";

namespace {

struct RATE_ENTRY {
    UINT nTextId;
    WORD wRateCode;
};

const RATE_ENTRY s_RateTable[CONFIG_RATE_COUNT] = {
    {IDS_RATE_FIXED_1, 1},   {IDS_RATE_FIXED_2, 2},  {IDS_RATE_1_OR_2, 3},
    {IDS_RATE_FIXED_5_5, 4}, {IDS_RATE_FIXED_11, 8}, {IDS_RATE_AUTO, 15},
};

int HexDigitValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

} // namespace

UINT GetRateTextId(int nPosition) {
    if (nPosition < 0 || nPosition >= CONFIG_RATE_COUNT)
        return 0;
    return s_RateTable[nPosition].nTextId;
}

int GetRatePosition(WORD wRateCode) {
    for (int i = 0; i < CONFIG_RATE_COUNT; ++i) {
        if (s_RateTable[i].wRateCode == wRateCode)
            return i;
    }
    return -1;
}

BOOL GetRateCode(int nPosition, WORD* pwRateCode) {
    if (nPosition < 0 || nPosition >= CONFIG_RATE_COUNT)
        return FALSE;
    *pwRateCode = s_RateTable[nPosition].wRateCode;
    return TRUE;
}

BOOL GetModeNetworkType(int nPosition, BYTE* pbNetworkType) {
    if (nPosition != CONFIG_MODE_AD_HOC && nPosition != CONFIG_MODE_INFRASTRUCTURE)
        return FALSE;
    *pbNetworkType = (BYTE)nPosition;
    return TRUE;
}

int GetModePosition(BYTE bNetworkType) {
    if (bNetworkType == NETWORK_TYPE_ADHOC)
        return CONFIG_MODE_AD_HOC;
    if (bNetworkType == NETWORK_TYPE_INFRASTRUCTURE)
        return CONFIG_MODE_INFRASTRUCTURE;
    return -1;
}

BOOL IsAdHocLayout(BYTE bNetworkType) {
    return bNetworkType == NETWORK_TYPE_ADHOC || bNetworkType == NETWORK_TYPE_ADHOC_OTHER;
}

int GetPowerSavingPosition(int nPSMode) {
    if (nPSMode == CONFIG_POWER_SAVING_OFF || nPSMode == CONFIG_POWER_SAVING_ON)
        return nPSMode;
    return -1;
}

int BuildChannelList(WORD wMask, int (&anChannels)[CONFIG_CHANNEL_COUNT_MAX]) {
    int nCount = 0;
    for (int i = 0; i < CONFIG_CHANNEL_COUNT_MAX; ++i) {
        if (wMask & (1u << i))
            anChannels[nCount++] = i + 1;
    }
    return nCount;
}

void ParseWepKeyText(LPCSTR pszText, BYTE* pbKey, int cbKey) {
    const size_t cchText = pszText != nullptr ? std::strlen(pszText) : 0;
    for (int i = 0; i < cbKey; ++i) {
        const size_t nFirst = 2 * (size_t)i;
        int nValue = 0;
        const int nHigh = nFirst < cchText ? HexDigitValue(pszText[nFirst]) : -1;
        if (nHigh >= 0) {
            nValue = nHigh;
            const int nLow = nFirst + 1 < cchText ? HexDigitValue(pszText[nFirst + 1]) : -1;
            if (nLow >= 0)
                nValue = nHigh * 16 + nLow;
        }
        pbKey[i] = (BYTE)nValue;
    }
}

BOOL IsNewProfileNameAcceptable(LPCSTR pszName) {
    return IsProfileNameUsable(pszName) && std::strlen(pszName) <= PROFILE_NAME_LIMIT;
}
