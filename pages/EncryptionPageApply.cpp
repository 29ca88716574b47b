// The steps of the Encryption page's Apply that make the keys: from a passphrase, from the key texts, and
// into the card. Key material goes to the working profile, the registry and the card, nowhere else.
#include "pages/EncryptionPage.h"

#include <cstring>

#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "pages/EncryptionPageKeys.h"
#include "sheet/ConfigUtility.h"
#include "sheet/UiDriverTurn.h"

CardSettings g_CardSettings;

namespace {

BYTE* CardKey(int nKey) {
    switch (nKey) {
    case 0:
        return g_CardSettings.WepKey1;
    case 1:
        return g_CardSettings.WepKey2;
    case 2:
        return g_CardSettings.WepKey3;
    default:
        return g_CardSettings.WepKey4;
    }
}

// A key of nBytes in the card record, with the rest of its 13-byte field cleared.
void PutCardKey(int nKey, const BYTE* pbKey, int cbKey) {
    BYTE* pbField = CardKey(nKey);
    std::memset(pbField, 0, WEP_KEY_FIELD_SIZE);
    std::memcpy(pbField, pbKey, (size_t)cbKey);
}

} // namespace

// All four keys get the bytes the passphrase makes, and the key texts of the new mode's width show them;
// the texts of the other width stay. The card then transmits with key 1.
int CEncryptionPage::MakeKeysFromPassphrase(BYTE bMode) {
    const int cbKey = bMode == WEP_MODE_128 ? (int)WEP128_KEY_SIZE : (int)WEP64_KEY_SIZE;
    BYTE abKey[WEP_KEY_FIELD_SIZE] = {};
    if (!WepKeyFromPassphrase(m_strPassphrase, abKey, cbKey))
        return 0;

    const CString strKey = WepKeyToText(abKey, cbKey);
    for (int nKey = 0; nKey < WEP_KEY_COUNT; ++nKey)
        PutCardKey(nKey, abKey, cbKey);
    if (bMode == WEP_MODE_128)
        m_strKey128_1 = m_strKey128_2 = m_strKey128_3 = m_strKey128_4 = strKey;
    else
        m_strKey64_1 = m_strKey64_2 = m_strKey64_3 = m_strKey64_4 = strKey;

    g_CardSettings.TxKeyIndex = 0;
    Sheet()->DefaultKeyId = 0;
    m_cmbDefaultKey.SetCurSel(0);
    UpdateData(FALSE);
    return 1;
}

// Every key text of the mode must have its full length before any of them is taken: a wrong one ends Apply
// with the key texts, the registry and the card as they were. The profile keeps the texts in upper case,
// and the texts in force follow the width just applied. With WEP off no key is looked at.
int CEncryptionPage::StoreKeys(BYTE bMode) {
    if (bMode != WEP_MODE_64 && bMode != WEP_MODE_128)
        return 1;

    CConfigUtility* pSheet = Sheet();
    const BOOL b128 = bMode == WEP_MODE_128;
    const int cchKey = b128 ? WEP128_KEY_TEXT_LENGTH : WEP64_KEY_TEXT_LENGTH;
    const int cbKey = b128 ? (int)WEP128_KEY_SIZE : (int)WEP64_KEY_SIZE;
    const CString* apTexts64[] = {&m_strKey64_1, &m_strKey64_2, &m_strKey64_3, &m_strKey64_4};
    const CString* apTexts128[] = {&m_strKey128_1, &m_strKey128_2, &m_strKey128_3, &m_strKey128_4};
    CString* apProfile64[] = {&pSheet->WEP64_KEY_1, &pSheet->WEP64_KEY_2, &pSheet->WEP64_KEY_3,
                              &pSheet->WEP64_KEY_4};
    CString* apProfile128[] = {&pSheet->WEP128_KEY_1, &pSheet->WEP128_KEY_2, &pSheet->WEP128_KEY_3,
                               &pSheet->WEP128_KEY_4};
    CString* apInForce[] = {&pSheet->WEP_KEY_1, &pSheet->WEP_KEY_2, &pSheet->WEP_KEY_3, &pSheet->WEP_KEY_4};
    const CString** apTexts = b128 ? apTexts128 : apTexts64;
    CString** apProfile = b128 ? apProfile128 : apProfile64;

    for (int nKey = 0; nKey < WEP_KEY_COUNT; ++nKey) {
        if (apTexts[nKey]->GetLength() != cchKey) {
            AfxMessageBox(b128 ? IDS_ERR_KEY_LENGTH_128 : IDS_ERR_KEY_LENGTH_64, MB_OK);
            return 0;
        }
    }

    for (int nKey = 0; nKey < WEP_KEY_COUNT; ++nKey) {
        BYTE abKey[WEP_KEY_FIELD_SIZE] = {};
        WepKeyFromText(*apTexts[nKey], abKey, cbKey);
        PutCardKey(nKey, abKey, cbKey);
        *apProfile[nKey] = *apTexts[nKey];
        apProfile[nKey]->MakeUpper();
        *apInForce[nKey] = *apProfile[nKey];
    }
    return 1;
}

// Both operations run whatever the first one gave, and the user interface lets go of the driver on every
// path.
void CEncryptionPage::WriteToCard() {
    CConfigUtility* pSheet = Sheet();
    CUiDriverTurn turn(pSheet);
    if (!pSheet->m_Adapter.WriteAdvancedSettings(g_szAdapterName, &g_CardSettings, pSheet->PreambleMode,
                                                 pSheet->FragThresh, pSheet->RTSThresh))
        AfxMessageBox(IDS_ERR_SET_WEP, MB_OK);
    if (!pSheet->m_Adapter.WriteWepSettings(g_szAdapterName, &g_CardSettings))
        AfxMessageBox(IDS_ERR_SET_WEP, MB_OK);
}
