#include "TestSheet.h"

#include "driver/UserDriver.h"

BEGIN_MESSAGE_MAP(TracingPage, CPropertyPage)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

BOOL TracingPage::OnInitDialog() {
    Note("init");
    return CPropertyPage::OnInitDialog();
}

BOOL TracingPage::OnSetActive() {
    Note("setactive");
    return CPropertyPage::OnSetActive();
}

BOOL TracingPage::OnKillActive() {
    Note("killactive");
    return m_bRefuseToLeave ? FALSE : CPropertyPage::OnKillActive();
}

BOOL TracingPage::OnApply() {
    Note("apply");
    return CPropertyPage::OnApply();
}

void TracingPage::OnOK() {
    Note("ok");
    CPropertyPage::OnOK();
}

void TracingPage::OnCancel() {
    Note("cancel");
    CPropertyPage::OnCancel();
}

void TracingPage::OnReset() {
    Note("reset");
    CPropertyPage::OnReset();
}

BOOL TracingPage::OnQueryCancel() {
    Note("querycancel");
    return !m_bRefuseCancel;
}

LRESULT TracingPage::OnCommandHelp(WPARAM, LPARAM lParam) {
    Note("help");
    AfxGetApp() != nullptr ? AfxGetApp()->WinHelp(lParam != 0 ? lParam : m_nHelpContext)
                           : WinHelp(lParam != 0 ? static_cast<DWORD_PTR>(lParam) : m_nHelpContext);
    return TRUE;
}

BEGIN_MESSAGE_MAP(FirstPage, TracingPage)
ON_EN_CHANGE(IDC_NAME, OnNameChange)
ON_CBN_SELCHANGE(IDC_MODE, OnModeChange)
ON_BN_CLICKED(IDC_APPLY, OnApplyChanges)
ON_NOTIFY(NM_CLICK, IDC_NETWORKS, OnClickNetworks)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_LEVEL, OnReleasedLevel)
ON_WM_TIMER()
END_MESSAGE_MAP()

void FirstPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_NETWORKS, m_lstNetworks);
    DDX_Control(pDX, IDC_MODE, m_cmbMode);
    DDX_Control(pDX, IDC_LEVEL, m_sldLevel);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, 8);
    DDX_CBIndex(pDX, IDC_MODE, m_nMode);
    DDX_Check(pDX, IDC_ENABLED, m_bEnabled);
    DDX_Slider(pDX, IDC_LEVEL, m_nLevel);
    DDX_CBString(pDX, IDC_PROFILE, m_strProfile);
}

BOOL FirstPage::OnInitDialog() {
    BOOL result = TracingPage::OnInitDialog();
    m_cmbMode.ResetContent();
    m_cmbMode.AddString("Ad-Hoc");
    m_cmbMode.AddString("Infrastructure");
    m_sldLevel.SetRange(0, 2432, TRUE);
    m_lstNetworks.InsertColumn(0, "SSID", LVCFMT_LEFT, 80);
    m_lstNetworks.InsertColumn(1, "Channel", LVCFMT_LEFT, 40);
    CComboBox* profiles = static_cast<CComboBox*>(GetDlgItem(IDC_PROFILE));
    profiles->AddString("office");
    profiles->AddString("default");
    profiles->AddString("Home");
    UpdateData(FALSE);
    return result;
}

void FirstPage::OnNameChange() {
    Note("namechange");
    GetDlgItem(IDC_APPLY)->EnableWindow(TRUE);
}

void FirstPage::OnModeChange() {
    UpdateData(TRUE);
    Note("modechange " + std::to_string(m_nMode));
}

void FirstPage::OnApplyChanges() {
    Note(UpdateData(TRUE) ? "applied" : "apply refused");
    GetDlgItem(IDC_APPLY)->EnableWindow(FALSE);
}

void FirstPage::OnClickNetworks(NMHDR*, LRESULT* pResult) {
    m_nClickedRow = m_lstNetworks.GetNextItem(-1, LVNI_SELECTED);
    *pResult = 0;
}

void FirstPage::OnReleasedLevel(NMHDR*, LRESULT* pResult) {
    m_nReleasedAt = m_sldLevel.GetPos();
    *pResult = 0;
}

void FirstPage::OnTimer(UINT_PTR nIDEvent) {
    m_ticks.push_back(nIDEvent);
    m_tickTimes.push_back(::GetTickCount());
    ++m_ticksSeen;
    TracingPage::OnTimer(nIDEvent);
}

void SecondPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_COUNT, m_nCount);
    DDV_MinMaxInt(pDX, m_nCount, 0, 99);
    DDX_Radio(pDX, IDC_RADIO_A, m_nRadio);
}

BEGIN_MESSAGE_MAP(TestSheet, CPropertySheet)
ON_COMMAND(ID_HELP, OnSheetHelp)
END_MESSAGE_MAP()

TestSheet::TestSheet(Trace& trace)
    : CPropertySheet(TEST_SHEET_TITLE), m_trace(trace), m_first(trace), m_second(trace) {
    m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP;
    m_first.m_psp.dwFlags |= PSP_HASHELP;
    m_second.m_psp.dwFlags |= PSP_HASHELP;
    m_first.m_nHelpContext = 102;
    m_second.m_nHelpContext = 103;
    AddPage(&m_first);
    AddPage(&m_second);
}

BOOL TestSheet::OnInitDialog() {
    BOOL result = CPropertySheet::OnInitDialog();
    m_trace.Add("sheet init");
    GetTabControl()->ModifyStyle(TCS_MULTILINE, 0);
    GetDlgItem(IDHELP)->EnableWindow(TRUE);
    if (m_nEndWhileMade != 0)
        EndModalLoop(m_nEndWhileMade);
    return result;
}

void TestSheet::OnSheetHelp() {
    SendMessage(WM_COMMANDHELP, 0, 0);
}

namespace {
struct UserRun {
    const std::function<void(HWND)>* user;
};

DWORD WINAPI UserThread(LPVOID context) {
    const UserRun* run = static_cast<const UserRun*>(context);
    HWND sheet = Driver().WaitForWindow(TEST_SHEET_TITLE);
    (*run->user)(sheet);
    return 0;
}
} // namespace

INT_PTR ShowWithUser(CPropertySheet& sheet, const std::function<void(HWND)>& user) {
    UserRun run{&user};
    HANDLE thread = ::CreateThread(nullptr, 0, &UserThread, &run, 0, nullptr);
    INT_PTR result = sheet.DoModal();
    // The user may still be sending to the sheet's window (enabling it after ending the loop): its messages
    // are taken while the thread is waited for, or it would wait for this thread for ever.
    while (::WaitForSingleObject(thread, 10) == WAIT_TIMEOUT) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    ::CloseHandle(thread);
    return result;
}
