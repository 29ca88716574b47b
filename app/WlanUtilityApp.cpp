#include "app/WlanUtilityApp.h"

#include "app/MainFrame.h"
#include "app/StartupGate.h"
#include "app/TarvexDoc.h"
#include "app/TarvexView.h"
#include "app/WindowsKind.h"
#include "common/Globals.h"
#include "resource.h"

namespace {

// What the own frame is called while it looks for another copy's window, so as not to find itself.
const char s_szTempTitle[] = "TempName";

} // namespace

BEGIN_MESSAGE_MAP(CWlanUtilityApp, CWinApp)
END_MESSAGE_MAP()

BOOL CWlanUtilityApp::InitInstance() {
    // The card monitor thread's first search waits for this start-up, which the gate tells it has ended.
    CStartupGate startupGate;

    AfxEnableControlContainer();
    Enable3dControls();
    SetRegistryKey(_T("PRISM2.5"));
    LoadStdProfileSettings(4);

    CSingleDocTemplate* pDocTemplate = new CSingleDocTemplate(
        IDR_MAINFRAME, RUNTIME_CLASS(CTarvexDoc), RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CTarvexView));
    AddDocTemplate(pDocTemplate);

    // The frame is created hidden; making it makes the sheet object and starts the card monitor thread.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    m_nCmdShow = SW_HIDE;
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    m_pMainWnd->SetWindowText(s_szTempTitle);
    HWND hOtherCopy = ::FindWindowA(nullptr, g_szAppTitle);
    m_pMainWnd->SetWindowText(g_szAppTitle);
    if (hOtherCopy != nullptr) {
        CString strMessage;
        strMessage.LoadString(IDS_ALREADY_RUNNING);
        ::MessageBoxA(nullptr, strMessage, g_szAppTitle, MB_TASKMODAL | MB_ICONINFORMATION | MB_TOPMOST);
        return FALSE;
    }

    if (!DetectWindowsKind())
        return FALSE;
    return TRUE;
}
