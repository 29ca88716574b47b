#include "pages/LinkInfoPage.h"

#include "common/Globals.h"
#include "sheet/ConfigUtility.h"

BEGIN_MESSAGE_MAP(CLinkInfoPage, CPropertyPage)
ON_WM_TIMER()
ON_WM_PAINT()
ON_BN_CLICKED(IDC_LINK_RESEARCH, OnReSearch)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

CLinkInfoPage::CLinkInfoPage() : CPropertyPage(IDD), m_bReSearchPending(0), m_nRefreshPhase(0) {}

CLinkInfoPage::~CLinkInfoPage() {}

void CLinkInfoPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LINK_RESEARCH, m_btnReSearch);
    DDX_Control(pDX, IDC_LINK_QUALITY_BAR, m_prgLinkQuality);
    DDX_Control(pDX, IDC_LINK_RATE, m_edtRate);
    DDX_Control(pDX, IDC_LINK_SSID, m_edtSSID);
    DDX_Control(pDX, IDC_LINK_CHANNEL, m_edtChannel);
    DDX_Control(pDX, IDC_LINK_STATE, m_edtState);
    DDX_Control(pDX, IDC_LINK_RECEIVED, m_edtReceived);
    DDX_Control(pDX, IDC_LINK_TRANSMITTED, m_edtTransmitted);
    DDX_Control(pDX, IDC_LINK_SIGNAL_BAR, m_prgSignal);
    DDX_Text(pDX, IDC_LINK_CHANNEL, m_strChannel);
    DDX_Text(pDX, IDC_LINK_RATE, m_strRate);
    DDX_Text(pDX, IDC_LINK_SSID, m_strSSID);
    DDX_Text(pDX, IDC_LINK_STATE, m_strState);
    DDX_Text(pDX, IDC_LINK_RECEIVED, m_strReceived);
    DDX_Text(pDX, IDC_LINK_TRANSMITTED, m_strTransmitted);
    DDX_Text(pDX, IDC_LINK_SIGNAL_TEXT, m_strSignal);
    DDX_Text(pDX, IDC_LINK_QUALITY_TEXT, m_strQuality);
}

// Design decision: the framework's activation runs first. On every activation but the first after the
// window was made, it puts the eight texts kept at the last deactivation back into the controls; running it
// after the immediate refresh would cover the fresh values with those old ones for a whole period.
BOOL CLinkInfoPage::OnSetActive() {
    BOOL bResult = CPropertyPage::OnSetActive();
    m_prgSignal.SetRange(0, LINK_LEVEL_MAX);
    m_prgLinkQuality.SetRange(0, LINK_LEVEL_MAX);
    RefreshLinkInfo(0);
    SetTimer(IDD, LINK_REFRESH_PERIOD);
    return bResult;
}

BOOL CLinkInfoPage::OnKillActive() {
    KillTimer(IDD);
    return CPropertyPage::OnKillActive();
}

void CLinkInfoPage::OnOK() {
    g_bSheetActive = 0;
    CPropertyPage::OnOK();
}

void CLinkInfoPage::OnCancel() {
    g_bSheetActive = 0;
    CPropertyPage::OnCancel();
}

// Every tick is one refresh; the detail level goes 0, 1, 2 and round again, so the values that change
// least are read least often.
void CLinkInfoPage::OnTimer(UINT_PTR) {
    int nPhase = m_nRefreshPhase++;
    RefreshLinkInfo(nPhase);
    if (m_nRefreshPhase >= LINK_REFRESH_PHASES)
        m_nRefreshPhase = 0;
    Default();
}

// The page sends nothing itself: the monitor thread writes every basic setting on its next cycle and
// commits, and the card searches again. The button comes back with the next successful read.
void CLinkInfoPage::OnReSearch() {
    ShowText(m_edtState, "");
    ShowText(m_edtRate, "");
    ClearLevels();
    ShowText(m_edtTransmitted, "");
    ShowText(m_edtReceived, "");
    ShowText(m_edtSSID, "");
    ShowText(m_edtChannel, "");

    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    pSheet->m_Adapter.m_bForceRewrite = 1;
    g_bConfigPending = 1;

    m_bReSearchPending = 1;
    m_nRefreshPhase = 0;
    m_btnReSearch.EnableWindow(FALSE);
}

void CLinkInfoPage::OnPaint() {
    CPaintDC dc(this);
}

LRESULT CLinkInfoPage::OnCommandHelp(WPARAM, LPARAM lParam) {
    AfxGetApp()->WinHelp(lParam != 0 ? static_cast<DWORD_PTR>(lParam) : HIDD_LINK_INFO);
    return TRUE;
}

void CLinkInfoPage::ShowText(CEdit& edit, LPCSTR pszText) {
    edit.SetWindowText(pszText);
    edit.Invalidate();
    edit.UpdateWindow();
}
