#include "profiles/ProfileDecoding.h"

#include <cstring>

namespace {

// Values whose text goes into a string field unchanged, on every kind.
struct TEXT_FIELD {
    LPCSTR pszName;
    CString CWorkingProfile::*pField;
};

const TEXT_FIELD s_TextFields[] = {
    {"CurProfile", &CWorkingProfile::CurProfile},     {"DefaultKeys", &CWorkingProfile::DefaultKeys},
    {"WEP128_KEY_1", &CWorkingProfile::WEP128_KEY_1}, {"WEP128_KEY_2", &CWorkingProfile::WEP128_KEY_2},
    {"WEP128_KEY_3", &CWorkingProfile::WEP128_KEY_3}, {"WEP128_KEY_4", &CWorkingProfile::WEP128_KEY_4},
    {"WEP64_KEY_1", &CWorkingProfile::WEP64_KEY_1},   {"WEP64_KEY_2", &CWorkingProfile::WEP64_KEY_2},
    {"WEP64_KEY_3", &CWorkingProfile::WEP64_KEY_3},   {"WEP64_KEY_4", &CWorkingProfile::WEP64_KEY_4},
    {"WEP_KEY_1", &CWorkingProfile::WEP_KEY_1},       {"WEP_KEY_2", &CWorkingProfile::WEP_KEY_2},
    {"WEP_KEY_3", &CWorkingProfile::WEP_KEY_3},       {"WEP_KEY_4", &CWorkingProfile::WEP_KEY_4},
};

const WORD AUTHENT_ALG_AUTO = 3;
const WORD AUTHENT_ALG_AUTO_STORED = 65535;

void DecodeSsid(CWorkingProfile* pProfile, LPCSTR pszText, DWORD cchText) {
    pProfile->SSIDText = CString(pszText, (int)cchText);
    const DWORD cbSsid = cchText < sizeof(pProfile->SSID) ? cchText : (DWORD)sizeof(pProfile->SSID);
    std::memset(pProfile->SSID, 0, sizeof(pProfile->SSID));
    std::memcpy(pProfile->SSID, pszText, cbSsid);
    pProfile->SSIDLength = (WORD)cbSsid;
}

// A threshold as decimal text: kept as stored on the text kinds, written from the low 16 bits on NT 4.
void DecodeThreshold(CString* pField, LPCSTR pszText, DWORD cchText, BOOL bNumbers, DWORD dwNumber) {
    if (bNumbers)
        pField->Format("%u", (unsigned)(dwNumber & 0xFFFF));
    else
        *pField = CString(pszText, (int)cchText);
}

} // namespace

DWORD ProfileTextLength(const BYTE* pbData, DWORD cbData) {
    if (pbData == nullptr)
        return 0;
    const void* pZero = std::memchr(pbData, 0, cbData);
    return pZero != nullptr ? (DWORD)(static_cast<const BYTE*>(pZero) - pbData) : cbData;
}

DWORD ProfileDecimalValue(LPCSTR pszText, DWORD cchText) {
    DWORD dwValue = 0;
    for (DWORD i = 0; i < cchText && pszText[i] >= '0' && pszText[i] <= '9'; ++i)
        dwValue = dwValue * 10 + (DWORD)(pszText[i] - '0');
    return dwValue;
}

DWORD ProfileNumberValue(const BYTE* pbData, DWORD cbData) {
    DWORD dwValue = 0;
    for (DWORD i = 0; i < cbData && i < 4; ++i)
        dwValue |= (DWORD)pbData[i] << (8 * i);
    return dwValue;
}

BOOL DecodeProfileValue(CWorkingProfile* pProfile, LPCSTR pszName, const BYTE* pbData, DWORD cbData,
                        BOOL bNumbers) {
    if (pProfile == nullptr || pszName == nullptr || (pbData == nullptr && cbData != 0))
        return FALSE;
    if (cbData > PROFILE_VALUE_DATA_SIZE)
        cbData = PROFILE_VALUE_DATA_SIZE;
    static const BYTE s_bNoData = 0;
    if (pbData == nullptr)
        pbData = &s_bNoData;

    const LPCSTR pszText = reinterpret_cast<LPCSTR>(pbData);
    const DWORD cchText = ProfileTextLength(pbData, cbData);

    for (const TEXT_FIELD& field : s_TextFields) {
        if (std::strcmp(pszName, field.pszName) == 0) {
            pProfile->*field.pField = CString(pszText, (int)cchText);
            return TRUE;
        }
    }
    if (std::strcmp(pszName, "SSID") == 0) {
        DecodeSsid(pProfile, pszText, cchText);
        return TRUE;
    }

    const DWORD dwNumber =
        bNumbers ? ProfileNumberValue(pbData, cbData) : ProfileDecimalValue(pszText, cchText);
    const BYTE bLow = (BYTE)(dwNumber & 0xFF);
    if (std::strcmp(pszName, "DSChannel") == 0)
        pProfile->DSChannel = bLow;
    else if (std::strcmp(pszName, "TxRate") == 0)
        pProfile->TxRate = bLow;
    else if (std::strcmp(pszName, "NetworkType") == 0)
        pProfile->NetworkType = bLow;
    else if (std::strcmp(pszName, "WepReq") == 0)
        pProfile->WepReq = bLow;
    else if (std::strcmp(pszName, "PreambleMode") == 0)
        pProfile->PreambleMode = bLow;
    // The registry holds these two plus one; a stored 0 wraps round to 255, which no page offers.
    else if (std::strcmp(pszName, "DefaultKeyId") == 0)
        pProfile->DefaultKeyId = (BYTE)(bLow - 1);
    else if (std::strcmp(pszName, "PSMode") == 0)
        pProfile->PSMode = (BYTE)(bLow - 1);
    else if (std::strcmp(pszName, "AuthentAlg") == 0) {
        const WORD wAlg = (WORD)(dwNumber & 0xFFFF);
        pProfile->AuthentAlg = wAlg == AUTHENT_ALG_AUTO_STORED ? AUTHENT_ALG_AUTO : wAlg;
    } else if (std::strcmp(pszName, "FragThresh") == 0)
        DecodeThreshold(&pProfile->FragThresh, pszText, cchText, bNumbers, dwNumber);
    else if (std::strcmp(pszName, "RTSThresh") == 0)
        DecodeThreshold(&pProfile->RTSThresh, pszText, cchText, bNumbers, dwNumber);
    else
        return FALSE;
    return TRUE;
}
