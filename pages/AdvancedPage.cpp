// The Advanced page: its controls, its life in the sheet, the sliders, Restore Defaults and Undo. Apply and
// OK are in AdvancedPageApply.cpp.
#include "pages/AdvancedPage.h"

#include <cstdio>

#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "pages/AdvancedPageThresholds.h"
#include "sheet/ConfigUtility.h"

namespace {

enum {
    FRAG_TICK_FREQUENCY = 217,
    RTS_TICK_FREQUENCY = 243,
    AUTH_OPEN_SYSTEM_POSITION = 0,
    AUTH_SHARED_KEY_POSITION = 1,
    PREAMBLE_LONG_POSITION = 0,
};

} // namespace

BEGIN_MESSAGE_MAP(CAdvancedPage, CPropertyPage)
ON_BN_CLICKED(IDC_ADV_APPLY, OnApplyChanges)
ON_BN_CLICKED(IDC_ADV_RESTORE, OnRestoreDefaults)
ON_BN_CLICKED(IDC_ADV_UNDO, OnUndoChanges)
ON_CBN_SELCHANGE(IDC_ADV_AUTH_TYPE, OnSettingChanged)
ON_CBN_SELCHANGE(IDC_ADV_PREAMBLE, OnSettingChanged)
ON_BN_CLICKED(IDC_ADV_DENY_UNENCRYPTED, OnSettingChanged)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_ADV_FRAG_SLIDER, OnReleasedCaptureFrag)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_ADV_RTS_SLIDER, OnReleasedCaptureRts)
ON_WM_HSCROLL()
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_WM_PAINT()
END_MESSAGE_MAP()

CAdvancedPage::CAdvancedPage()
    : CPropertyPage(IDD), m_bCombosFilled(0), m_nFragThreshold(0), m_nRtsThreshold(0), m_nPreambleIndex(-1),
      m_nAuthTypeIndex(-1), m_bDenyChecked(0) {}

CAdvancedPage::~CAdvancedPage() {}

void CAdvancedPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADV_SECURITY_GROUP, m_grpSecurity);
    DDX_Control(pDX, IDC_ADV_AUTH_TYPE_LABEL, m_stcAuthType);
    DDX_Control(pDX, IDC_ADV_DENY_UNENCRYPTED, m_chkDenyUnencrypted);
    DDX_Control(pDX, IDC_ADV_RTS_VALUE, m_stcRtsValue);
    DDX_Control(pDX, IDC_ADV_FRAG_VALUE, m_stcFragValue);
    DDX_Control(pDX, IDC_ADV_RTS_DISABLED, m_stcRtsDisabled);
    DDX_Control(pDX, IDC_ADV_FRAG_DISABLED, m_stcFragDisabled);
    DDX_Control(pDX, IDC_ADV_UNDO, m_btnUndo);
    DDX_Control(pDX, IDC_ADV_RESTORE, m_btnRestore);
    DDX_Control(pDX, IDC_ADV_APPLY, m_btnApply);
    DDX_Control(pDX, IDC_ADV_AUTH_TYPE, m_cmbAuthType);
    DDX_Control(pDX, IDC_ADV_PREAMBLE, m_cmbPreamble);
    DDX_Control(pDX, IDC_ADV_RTS_SLIDER, m_sldRts);
    DDX_Control(pDX, IDC_ADV_FRAG_SLIDER, m_sldFrag);
    DDX_Slider(pDX, IDC_ADV_FRAG_SLIDER, m_nFragThreshold);
    DDX_Slider(pDX, IDC_ADV_RTS_SLIDER, m_nRtsThreshold);
    DDX_CBIndex(pDX, IDC_ADV_PREAMBLE, m_nPreambleIndex);
    DDX_CBIndex(pDX, IDC_ADV_AUTH_TYPE, m_nAuthTypeIndex);
    DDX_Check(pDX, IDC_ADV_DENY_UNENCRYPTED, m_bDenyChecked);
}

CConfigUtility* CAdvancedPage::Sheet() const {
    return static_cast<CConfigUtility*>(GetParent());
}

