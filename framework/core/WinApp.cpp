#include "fw/WinApp.h"

#include "ThreadState.h"

#include "core/Backend.h"
#include "fw/DocView.h"

namespace {
CWinApp* s_pApp = nullptr;

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    if (lpszAppName != nullptr) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
    s_pApp = this;
}

CWinApp::~CWinApp() {
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}
int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run() {
    MSG msg{};
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        BOOL translated = FALSE;
        for (HWND h = msg.hwnd; h != nullptr && !translated; h = ::GetParent(h)) {
            CWnd* target = CWnd::FromHandlePermanent(h);
            if (target != nullptr)
                translated = target->PreTranslateMessage(&msg);
        }
        if (!translated) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        // The window objects FromHandle made for windows the program does not own last until the thread's
        // loop is done with a message, as the framework promises; kept longer, a new one for every window
        // of every showing of a dialog would pile up for the life of the program.
        fw::DeleteTemporaryWindows();
    }
    int exitCode = ExitInstance();
    return exitCode != 0 ? exitCode : static_cast<int>(msg.wParam);
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
    if (m_pszProfileName == nullptr)
        m_pszProfileName = m_pszAppName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    m_nMaxMRU = nMaxMRU;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate != nullptr)
        m_templates.emplace_back(pTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    CString line = m_lpCmdLine != nullptr ? m_lpCmdLine : "";
    line.TrimLeft();
    line.TrimRight();
    if (line.IsEmpty())
        return;
    bool isFlag = line[0] == '-' || line[0] == '/';
    rCmdInfo.ParseParam(isFlag ? static_cast<LPCTSTR>(line) + 1 : static_cast<LPCTSTR>(line), isFlag, TRUE);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        fw::GetBackend().ReportFailure("opening a document file is not supported");
        return FALSE;
    }
}

void CWinApp::OnFileNew() {
    if (m_templates.empty()) {
        fw::GetBackend().ReportFailure("no document template to create a document with");
        return;
    }
    m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    ::WinHelpA(m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr, m_pszHelpFilePath, nCmd, dwData);
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
    HWND owner = ::GetActiveWindow();
    if (owner == nullptr && m_pMainWnd != nullptr)
        owner = m_pMainWnd->m_hWnd;
    return ::MessageBoxA(owner, lpszPrompt, AfxGetAppName(), nType);
}

CWinApp* AFXAPI AfxGetApp() {
    return s_pApp;
}
CWnd* AFXAPI AfxGetMainWnd() {
    return s_pApp != nullptr ? s_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
    return s_pApp != nullptr && s_pApp->m_hInstance != nullptr ? s_pApp->m_hInstance
                                                               : fw::GetBackend().ResourceModule();
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

LPCTSTR AFXAPI AfxGetAppName() {
    return s_pApp != nullptr && s_pApp->m_pszAppName != nullptr ? s_pApp->m_pszAppName : "";
}

void AFXAPI AfxEnableControlContainer() {}
void AFXAPI AfxPostQuitMessage(int nExitCode) {
    ::PostQuitMessage(nExitCode);
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    if (s_pApp != nullptr)
        return s_pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(::GetActiveWindow(), lpszText, "", nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    if (!text.LoadString(nIDPrompt))
        fw::GetBackend().ReportFailure("message box text " + std::to_string(nIDPrompt) +
                                       " is not in the string table");
    return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        fw::GetBackend().ReportFailure("no application object");
        return -1;
    }
    app->m_hInstance = hInstance != nullptr ? hInstance : fw::GetBackend().ResourceModule();
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;
    app->m_nThreadID = ::GetCurrentThreadId();

    // Names the framework derives from the program file and the string table.
    static CString exeName;
    static CString appName;
    static CString helpPath;
    std::string path = fw::GetBackend().ModulePath();
    exeName = BaseName(path).c_str();
    app->m_pszExeName = exeName;
    if (app->m_pszAppName == nullptr) {
        if (!appName.LoadString(AFX_IDS_APP_TITLE))
            appName = exeName;
        app->m_pszAppName = appName;
    }
    size_t dot = path.rfind('.');
    helpPath = (dot == std::string::npos ? path : path.substr(0, dot)).c_str();
    helpPath += ".HLP";
    app->m_pszHelpFilePath = helpPath;

    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
