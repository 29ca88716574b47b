#include "profiles/ProfileEncoding.h"

#include <cstring>

namespace {

enum {
    COUNT_TEXT = 0, // the text's own length, no terminating zero
};

struct VALUE_RULE {
    LPCSTR pszName;
    DWORD cbFixed; // COUNT_TEXT or the fixed byte count of the text kinds
    BOOL bNumber;  // REG_DWORD on NT 4
    BOOL bToProfile;
    BOOL bToMirror;
};

const VALUE_RULE s_Rules[PROFILE_VALUE_COUNT] = {
    {"CurProfile", COUNT_TEXT, FALSE, FALSE, FALSE},
    {"SSID", COUNT_TEXT, FALSE, TRUE, TRUE},
    {"DSChannel", 2, TRUE, TRUE, TRUE},
    {"TxRate", 3, TRUE, TRUE, TRUE},
    {"NetworkType", 1, TRUE, TRUE, TRUE},
    {"WepReq", 1, TRUE, TRUE, TRUE},
    {"DefaultKeyId", 1, TRUE, TRUE, TRUE},
    {"WEP_KEY_1", COUNT_TEXT, FALSE, TRUE, FALSE},
    {"WEP_KEY_2", COUNT_TEXT, FALSE, TRUE, FALSE},
    {"WEP_KEY_3", COUNT_TEXT, FALSE, TRUE, FALSE},
    {"WEP_KEY_4", COUNT_TEXT, FALSE, TRUE, FALSE},
    {"WEP64_KEY_1", 10, FALSE, TRUE, FALSE},
    {"WEP64_KEY_2", 10, FALSE, TRUE, FALSE},
    {"WEP64_KEY_3", 10, FALSE, TRUE, FALSE},
    {"WEP64_KEY_4", 10, FALSE, TRUE, FALSE},
    {"WEP128_KEY_1", 26, FALSE, TRUE, FALSE},
    {"WEP128_KEY_2", 26, FALSE, TRUE, FALSE},
    {"WEP128_KEY_3", 26, FALSE, TRUE, FALSE},
    {"WEP128_KEY_4", 26, FALSE, TRUE, FALSE},
    {"DefaultKeys", COUNT_TEXT, FALSE, TRUE, TRUE},
    {"FragThresh", 4, TRUE, TRUE, TRUE},
    {"RTSThresh", 4, TRUE, TRUE, TRUE},
    {"PreambleMode", 2, TRUE, TRUE, TRUE},
    {"PSMode", 2, TRUE, TRUE, TRUE},
    {"AuthentAlg", COUNT_TEXT, TRUE, TRUE, TRUE},
};

// Positions in s_Rules.
enum {
    VALUE_CUR_PROFILE,
    VALUE_SSID,
    VALUE_DS_CHANNEL,
    VALUE_TX_RATE,
    VALUE_NETWORK_TYPE,
    VALUE_WEP_REQ,
    VALUE_DEFAULT_KEY_ID,
    VALUE_FIRST_KEY, // the twelve keys, in the order of s_KeyFields
    VALUE_DEFAULT_KEYS = VALUE_FIRST_KEY + 12,
    VALUE_FRAG_THRESH,
    VALUE_RTS_THRESH,
    VALUE_PREAMBLE_MODE,
    VALUE_PS_MODE,
    VALUE_AUTHENT_ALG,
};
static_assert(VALUE_AUTHENT_ALG + 1 == PROFILE_VALUE_COUNT, "one rule per value");

CString CWorkingProfile::*const s_KeyFields[12] = {
    &CWorkingProfile::WEP_KEY_1,    &CWorkingProfile::WEP_KEY_2,    &CWorkingProfile::WEP_KEY_3,
    &CWorkingProfile::WEP_KEY_4,    &CWorkingProfile::WEP64_KEY_1,  &CWorkingProfile::WEP64_KEY_2,
    &CWorkingProfile::WEP64_KEY_3,  &CWorkingProfile::WEP64_KEY_4,  &CWorkingProfile::WEP128_KEY_1,
    &CWorkingProfile::WEP128_KEY_2, &CWorkingProfile::WEP128_KEY_3, &CWorkingProfile::WEP128_KEY_4,
};

const BYTE WEP_REQ_128 = 6;
const int FIRST_128_BIT_KEY = 8; // WEP128_KEY_1 in s_KeyFields
const WORD AUTHENT_ALG_AUTO = 3;

CString Decimal(unsigned nValue) {
    CString str;
    str.Format("%u", nValue);
    return str;
}

// The text form of value nIndex, as the text kinds store it (before the byte count is applied).
CString TextForm(const CWorkingProfile& profile, int nIndex) {
    if (nIndex >= VALUE_FIRST_KEY && nIndex < VALUE_DEFAULT_KEYS)
        return profile.*s_KeyFields[nIndex - VALUE_FIRST_KEY];
    switch (nIndex) {
    case VALUE_CUR_PROFILE:
        return profile.CurProfile;
    case VALUE_SSID:
        return profile.SSIDText;
    case VALUE_DS_CHANNEL:
        return Decimal(profile.DSChannel);
    case VALUE_TX_RATE:
        return Decimal(profile.TxRate);
    case VALUE_NETWORK_TYPE:
        return Decimal(profile.NetworkType);
    case VALUE_WEP_REQ:
        return Decimal(profile.WepReq);
    case VALUE_DEFAULT_KEY_ID:
        return Decimal(profile.DefaultKeyId + 1u);
    case VALUE_DEFAULT_KEYS:
        return ComposeDefaultKeys(profile);
    case VALUE_FRAG_THRESH:
        return profile.FragThresh;
    case VALUE_RTS_THRESH:
        return profile.RTSThresh;
    case VALUE_PREAMBLE_MODE: // one character; the byte count keeps its terminating zero
        return CString((TCHAR)('0' + profile.PreambleMode));
    case VALUE_PS_MODE:
        return CString(profile.PSMode == 0 ? "1" : "2");
    case VALUE_AUTHENT_ALG:
        return profile.AuthentAlg == AUTHENT_ALG_AUTO ? CString("65535") : Decimal(profile.AuthentAlg);
    }
    return CString();
}

} // namespace

