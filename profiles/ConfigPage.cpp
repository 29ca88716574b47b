// The Configuration page: its life with the sheet (activation, OK, Cancel), data exchange, layout and the
// handlers of the settings. The profile group is in ConfigPageProfiles.cpp, Apply/Undo/Restore and the card
// requests in ConfigPageApply.cpp.
#include "profiles/ConfigPage.h"

#include "common/Globals.h"
#include "profiles/ConfigPageTables.h"
#include "sheet/ConfigUtility.h"

CString g_strDefaultProfileName;

BEGIN_MESSAGE_MAP(CConfigPage, CPropertyPage)
ON_BN_CLICKED(IDC_CFG_APPLY, OnApplyChanges)
ON_BN_CLICKED(IDC_CFG_UNDO, OnUndoChanges)
ON_BN_CLICKED(IDC_CFG_RESTORE, OnRestoreDefaults)
ON_BN_CLICKED(IDC_CFG_CREATE, OnCreateProfile)
ON_BN_CLICKED(IDC_CFG_REMOVE, OnRemoveProfile)
ON_BN_CLICKED(IDC_CFG_ACTIVATE, OnActivateProfile)
ON_CBN_SELCHANGE(IDC_CFG_PROFILE, OnSelchangeProfile)
ON_CBN_EDITUPDATE(IDC_CFG_PROFILE, OnEditupdateProfile)
ON_CBN_SELCHANGE(IDC_CFG_MODE, OnSelchangeMode)
ON_CBN_SELCHANGE(IDC_CFG_CHANNEL, OnSelchangeChannelOrRate)
ON_CBN_SELCHANGE(IDC_CFG_RATE, OnSelchangeChannelOrRate)
ON_EN_CHANGE(IDC_CFG_SSID, OnChangeSsid)
ON_CBN_SELCHANGE(IDC_CFG_POWER_SAVING, OnSelchangePowerSaving)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_WM_PAINT()
END_MESSAGE_MAP()

CConfigPage::CConfigPage()
    : CPropertyPage(IDD), m_bPagesFilled(0), m_nChannelIndex(-1), m_nPSIndex(-1), m_wSavedChannelIndex(0),
      m_wSavedTxRate(0), m_wSavedNetworkType(0), m_nSavedPSIndex(-1), m_bProfileSelected(0),
      m_bSaveWithoutApply(0), m_bPushing(FALSE) {
    g_strDefaultProfileName.LoadString(IDS_DEFAULT_PROFILE);
}

void CConfigPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CFG_PROFILE, m_cboProfile);
    DDX_Control(pDX, IDC_CFG_CREATE, m_btnCreate);
    DDX_Control(pDX, IDC_CFG_REMOVE, m_btnRemove);
    DDX_Control(pDX, IDC_CFG_ACTIVATE, m_btnActivate);
    DDX_Control(pDX, IDC_CFG_MODE, m_cboMode);
    DDX_Control(pDX, IDC_CFG_SSID, m_edtSSID);
    DDX_Control(pDX, IDC_CFG_RATE, m_cboRate);
    DDX_Control(pDX, IDC_CFG_CHANNEL, m_cboChannel);
    DDX_Control(pDX, IDC_CFG_POWER_SAVING, m_cboPowerSaving);
    DDX_Control(pDX, IDC_CFG_RESTORE, m_btnRestore);
    DDX_Control(pDX, IDC_CFG_UNDO, m_btnUndo);
    DDX_Control(pDX, IDC_CFG_APPLY, m_btnApply);
    DDX_Text(pDX, IDC_CFG_SSID, m_strSSID);
    DDV_MaxChars(pDX, m_strSSID, CONFIG_SSID_LIMIT);
    DDX_CBIndex(pDX, IDC_CFG_CHANNEL, m_nChannelIndex);
    DDX_CBIndex(pDX, IDC_CFG_POWER_SAVING, m_nPSIndex);
    DDX_CBString(pDX, IDC_CFG_PROFILE, m_strProfileName);
}

