// The Configuration page's "Apply Changes", "Undo Changes" and "Restore Defaults", and its two requests to
// the card: the channel mask read at activation and the WEP settings of a picked profile.
#include "profiles/ConfigPage.h"

#include <cstring>

#include "adapter/CardRecords.h"
#include "adapter/NdisEnvelopes.h"
#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "profiles/ConfigPageTables.h"
#include "sheet/ConfigUtility.h"
#include "sheet/UiDriverTurn.h"

void CConfigPage::OnApplyChanges() {
    UpdateData(TRUE);
    CConfigUtility* pSheet = GetSheet();
    const int nEntry = FindProfileEntry(m_strProfileName);
    if (nEntry < 0) {
        if (!IsNewProfileNameAcceptable(m_strProfileName)) {
            m_bSaveWithoutApply = 0;
            AfxMessageBox(IDS_ERR_PROFILE_NAME, MB_OK);
            return;
        }
        m_cboProfile.AddString(m_strProfileName);
    } else {
        // The stored profile first, so that what the other pages saved in it (WEP keys, thresholds) is
        // kept when the page's settings are saved over it.
        pSheet->LoadProfile(m_strProfileName);
        if (m_bProfileSelected) {
            ApplyProfileWep();
            m_bProfileSelected = 0;
        }
    }
    pSheet->CurProfile = m_strProfileName;
    StoreSettingsInProfile(TRUE);
    pSheet->SaveProfile();
    if (m_bSaveWithoutApply) {
        g_bConfigPending = 0;
        m_bSaveWithoutApply = 0;
    } else {
        // The monitor thread reads the settings only after it sees the flag, so it is set last.
        g_bConfigPending = 1;
    }
    EnableEditButtons(FALSE);
    m_btnActivate.EnableWindow(FALSE);
    m_btnCreate.EnableWindow(FALSE);
    PushToControls();
}

void CConfigPage::StoreSettingsInProfile(BOOL bSetUndoPoint) {
    CConfigUtility* pSheet = GetSheet();
    // A mode or rate list without a selection keeps the profile's value (a network type 3, a rate code the
    // list does not offer). Design decision: so does the channel list, which has no selection only for a
    // channel the card does not allow.
    BYTE bNetworkType;
    if (GetModeNetworkType(m_cboMode.GetCurSel(), &bNetworkType))
        pSheet->NetworkType = bNetworkType;
    WORD wChannel;
    if (GetChannelOfEntry(m_nChannelIndex, &wChannel))
        pSheet->DSChannel = wChannel;

    // Design decision: SSID and SSIDLength take at most the 32 bytes the field holds; a longer text (a
    // stored SSID whose pull failed) is kept whole in SSIDText only.
    const int cchSsid = m_strSSID.GetLength();
    const WORD cbSsid = (WORD)(cchSsid < CONFIG_SSID_LIMIT ? cchSsid : CONFIG_SSID_LIMIT);
    pSheet->SSIDText = m_strSSID;
    std::memset(pSheet->SSID, 0, sizeof(pSheet->SSID));
    std::memcpy(pSheet->SSID, (LPCSTR)m_strSSID, cbSsid);
    pSheet->SSIDLength = cbSsid;

    WORD wRateCode;
    const BOOL bRateSelected = GetRateCode(m_cboRate.GetCurSel(), &wRateCode);
    if (bRateSelected)
        pSheet->TxRate = wRateCode;
    // The power-saving list's position, whatever it is: no selection (a stored value it has no entry for)
    // makes it 0xFF.
    m_nPSIndex = m_cboPowerSaving.GetCurSel();
    pSheet->PSMode = (BYTE)m_nPSIndex;

    if (!bSetUndoPoint)
        return;
    m_wSavedNetworkType = pSheet->NetworkType;
    m_wSavedChannelIndex = (WORD)m_nChannelIndex;
    m_strSavedSSID = m_strSSID;
    if (bRateSelected)
        m_wSavedTxRate = wRateCode;
    m_nSavedPSIndex = m_nPSIndex;
}

void CConfigPage::OnUndoChanges() {
    m_bProfileSelected = 0;
    m_strProfileName = GetSheet()->CurProfile;
    SetModeSelection((BYTE)m_wSavedNetworkType);
    m_nChannelIndex = (short)m_wSavedChannelIndex;
    m_strSSID = m_strSavedSSID;
    const int nRate = GetRatePosition(m_wSavedTxRate);
    if (nRate >= 0)
        m_cboRate.SetCurSel(nRate);
    ApplyLayout(IsAdHocLayout((BYTE)m_wSavedNetworkType));
    m_nPSIndex = m_nSavedPSIndex;
    m_btnActivate.EnableWindow(FALSE);
    m_btnCreate.EnableWindow(FALSE);
    EnableEditButtons(FALSE);
    PushToControls();
}

// Factory values into the controls only; nothing is saved until "Apply Changes".
void CConfigPage::OnRestoreDefaults() {
    m_cboMode.SetCurSel(CONFIG_MODE_INFRASTRUCTURE);
    m_nChannelIndex = FindChannelEntry(CONFIG_DEFAULT_CHANNEL);
    m_strSSID = g_szDefaultSsid;
    m_cboRate.SetCurSel(GetRatePosition(CONFIG_DEFAULT_RATE));
    m_nPSIndex = CONFIG_POWER_SAVING_OFF;
    ApplyLayout(FALSE);
    m_btnActivate.EnableWindow(FALSE);
    m_btnCreate.EnableWindow(FALSE);
    EnableEditButtons(TRUE);
    PushToControls();
}

WORD CConfigPage::ReadChannelMask() {
    CConfigUtility* pSheet = GetSheet();
    CARD_RECORD_ENVELOPE envelope;
    InitCardRecordRead(&envelope, RID_ALLOWED_CHANNELS);
    DWORD cbAnswer = 0;
    WORD wMask = CONFIG_CHANNEL_MASK_FALLBACK;

    BOOL bRead;
    {
        CUiDriverTurn turn(pSheet);
        bRead = pSheet->m_Adapter.QueryOid(g_szAdapterName, OID_CARD_RECORD, &envelope, sizeof(envelope),
                                           &cbAnswer);
    }

    // An answer too short to hold the mask counts as no answer.
    if (bRead)
        GetCardRecordWord(&envelope, cbAnswer, 0, &wMask);
    return wMask;
}

void CConfigPage::ApplyProfileWep() {
    CConfigUtility* pSheet = GetSheet();
    CardSettings settings;
    std::memset(&settings, 0, sizeof(settings));
    settings.TxKeyIndex = pSheet->DefaultKeyId;
    settings.WepMode = pSheet->WepReq;
    const int cbKey = (int)(pSheet->WepReq == WEP_MODE_128 ? WEP128_KEY_SIZE : WEP64_KEY_SIZE);
    ParseWepKeyText(pSheet->WEP_KEY_1, settings.WepKey1, cbKey);
    ParseWepKeyText(pSheet->WEP_KEY_2, settings.WepKey2, cbKey);
    ParseWepKeyText(pSheet->WEP_KEY_3, settings.WepKey3, cbKey);
    ParseWepKeyText(pSheet->WEP_KEY_4, settings.WepKey4, cbKey);

    // The message comes while the user interface still holds the driver.
    CUiDriverTurn turn(pSheet);
    if (!pSheet->m_Adapter.WriteWepSettings(g_szAdapterName, &settings))
        AfxMessageBox(IDS_ERR_SET_WEP, MB_OK);
}