// The list strings go in at their positions: a position is the profile value minus one.
void CAdvancedPage::SetUpControls() {
    m_sldFrag.SetRange(FRAG_THRESHOLD_MIN, THRESHOLD_MAX, TRUE);
    m_sldFrag.SetLineSize(FRAG_THRESHOLD_STEP);
    m_sldFrag.SetPageSize(FRAG_THRESHOLD_STEP);
    m_sldFrag.SetTicFreq(FRAG_TICK_FREQUENCY);
    m_sldRts.SetRange(RTS_THRESHOLD_MIN, THRESHOLD_MAX, TRUE);
    m_sldRts.SetLineSize(RTS_THRESHOLD_STEP);
    m_sldRts.SetPageSize(RTS_THRESHOLD_STEP);
    m_sldRts.SetTicFreq(RTS_TICK_FREQUENCY);

    static const UINT s_aAuthNames[] = {IDS_AUTH_OPEN_SYSTEM, IDS_AUTH_SHARED_KEY, IDS_AUTH_AUTO};
    static const UINT s_aPreambleNames[] = {IDS_PREAMBLE_LONG, IDS_PREAMBLE_SHORT};
    CString strName;
    for (int i = 0; i < (int)(sizeof(s_aAuthNames) / sizeof(s_aAuthNames[0])); ++i) {
        strName.LoadString(s_aAuthNames[i]);
        m_cmbAuthType.InsertString(i, strName);
    }
    for (int i = 0; i < (int)(sizeof(s_aPreambleNames) / sizeof(s_aPreambleNames[0])); ++i) {
        strName.LoadString(s_aPreambleNames[i]);
        m_cmbPreamble.InsertString(i, strName);
    }
    m_bCombosFilled = 1;
}

void CAdvancedPage::ShowFragThreshold(int nValue) {
    char szValue[16];
    std::snprintf(szValue, sizeof(szValue), "%d", nValue);
    m_sldFrag.SetPos(nValue);
    m_stcFragValue.SetWindowText(szValue);
    m_stcFragDisabled.ShowWindow(nValue == THRESHOLD_MAX ? SW_SHOW : SW_HIDE);
}

void CAdvancedPage::ShowRtsThreshold(int nValue) {
    char szValue[16];
    std::snprintf(szValue, sizeof(szValue), "%d", nValue);
    m_sldRts.SetPos(nValue);
    m_stcRtsValue.SetWindowText(szValue);
    m_stcRtsDisabled.ShowWindow(nValue == THRESHOLD_MAX ? SW_SHOW : SW_HIDE);
}

void CAdvancedPage::EnableUndoApply(BOOL bEnable) {
    m_btnApply.EnableWindow(bEnable);
    m_btnUndo.EnableWindow(bEnable);
}

// The box is checked exactly when WEP is on, and the user never changes it here. With WEP off the card
// authenticates as an open system, so the list shows that and cannot be changed.
BOOL CAdvancedPage::OnSetActive() {
    CConfigUtility* pSheet = Sheet();
    if (!m_bCombosFilled)
        SetUpControls();

    m_nFragThreshold = ThresholdFromText(pSheet->FragThresh);
    ShowFragThreshold(m_nFragThreshold);
    m_nRtsThreshold = ThresholdFromText(pSheet->RTSThresh);
    ShowRtsThreshold(m_nRtsThreshold);

    pSheet->DenyUnencrypted = pSheet->WepReq == WEP_MODE_OFF ? 1 : 0;
    m_bDenyChecked = pSheet->DenyUnencrypted == 0 ? 1 : 0;
    m_chkDenyUnencrypted.SetCheck(m_bDenyChecked);

    m_nAuthTypeIndex = (int)pSheet->AuthentAlg - 1;
    m_cmbAuthType.SetCurSel(m_nAuthTypeIndex);
    m_nPreambleIndex = (int)pSheet->PreambleMode - 1;
    m_cmbPreamble.SetCurSel(m_nPreambleIndex);

    const BOOL bWepOn = pSheet->WepReq != WEP_MODE_OFF;
    if (!bWepOn) {
        m_chkDenyUnencrypted.SetCheck(0);
        m_cmbAuthType.SetCurSel(AUTH_OPEN_SYSTEM_POSITION);
    }
    m_chkDenyUnencrypted.EnableWindow(FALSE);
    m_cmbAuthType.EnableWindow(bWepOn);
    m_stcAuthType.EnableWindow(bWepOn);
    m_grpSecurity.EnableWindow(bWepOn);

    EnableUndoApply(FALSE);
    // A profile threshold beyond a slider's range becomes the nearest end of the range here; its label
    // keeps the number read from the profile.
    UpdateData(TRUE);
    return CPropertyPage::OnSetActive();
}

