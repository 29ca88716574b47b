// The Configuration page's profile group: listing, picking, typing with completion, creating, activating
// and removing named profiles.
#include "profiles/ConfigPage.h"

#include <cstring>

#include "common/Globals.h"
#include "profiles/ConfigPageTables.h"
#include "profiles/ProfileDecoding.h"
#include "profiles/ProfileKeys.h"
#include "sheet/ConfigUtility.h"

namespace {

const char s_szProfileListKey[] = "Profile";

} // namespace

void CConfigPage::FillProfileList() {
    m_cboProfile.ResetContent();
    HKEY hList = OpenProfileStoreKey(s_szProfileListKey, nullptr);
    if (hList == nullptr)
        return;
    for (DWORD dwIndex = 0; dwIndex < PROFILE_LIST_LIMIT; ++dwIndex) {
        char szName[PROFILE_LIST_NAME_SIZE];
        if (RegEnumKeyA(hList, dwIndex, szName, sizeof(szName)) != ERROR_SUCCESS)
            break;
        m_cboProfile.AddString(szName);
    }
    RegCloseKey(hList);
    m_strProfileName = GetSheet()->CurProfile;
}

int CConfigPage::FindProfileEntry(LPCSTR pszName) {
    // The list compares whole entries without regard to letter case, as the registry does with key names.
    const int nEntry = m_cboProfile.FindStringExact(-1, pszName);
    return nEntry == CB_ERR ? -1 : nEntry;
}

void CConfigPage::OnSelchangeProfile() {
    const int nSelected = m_cboProfile.GetCurSel();
    if (nSelected == CB_ERR)
        return;
    m_cboProfile.GetLBText(nSelected, m_strProfileName);
    EnableRemoveFor(m_strProfileName);
    ShowProfileValues(m_strProfileName);
    m_bProfileSelected = 1;
    ApplyLayout(m_cboMode.GetCurSel() == CONFIG_MODE_AD_HOC);
    m_btnActivate.EnableWindow(TRUE);
    PushToControls();
}

void CConfigPage::ShowProfileValues(LPCSTR pszName) {
    char szBelow[PROFILE_KEY_NAME_SIZE];
    if (!FormProfileKeyName(pszName, szBelow))
        return;
    BOOL bNoInstance = FALSE;
    HKEY hKey = OpenProfileStoreKey(szBelow, &bNoInstance);
    if (hKey == nullptr) {
        if (bNoInstance)
            ReportNoServiceInstance();
        return;
    }
    // The values are decoded by the store's own rules into a scratch profile, of which five are shown.
    const BOOL bNumbers = g_nOsKind == OSKIND_NT4;
    CWorkingProfile stored;
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[PROFILE_VALUE_NAME_SIZE];
        BYTE abData[PROFILE_VALUE_DATA_SIZE];
        DWORD cchName = sizeof(szName);
        DWORD cbData = sizeof(abData);
        if (RegEnumValueA(hKey, dwIndex, szName, &cchName, nullptr, nullptr, abData, &cbData) !=
            ERROR_SUCCESS)
            break;
        if (!DecodeProfileValue(&stored, szName, abData, cbData, bNumbers))
            continue;
        if (std::strcmp(szName, "DSChannel") == 0) {
            m_nChannelIndex = FindChannelEntry(stored.DSChannel);
        } else if (std::strcmp(szName, "TxRate") == 0) {
            const int nRate = GetRatePosition(stored.TxRate);
            if (nRate >= 0)
                m_cboRate.SetCurSel(nRate);
        } else if (std::strcmp(szName, "NetworkType") == 0) {
            SetModeSelection(stored.NetworkType);
        } else if (std::strcmp(szName, "SSID") == 0) {
            m_strSSID = stored.SSIDText;
        } else if (std::strcmp(szName, "PSMode") == 0) {
            m_nPSIndex = GetPowerSavingPosition(stored.PSMode);
            m_cboPowerSaving.SetCurSel(m_nPSIndex);
        }
    }
    RegCloseKey(hKey);
}

void CConfigPage::OnEditupdateProfile() {
    if (!m_cboProfile.m_bAutoComplete)
        return;
    char szTyped[PROFILE_TYPED_TEXT_SIZE] = "";
    m_cboProfile.GetWindowText(szTyped, sizeof(szTyped));
    // Every entry begins with an empty text, so an emptied field completes to the first entry.
    const int nEntry = szTyped[0] != '\0' ? m_cboProfile.FindString(-1, szTyped)
                                          : (m_cboProfile.GetCount() > 0 ? 0 : CB_ERR);
    if (nEntry == CB_ERR) {
        m_btnActivate.EnableWindow(FALSE);
        m_btnRemove.EnableWindow(FALSE);
        m_btnCreate.EnableWindow(TRUE);
        return;
    }
    // The completed part is highlighted, so that the next character typed replaces it.
    m_cboProfile.SetCurSel(nEntry);
    m_cboProfile.SetEditSel((int)std::strlen(szTyped), -1);
    m_btnActivate.EnableWindow(TRUE);
    m_btnRemove.EnableWindow(g_strDefaultProfileName != szTyped);
    m_btnCreate.EnableWindow(FALSE);
}

// A pull that fails its validation (a stored SSID longer than the edit takes) has said so; the page goes on
// with the members it has, here and in Apply.
void CConfigPage::OnCreateProfile() {
    UpdateData(TRUE);
    m_bSaveWithoutApply = 1;
    if (FindProfileEntry(m_strProfileName) >= 0) {
        AfxMessageBox(IDS_ERR_PROFILE_EXISTS, MB_OK);
        m_bSaveWithoutApply = 0;
    } else {
        OnApplyChanges();
    }
    m_btnCreate.EnableWindow(FALSE);
    m_btnRemove.EnableWindow(TRUE);
}

void CConfigPage::OnActivateProfile() {
    OnApplyChanges();
    m_btnActivate.EnableWindow(FALSE);
}

void CConfigPage::OnRemoveProfile() {
    // Only the name "default" itself is refused, as every comparison with it is exact.
    if (m_strProfileName == g_strDefaultProfileName) {
        AfxMessageBox(IDS_ERR_REMOVE_DEFAULT, MB_OK);
        return;
    }
    CString strQuestion;
    strQuestion.LoadString(IDS_ASK_REMOVE_PROFILE);
    strQuestion += m_strProfileName;
    strQuestion += "?";
    if (AfxMessageBox(strQuestion, MB_YESNO) != IDYES)
        return;

    const int nEntry = FindProfileEntry(m_strProfileName);
    if (nEntry < 0)
        return;
    CString strEntry;
    m_cboProfile.GetLBText(nEntry, strEntry);
    m_cboProfile.DeleteString(nEntry);
    DeleteProfileKey(strEntry);

    if (m_cboProfile.SelectString(-1, g_strDefaultProfileName) != CB_ERR) {
        OnSelchangeProfile();
        return;
    }
    // Design decision: with no "default" entry left to pick, the field is emptied and nothing is picked.
    m_cboProfile.SetCurSel(-1);
    m_strProfileName.Empty();
    m_btnRemove.EnableWindow(FALSE);
    m_btnActivate.EnableWindow(FALSE);
}
