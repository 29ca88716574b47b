// The Advanced page's Apply and OK: what counts as a change, storing the page in the working profile, and
// writing the changed settings to the card.
#include "pages/AdvancedPage.h"

#include <cstdio>

#include "adapter/CardRecords.h"
#include "common/Globals.h"
#include "sheet/ConfigUtility.h"
#include "sheet/UiDriverTurn.h"

namespace {

CString ThresholdText(int nValue) {
    char szValue[16];
    std::snprintf(szValue, sizeof(szValue), "%d", nValue);
    return CString(szValue);
}

} // namespace

// The thresholds are compared as the texts the profile keeps, so a profile text the page would write
// differently (a leading zero, blanks) counts as a change and is written anew.
BOOL CAdvancedPage::IsChanged() const {
    const CConfigUtility* pSheet = Sheet();
    return ThresholdText(m_nFragThreshold) != pSheet->FragThresh ||
           ThresholdText(m_nRtsThreshold) != pSheet->RTSThresh ||
           (int)pSheet->PreambleMode != m_nPreambleIndex + 1 ||
           (int)pSheet->DenyUnencrypted != (m_bDenyChecked == 0 ? 1 : 0) ||
           (int)pSheet->AuthentAlg != m_nAuthTypeIndex + 1;
}

void CAdvancedPage::StoreInProfile() {
    CConfigUtility* pSheet = Sheet();
    pSheet->FragThresh = ThresholdText(m_nFragThreshold);
    pSheet->RTSThresh = ThresholdText(m_nRtsThreshold);
    pSheet->PreambleMode = (BYTE)(m_nPreambleIndex + 1);
    pSheet->AuthentAlg = (WORD)(m_nAuthTypeIndex + 1);
    pSheet->DenyUnencrypted = m_bDenyChecked == 1 ? 0 : 1;
}

// The card gets only what differs from what was last written to it (the card operation compares); the
// record carries only the authentication, the other settings come from the working profile. OK first
// reads the card's security records, and tells the user when it cannot; the write goes ahead either way.
void CAdvancedPage::WriteToCard(BOOL bReadFirst) {
    CConfigUtility* pSheet = Sheet();
    CUiDriverTurn turn(pSheet);
    CardSettings record = {};
    if (bReadFirst && !pSheet->m_Adapter.ReadAdvancedSettings(g_szAdapterName, &record))
        AfxMessageBox(IDS_ERR_GET_WEP, MB_OK);
    record.AuthentAlg = pSheet->AuthentAlg;
    if (!pSheet->m_Adapter.WriteAdvancedSettings(g_szAdapterName, &record, pSheet->PreambleMode,
                                                 pSheet->FragThresh, pSheet->RTSThresh))
        AfxMessageBox(IDS_ERR_SET_WEP, MB_OK);
}

// The profile is saved even when nothing changed.
void CAdvancedPage::OnApplyChanges() {
    UpdateData(TRUE);
    if (IsChanged()) {
        StoreInProfile();
        WriteToCard(FALSE);
    }
    Sheet()->SaveProfile();
    EnableUndoApply(FALSE);
    UpdateData(FALSE);
}

// Closing the sheet with OK applies this page when it holds an edit; a slider moved only by scroll
// messages has enabled nothing and is not stored.
void CAdvancedPage::OnOK() {
    g_bSheetActive = 0;
    m_bCombosFilled = 0;
    if (!m_btnApply.IsWindowEnabled()) {
        CPropertyPage::OnOK();
        return;
    }
    if (!UpdateData(TRUE))
        return;
    if (IsChanged()) {
        StoreInProfile();
        WriteToCard(TRUE);
    }
    Sheet()->SaveProfile();
    UpdateData(FALSE);
    CPropertyPage::OnOK();
}

BOOL CAdvancedPage::OnApply() {
    g_bSheetActive = 0;
    m_bCombosFilled = 0;
    return CPropertyPage::OnApply();
}

void CAdvancedPage::OnCancel() {
    g_bSheetActive = 0;
    m_bCombosFilled = 0;
    CPropertyPage::OnCancel();
}
