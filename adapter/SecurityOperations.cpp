// Reading and writing the security and radio settings: authentication, preamble, thresholds and WEP.
#include "adapter/WlanAdapter.h"

#include <cstring>

#include "adapter/NdisRequests.h"
#include "adapter/ThresholdText.h"

namespace {

const BYTE* WepKey(const CardSettings* pSettings, int nKey) {
    switch (nKey) {
    case 0:
        return pSettings->WepKey1;
    case 1:
        return pSettings->WepKey2;
    case 2:
        return pSettings->WepKey3;
    default:
        return pSettings->WepKey4;
    }
}

BYTE* WepKey(CardSettings* pSettings, int nKey) {
    return const_cast<BYTE*>(WepKey(static_cast<const CardSettings*>(pSettings), nKey));
}

WORD WepModeCode(BYTE bWepMode) {
    return (bWepMode == WEP_MODE_128 || bWepMode == WEP_MODE_64) ? bWepMode : WEP_MODE_OFF;
}

} // namespace

// The counts of bytes the card answers with are not looked at here, but a word is taken only from an answer
// that reaches it: otherwise the field keeps its value.
BOOL CWlanAdapter::ReadAdvancedSettings(const CAdapterName& name, CardSettings* pSettings) {
    CChannelLockScope scope(m_lock);
    CARD_RECORD_ENVELOPE envelope;
    DWORD cbAnswer = 0;

    if (!ReadCardRecordLocked(name, RID_AUTHENTICATION, &envelope, &cbAnswer))
        return 0;
    GetCardRecordWord(&envelope, cbAnswer, 0, &pSettings->AuthentAlg);

    if (!ReadCardRecordLocked(name, RID_DENY_UNENCRYPTED, &envelope, &cbAnswer))
        return 0;
    GetCardRecordWord(&envelope, cbAnswer, 0, &pSettings->DenyUnencrypted);
    return 1;
}

// Only a written card record calls for the commit; threshold items written alone wait in the card for the
// next commit of any operation.
BOOL CWlanAdapter::WriteAdvancedSettings(const CAdapterName& name, const CardSettings* pSettings,
                                         BYTE bPreambleMode, LPCSTR pszFragThresh, LPCSTR pszRtsThresh) {
    CChannelLockScope scope(m_lock);
    BOOL bRecordWritten = 0;

    if (pSettings->AuthentAlg != m_wLastAuthentAlg) {
        if (!WriteCardRecordWordLocked(name, RID_SET_AUTHENTICATION, pSettings->AuthentAlg))
            return 0;
        m_wLastAuthentAlg = pSettings->AuthentAlg;
        bRecordWritten = 1;
    }

    if (bPreambleMode != LOBYTE(m_wLastPreamble)) {
        if (!WriteCardRecordWordLocked(name, RID_SET_PREAMBLE, bPreambleMode))
            return 0;
        m_wLastPreamble = bPreambleMode;
        bRecordWritten = 1;
    }

    const WORD wFrag = ThresholdFromText(pszFragThresh);
    if (wFrag != m_wLastFragThreshold) {
        BYTE abValue[2];
        PutLeWord(abValue, wFrag);
        if (!WriteConfigItemLocked(name, ITEM_FRAG_THRESHOLD, abValue, sizeof(abValue)))
            return 0;
        m_wLastFragThreshold = wFrag;
    }

    const WORD wRts = ThresholdFromText(pszRtsThresh);
    if (wRts != m_wLastRtsThreshold) {
        BYTE abValue[2];
        PutLeWord(abValue, wRts);
        if (!WriteConfigItemLocked(name, ITEM_RTS_THRESHOLD, abValue, sizeof(abValue)))
            return 0;
        m_wLastRtsThreshold = wRts;
    }

    return bRecordWritten ? CommitLocked(name) : 1;
}

BOOL CWlanAdapter::WriteWepKeyLocked(const CAdapterName& name, BYTE bKeyNumber, const BYTE* pbKey,
                                     DWORD cbKey) {
    return WriteConfigItemLocked(name, ITEM_WEP_KEY_SLOT, &bKeyNumber, 1) &&
           WriteConfigItemLocked(name, ITEM_WEP_KEY_BYTES, pbKey, cbKey);
}

BOOL CWlanAdapter::WriteWepSettings(const CAdapterName& name, const CardSettings* pSettings) {
    CChannelLockScope scope(m_lock);
    BOOL bChanged = 0;

    // With WEP off the keys and the default key stay as they are in the card.
    if (pSettings->WepMode == WEP_MODE_128 || pSettings->WepMode == WEP_MODE_64) {
        const DWORD cbKey = pSettings->WepMode == WEP_MODE_128 ? WEP128_KEY_SIZE : WEP64_KEY_SIZE;
        for (int nKey = 0; nKey < WEP_KEY_COUNT; ++nKey) {
            const BYTE* pbKey = WepKey(pSettings, nKey);
            BYTE* pbCached = WepKey(&m_WepCache, nKey);
            if (std::memcmp(pbKey, pbCached, cbKey) == 0)
                continue;
            if (!WriteWepKeyLocked(name, (BYTE)(nKey + 1), pbKey, cbKey))
                return 0;
            std::memcpy(pbCached, pbKey, cbKey);
            bChanged = 1;
        }

        if (pSettings->TxKeyIndex != m_WepCache.TxKeyIndex) {
            const BYTE bItem = (BYTE)(pSettings->TxKeyIndex + 1);
            if (!WriteConfigItemLocked(name, ITEM_DEFAULT_TX_KEY, &bItem, 1))
                return 0;
            m_WepCache.TxKeyIndex = pSettings->TxKeyIndex;
            bChanged = 1;
        }
    }

    if (pSettings->WepMode != m_WepCache.WepMode) {
        BYTE abMode[WEP_MODE_SIZE];
        PutLeWord(abMode, WepModeCode(pSettings->WepMode));
        if (!SetLocked(name, OID_WEP_MODE, abMode, sizeof(abMode)))
            return 0;
        m_WepCache.WepMode = pSettings->WepMode;
        bChanged = 1;
    }

    return bChanged ? CommitLocked(name) : 1;
}
