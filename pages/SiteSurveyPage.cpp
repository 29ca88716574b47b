#include "pages/SiteSurveyPage.h"

#include "sheet/ConfigUtility.h"

CString g_strChosenSSID;
BYTE g_bSurveySSIDActive = 0;

BEGIN_MESSAGE_MAP(CSiteSurveyPage, CPropertyPage)
ON_BN_CLICKED(IDC_SURVEY_SEARCH, OnSearch)
ON_BN_CLICKED(IDC_SURVEY_CONNECT, OnConnect)
ON_NOTIFY(NM_CLICK, IDC_SURVEY_LIST, OnClickList)
ON_WM_TIMER()
ON_WM_PAINT()
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

CSiteSurveyPage::CSiteSurveyPage() : CPropertyPage(IDD), m_bColumnsReady(0), m_nSelectedItem(-1) {}

CSiteSurveyPage::~CSiteSurveyPage() {}

void CSiteSurveyPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SURVEY_SEARCH, m_btnSearch);
    DDX_Control(pDX, IDC_SURVEY_CONNECT, m_btnConnect);
    DDX_Control(pDX, IDC_SURVEY_LIST, m_lstAccessPoints);
}

// The list is filled once per showing of the sheet, from whatever the card found last; later activations
// show the rows as they were.
BOOL CSiteSurveyPage::OnSetActive() {
    if (!m_bColumnsReady) {
        InsertColumns();
        FillSurveyList();
        m_bColumnsReady = 1;
    }
    return CPropertyPage::OnSetActive();
}

// A search whose list has not come yet is given up: the card gets its own SSID and channel back.
BOOL CSiteSurveyPage::OnKillActive() {
    if (g_bSurveySSIDActive == 1)
        RestoreConfiguredNetwork();
    m_btnSearch.EnableWindow(TRUE);
    g_bSurveySSIDActive = 0;
    KillTimer(IDD);
    return CPropertyPage::OnKillActive();
}

void CSiteSurveyPage::OnOK() {
    m_bColumnsReady = 0;
    CPropertyPage::OnOK();
}

// Cancel does not leave the page through OnKillActive: a search still waiting for its list keeps the card's
// desired SSID "ANY" until the page is next left.
void CSiteSurveyPage::OnCancel() {
    m_bColumnsReady = 0;
    CPropertyPage::OnCancel();
}

// The list 3 seconds after "Search", then the card's own SSID and channel again.
void CSiteSurveyPage::OnTimer(UINT_PTR) {
    FillSurveyList();
    if (g_bSurveySSIDActive == 1)
        RestoreConfiguredNetwork();
    g_bSurveySSIDActive = 0;
    m_btnSearch.EnableWindow(TRUE);
    KillTimer(IDD);
    Default();
}

void CSiteSurveyPage::OnPaint() {
    CPaintDC dc(this);
}

LRESULT CSiteSurveyPage::OnCommandHelp(WPARAM, LPARAM lParam) {
    AfxGetApp()->WinHelp(lParam != 0 ? static_cast<DWORD_PTR>(lParam) : HIDD_SITE_SURVEY);
    return TRUE;
}

void CSiteSurveyPage::InsertColumns() {
    static const struct {
        LPCSTR pszHeading;
        int nWidth;
    } s_aColumns[] = {
        {"SSID", 101}, {"BSSID", 108}, {"Signal", 41}, {"Channel", 51}, {"WEP", 37}, {"BSSType", 101},
    };
    for (int i = 0; i < static_cast<int>(sizeof s_aColumns / sizeof s_aColumns[0]); ++i)
        m_lstAccessPoints.InsertColumn(i, s_aColumns[i].pszHeading, LVCFMT_LEFT, s_aColumns[i].nWidth, i);
}
