#include "TestFrame.h"

#include "W32N50.h"
#include "resource.h"

#include <cstring>
#include <string>

namespace {

enum { ID_SHOW = 2002, ID_EXIT = 2004 };
const char kAdapter[] = "\\Device\\{5E0C7A93-1260-3873-0000-000000000007}";

UINT s_nTrayMessage = 0;
std::atomic<bool> s_bStopWorker{false};
CTestFrame* s_pFrame = nullptr;

WORD QueryLinkState() {
    HANDLE adapter = W32N_OpenAdapterA(kAdapter);
    if (adapter == INVALID_HANDLE_VALUE)
        return 0xFFFF;
    WORD state = 0xFFFF;
    W32N_REQUEST request;
    std::memset(&request, 0, sizeof request);
    request.RequestType = W32N_QUERY_INFORMATION;
    request.Oid = 0xFF010199u;
    request.InformationBuffer = &state;
    request.InformationBufferLength = sizeof state;
    if (W32N_MakeNdisRequest(adapter, &request, nullptr, 1) != 0)
        state = 0xFFFF;
    W32N_CloseAdapter(adapter);
    return state;
}

// Polls the link state once a second and shows it in the tray; the one-second wait is a time-out of a
// wait on an event that only the exit sets.
UINT AFXAPI LinkWorker(LPVOID wake) {
    WORD last = 0xFFFF;
    while (!s_bStopWorker) {
        const WORD state = QueryLinkState();
        if (state != last && !s_bStopWorker && s_pFrame != nullptr)
            s_pFrame->SetTrayIcon(state == 1 ? IDI_LINK_CONNECTED : IDI_LINK_NOT_CONNECTED);
        last = state;
        ::WaitForSingleObject(static_cast<HANDLE>(wake), 1000);
    }
    return 0;
}

HANDLE s_hWake = nullptr;

} // namespace

BEGIN_MESSAGE_MAP(CTestConfigPage, CPropertyPage)
ON_EN_CHANGE(IDC_CFG_SSID, OnSsidChange)
ON_BN_CLICKED(IDC_CFG_APPLY, OnApplyClicked)
END_MESSAGE_MAP()

CTestConfigPage::CTestConfigPage() : CPropertyPage(IDD_CONFIGURATION) {}

BOOL CTestConfigPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_CFG_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Infrastructure"));
    ::SendDlgItemMessageA(m_hWnd, IDC_CFG_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ad Hoc"));
    ::SendDlgItemMessageA(m_hWnd, IDC_CFG_MODE, CB_SETCURSEL, 0, 0);
    return TRUE;
}

void CTestConfigPage::OnSsidChange() {
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CFG_APPLY), TRUE);
}

void CTestConfigPage::OnApplyClicked() {
    char ssid[64] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_CFG_SSID, ssid, sizeof ssid);
    if (AfxMessageBox("Apply the new SSID?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\RunnerTest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExA(key, "SSID", 0, REG_SZ, reinterpret_cast<const BYTE*>(ssid),
                         static_cast<DWORD>(std::strlen(ssid) + 1));
        ::RegCloseKey(key);
    }
    ::OutputDebugStringA("ssid applied\n");
    ::MessageBeep(MB_OK);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CFG_APPLY), FALSE);
}

CTestSheet::CTestSheet() : CPropertySheet("Runner Test"), m_linkPage(IDD_LINK_INFO) {
    m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP;
    m_linkPage.m_psp.dwFlags |= PSP_HASHELP;
    m_configPage.m_psp.dwFlags |= PSP_HASHELP;
    AddPage(&m_linkPage);
    AddPage(&m_configPage);
}

BOOL CTestSheet::OnInitDialog() {
    const BOOL result = CPropertySheet::OnInitDialog();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDHELP), TRUE);
    return result;
}

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
ON_WM_CREATE()
ON_REGISTERED_MESSAGE(s_nTrayMessage, OnTrayNotify)
ON_COMMAND(ID_SHOW, OnShow)
ON_COMMAND(ID_EXIT, OnExit)
ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

void CTestFrame::SendTray(DWORD message, UINT icon) {
    NOTIFYICONDATAA nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = m_hWnd;
    nid.uID = 1;
    if (message != NIM_DELETE) {
        nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        nid.uCallbackMessage = s_nTrayMessage;
        nid.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(icon));
        std::strcpy(nid.szTip, "Runner Test");
    }
    ::Shell_NotifyIconA(message, &nid);
}

void CTestFrame::SetTrayIcon(UINT icon) {
    SendTray(NIM_MODIFY, icon);
}

int CTestFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    s_pFrame = this;
    SendTray(NIM_ADD, IDI_LINK_NOT_CONNECTED);
    s_bStopWorker = false;
    s_hWake = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    AfxBeginThread(LinkWorker, s_hWake);
    return 0;
}

LRESULT CTestFrame::OnTrayNotify(WPARAM, LPARAM lParam) {
    if (static_cast<UINT>(lParam) == WM_LBUTTONDBLCLK) {
        OnShow();
    } else if (static_cast<UINT>(lParam) == WM_RBUTTONUP) {
        HMENU menu = ::CreatePopupMenu();
        ::AppendMenuA(menu, MF_STRING | (m_sheetUp ? MF_GRAYED : 0), ID_SHOW, "Show");
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(menu, MF_STRING, ID_EXIT, "Exit");
        ::TrackPopupMenu(menu, TPM_RIGHTALIGN, 0, 0, 0, m_hWnd, nullptr);
        ::DestroyMenu(menu);
    }
    return 0;
}

void CTestFrame::OnShow() {
    if (m_sheetUp)
        return;
    m_sheetUp = true;
    m_sheet.DoModal();
    m_sheetUp = false;
}

void CTestFrame::OnExit() {
    s_bStopWorker = true;
    s_pFrame = nullptr;
    ::SetEvent(s_hWake);
    SendTray(NIM_DELETE, 0);
    DestroyWindow();
}

BOOL CTestFrame::OnDeviceChange(UINT nEventType, DWORD_PTR dwData) {
    const auto* node = reinterpret_cast<const DEV_BROADCAST_DEVNODE*>(dwData);
    if ((nEventType == DBT_DEVICEARRIVAL || nEventType == DBT_DEVICEREMOVECOMPLETE) && node != nullptr &&
        node->dbcd_devicetype == DBT_DEVTYP_DEVNODE && node->dbcd_size > sizeof *node) {
        const std::string id(reinterpret_cast<const char*>(node + 1), node->dbcd_size - sizeof *node - 1);
        ::OutputDebugStringA(
            ((nEventType == DBT_DEVICEARRIVAL ? "device arrival " : "device removal ") + id + "\n").c_str());
    }
    return TRUE;
}

LRESULT CTestFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_POWERBROADCAST)
        ::OutputDebugStringA(("power broadcast " + std::to_string(wParam) + "\n").c_str());
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

// The application object, found by the framework (and so by the runner) through AfxGetApp.
class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override {
        s_nTrayMessage = ::RegisterWindowMessageA("RUNNER_TEST_TRAY");
        auto* frame = new CTestFrame;
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
            delete frame;
            return FALSE;
        }
        m_pMainWnd = frame;
        return TRUE;
    }
};

CTestApp theTestApp;