CConfigUtility* CConfigPage::GetSheet() const {
    return static_cast<CConfigUtility*>(GetParent());
}

void CConfigPage::PushToControls() {
    const BOOL bWasPushing = m_bPushing;
    m_bPushing = TRUE;
    UpdateData(FALSE);
    m_bPushing = bWasPushing;
}

BOOL CConfigPage::OnInitDialog() {
    m_bPushing = TRUE;
    const BOOL bResult = CPropertyPage::OnInitDialog();
    m_bPushing = FALSE;
    // Design decision: the edit field takes no more than a profile name may have, so an over-long name is
    // refused as it is typed, as the SSID edit refuses a 33rd character.
    m_cboProfile.LimitText(PROFILE_NAME_LIMIT);
    return bResult;
}

BOOL CConfigPage::OnSetActive() {
    CConfigUtility* pSheet = GetSheet();
    const WORD wChannelMask = ReadChannelMask();
    if (!m_bPagesFilled) {
        FillLists(wChannelMask);
        m_bPagesFilled = 1;
    }

    // The working profile into the page; it is also the undo point.
    SetModeSelection(pSheet->NetworkType);
    m_wSavedNetworkType = pSheet->NetworkType;
    m_nChannelIndex = FindChannelEntry(pSheet->DSChannel);
    m_wSavedChannelIndex = (WORD)m_nChannelIndex;
    // A stored SSID longer than the edit takes is shown whole; the next pull says it is too long.
    m_strSSID = pSheet->SSIDText;
    m_strSavedSSID = m_strSSID;
    m_nPSIndex = GetPowerSavingPosition(pSheet->PSMode);
    m_nSavedPSIndex = m_nPSIndex;
    const int nRate = GetRatePosition(pSheet->TxRate);
    if (nRate >= 0) {
        m_cboRate.SetCurSel(nRate);
        m_wSavedTxRate = pSheet->TxRate;
    }

    ApplyLayout(IsAdHocLayout(pSheet->NetworkType));
    EnableEditButtons(FALSE);
    PushToControls();

    // No profile yet: the settings the sheet loaded become the profile "default", and the card, which
    // already runs with them, is left alone.
    if (m_cboProfile.GetCount() == 0) {
        m_bSaveWithoutApply = 1;
        m_strProfileName = g_strDefaultProfileName;
        PushToControls();
        OnApplyChanges();
    }
    EnableRemoveFor(m_strProfileName);
    m_bPushing = TRUE;
    const BOOL bResult = CPropertyPage::OnSetActive();
    m_bPushing = FALSE;
    return bResult;
}

void CConfigPage::FillLists(WORD wChannelMask) {
    FillProfileList();

    CString strText;
    m_cboMode.ResetContent();
    strText.LoadString(IDS_AD_HOC);
    m_cboMode.AddString(strText);
    strText.LoadString(IDS_INFRASTRUCTURE);
    m_cboMode.AddString(strText);

    m_cboRate.ResetContent();
    for (int i = 0; i < CONFIG_RATE_COUNT; ++i) {
        strText.LoadString(GetRateTextId(i));
        m_cboRate.AddString(strText);
    }

    m_cboChannel.ResetContent();
    int anChannels[CONFIG_CHANNEL_COUNT_MAX];
    const int nChannels = BuildChannelList(wChannelMask, anChannels);
    for (int i = 0; i < nChannels; ++i) {
        strText.Format("%d", anChannels[i]);
        const int nIndex = m_cboChannel.AddString(strText);
        m_cboChannel.SetItemData(nIndex, (DWORD_PTR)anChannels[i]);
    }

    m_cboPowerSaving.ResetContent();
    strText.LoadString(IDS_POWER_SAVING_OFF);
    m_cboPowerSaving.AddString(strText);
    strText.LoadString(IDS_POWER_SAVING_ON);
    m_cboPowerSaving.AddString(strText);
}

int CConfigPage::FindChannelEntry(int nChannel) {
    const int nCount = m_cboChannel.GetCount();
    for (int i = 0; i < nCount; ++i) {
        if ((int)m_cboChannel.GetItemData(i) == nChannel)
            return i;
    }
    return -1;
}