CString ComposeDefaultKeys(const CWorkingProfile& profile) {
    if (profile.WepReq == WEP_REQ_128 && profile.DefaultKeyId <= 3)
        return profile.*s_KeyFields[FIRST_128_BIT_KEY + profile.DefaultKeyId];
    return profile.WEP_KEY_1 + profile.WEP_KEY_2 + profile.WEP_KEY_3 + profile.WEP_KEY_4;
}

BOOL EncodeProfileValue(const CWorkingProfile& profile, BOOL bNumbers, int nIndex, PROFILE_VALUE* pValue) {
    if (pValue == nullptr || nIndex < 0 || nIndex >= PROFILE_VALUE_COUNT)
        return FALSE;
    const VALUE_RULE& rule = s_Rules[nIndex];
    const CString strText = TextForm(profile, nIndex);
    const DWORD cchText = (DWORD)strText.GetLength();

    std::memset(pValue, 0, sizeof(*pValue));
    pValue->pszName = rule.pszName;
    pValue->bToProfile = rule.bToProfile;
    pValue->bToMirror = rule.bToMirror;

    if (bNumbers && rule.bNumber) {
        DWORD dwNumber = ProfileDecimalValue(strText, cchText);
        if (nIndex == VALUE_RTS_THRESH)
            dwNumber &= 0xFFFF;
        pValue->dwType = REG_DWORD;
        pValue->cbData = 4;
        for (int i = 0; i < 4; ++i)
            pValue->abData[i] = (BYTE)(dwNumber >> (8 * i));
        return TRUE;
    }

    pValue->dwType = REG_SZ;
    if (rule.cbFixed != COUNT_TEXT)
        pValue->cbData = rule.cbFixed;
    else
        pValue->cbData = cchText < PROFILE_TEXT_SIZE_MAX ? cchText : (DWORD)PROFILE_TEXT_SIZE_MAX;
    // The buffer is all zero: a text shorter than a fixed count leaves its terminator and padding in place.
    const DWORD cbCopy = cchText < pValue->cbData ? cchText : pValue->cbData;
    std::memcpy(pValue->abData, (LPCTSTR)strText, cbCopy);
    return TRUE;
}