// Scrolling snaps the thumb to the slider's step and shows the value; it changes neither the members nor
// the buttons (a release of the mouse does that).
void CAdvancedPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    const HWND hScrolled = pScrollBar != nullptr ? pScrollBar->GetSafeHwnd() : nullptr;
    if (hScrolled != nullptr && hScrolled == m_sldFrag.GetSafeHwnd())
        ShowFragThreshold(SnapThreshold(m_sldFrag.GetPos(), FRAG_THRESHOLD_STEP));
    else if (hScrolled != nullptr && hScrolled == m_sldRts.GetSafeHwnd())
        ShowRtsThreshold(SnapThreshold(m_sldRts.GetPos(), RTS_THRESHOLD_STEP));
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CAdvancedPage::OnReleasedCaptureFrag(NMHDR*, LRESULT* pResult) {
    if (m_sldFrag.GetPos() != m_nFragThreshold) {
        EnableUndoApply(TRUE);
        UpdateData(TRUE);
    }
    *pResult = 0;
}

void CAdvancedPage::OnReleasedCaptureRts(NMHDR*, LRESULT* pResult) {
    if (m_sldRts.GetPos() != m_nRtsThreshold) {
        EnableUndoApply(TRUE);
        UpdateData(TRUE);
    }
    *pResult = 0;
}

void CAdvancedPage::OnSettingChanged() {
    UpdateData(TRUE);
    EnableUndoApply(TRUE);
    UpdateData(FALSE);
}

// Only the page changes: the working profile, the registry and the card see the factory values when they
// are applied. With WEP on the factory authentication is shared key.
void CAdvancedPage::OnRestoreDefaults() {
    m_nFragThreshold = THRESHOLD_MAX;
    ShowFragThreshold(m_nFragThreshold);
    m_nRtsThreshold = THRESHOLD_MAX;
    ShowRtsThreshold(m_nRtsThreshold);

    const BOOL bWepOn = Sheet()->WepReq != WEP_MODE_OFF;
    m_cmbAuthType.SetCurSel(bWepOn ? AUTH_SHARED_KEY_POSITION : AUTH_OPEN_SYSTEM_POSITION);
    m_chkDenyUnencrypted.SetCheck(bWepOn ? 1 : 0);
    m_cmbPreamble.SetCurSel(PREAMBLE_LONG_POSITION);

    EnableUndoApply(TRUE);
    UpdateData(TRUE);
}

// With WEP off the security controls stay as activation left them (open system, not checked).
void CAdvancedPage::OnUndoChanges() {
    CConfigUtility* pSheet = Sheet();
    if (pSheet->WepReq != WEP_MODE_OFF) {
        m_cmbAuthType.SetCurSel((int)pSheet->AuthentAlg - 1);
        m_chkDenyUnencrypted.SetCheck(pSheet->DenyUnencrypted == 0 ? 1 : 0);
    }
    m_cmbPreamble.SetCurSel((int)pSheet->PreambleMode - 1);

    m_nFragThreshold = ThresholdFromText(pSheet->FragThresh);
    ShowFragThreshold(m_nFragThreshold);
    m_nRtsThreshold = ThresholdFromText(pSheet->RTSThresh);
    ShowRtsThreshold(m_nRtsThreshold);

    EnableUndoApply(FALSE);
    UpdateData(TRUE);
}

// The sheet hands the Help button to the page that shows.
LRESULT CAdvancedPage::OnCommandHelp(WPARAM, LPARAM lParam) {
    AfxGetApp()->WinHelp(lParam != 0 ? (DWORD_PTR)lParam : (DWORD_PTR)HIDD_ADVANCED, HELP_CONTEXT);
    return TRUE;
}

void CAdvancedPage::OnPaint() {
    CPaintDC dc(this);
}