BOOL CConfigPage::GetChannelOfEntry(int nIndex, WORD* pwChannel) {
    if (nIndex < 0 || nIndex >= m_cboChannel.GetCount())
        return FALSE;
    *pwChannel = (WORD)m_cboChannel.GetItemData(nIndex);
    return TRUE;
}

void CConfigPage::SetModeSelection(BYTE bNetworkType) {
    m_cboMode.SetCurSel(GetModePosition(bNetworkType));
}

void CConfigPage::ApplyLayout(BOOL bAdHoc) {
    m_cboChannel.EnableWindow(bAdHoc);
    m_cboPowerSaving.EnableWindow(!bAdHoc);
}

void CConfigPage::EnableEditButtons(BOOL bEnable) {
    m_btnUndo.EnableWindow(bEnable);
    m_btnApply.EnableWindow(bEnable);
}

void CConfigPage::EnableRemoveFor(const CString& strName) {
    m_btnRemove.EnableWindow(strName != g_strDefaultProfileName);
}

void CConfigPage::OnSelchangeMode() {
    if (m_bPushing)
        return;
    UpdateData(TRUE);
    if (m_cboMode.GetCurSel() == CONFIG_MODE_INFRASTRUCTURE) {
        ApplyLayout(FALSE);
    } else {
        // Ad hoc cells have no power saving: it goes off in the working profile at once.
        ApplyLayout(TRUE);
        GetSheet()->PSMode = 0;
        m_cboPowerSaving.SetCurSel(CONFIG_POWER_SAVING_OFF);
        m_nPSIndex = CONFIG_POWER_SAVING_OFF;
    }
    EnableEditButtons(TRUE);
    PushToControls();
}

void CConfigPage::OnSelchangeChannelOrRate() {
    if (m_bPushing)
        return;
    UpdateData(TRUE);
    EnableEditButtons(TRUE);
}

void CConfigPage::OnChangeSsid() {
    if (m_bPushing)
        return;
    UpdateData(TRUE);
    EnableEditButtons(TRUE);
    PushToControls();
}

void CConfigPage::OnSelchangePowerSaving() {
    if (m_bPushing)
        return;
    UpdateData(TRUE);
    EnableEditButtons(TRUE);
    PushToControls();
}

void CConfigPage::OnOK() {
    g_bSheetActive = 0;
    if (!m_btnApply.IsWindowEnabled()) {
        CPropertyPage::OnOK();
        return;
    }
    if (!UpdateData(TRUE))
        return;
    CConfigUtility* pSheet = GetSheet();
    // Design decision: the pending changes are saved under the name shown when it is a listed profile or a
    // name that may become one; a name that cannot (empty, with a backslash, too long) leaves them under the
    // current profile, so that they are never written into a key that is no profile.
    if (FindProfileEntry(m_strProfileName) >= 0 || IsNewProfileNameAcceptable(m_strProfileName))
        pSheet->CurProfile = m_strProfileName;
    StoreSettingsInProfile(FALSE);
    pSheet->SaveProfile();
    PushToControls();
    g_bConfigPending = 1;
    CPropertyPage::OnOK();
}

BOOL CConfigPage::OnApply() {
    g_bSheetActive = 0;
    m_bPagesFilled = 0;
    return CPropertyPage::OnApply();
}

void CConfigPage::OnCancel() {
    g_bSheetActive = 0;
    m_bPagesFilled = 0;
    CPropertyPage::OnCancel();
}

// The sheet hands the Help button to the page that shows; a request that names its own context keeps it.
LRESULT CConfigPage::OnCommandHelp(WPARAM, LPARAM lParam) {
    AfxGetApp()->WinHelp(lParam != 0 ? (DWORD_PTR)lParam : (DWORD_PTR)HIDD_CONFIGURATION, HELP_CONTEXT);
    return TRUE;
}

// The dialog's controls draw themselves; the page has nothing of its own to paint.
void CConfigPage::OnPaint() {
    CPaintDC dc(this);
}
