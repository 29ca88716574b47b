#include "app/MainFrame.h"

#include "app/CardMonitorThread.h"
#include "common/Globals.h"
#include "resource.h"
#include "sheet/ConfigUtility.h"

namespace {

enum {
    STOP_GRACE = 1000,  // the monitor thread's time to notice the stop before the sheet goes
    SUSPEND_QUERY = 0,  // wParam of WM_POWER and WM_POWERBROADCAST when Windows asks to suspend
    IDD_ABOUTBOX = 100, // the framework's about box; the resources have no such dialog
};

} // namespace

CMainFrame* g_pMainFrame = nullptr;
UINT g_nTrayMessage = ::RegisterWindowMessageA("TARVEX_ICON_PRESSED");

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_REGISTERED_MESSAGE(g_nTrayMessage, OnTrayNotify)
ON_COMMAND_RANGE(ID_TRAY_FIRST, ID_TRAY_EXIT, OnMenuCommand)
ON_WM_CLOSE()
ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {
    g_pMainFrame = this;
}

CMainFrame::~CMainFrame() {
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    CConfigUtility* pSheet = new CConfigUtility(g_szAppTitle, nullptr, 0);
    g_pConfigSheet = pSheet;
    SetTrayIconOwner(this);

    // The thread's own reference, taken before it starts so that it holds the sheet from its first moment.
    pSheet->AddRef();
    if (AfxBeginThread(CardMonitorThread, &g_pConfigSheet) == nullptr)
        pSheet->Release();
    return 0;
}

void CMainFrame::OnDestroy() {
    // From here on no other thread reaches the frame through the tray calls.
    SetTrayIconOwner(nullptr);
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnMenuCommand(UINT nID) {
    CConfigUtility* pSheet = g_pConfigSheet;
    switch (nID) {
    case ID_TRAY_SHOW:
        if (g_bCardPresent == 0)
            AfxMessageBox(IDS_CARD_NOT_PRESENT, MB_ICONINFORMATION);
        else if (g_bSheetActive == 0) {
            g_bExitAfterSheet = 0;
            OpenSheet();
        }
        break;
    case ID_TRAY_HIDE:
        if (g_bSheetActive == 1 && pSheet != nullptr)
            pSheet->CloseSheetWindow(IDCANCEL);
        break;
    case ID_TRAY_EXIT:
        StopProgram();
        if (g_bSheetActive == 0)
            FinishExit();
        break;
    case ID_TRAY_ABOUT: {
        CDialog dlgAbout(IDD_ABOUTBOX);
        dlgAbout.DoModal();
        break;
    }
    default:
        break;
    }
}

void CMainFrame::OnClose() {
    // The framework's close handling destroys the frame, so only the sheet is left to go here.
    StopProgram();
    if (g_bSheetActive == 0) {
        if (CConfigUtility* pSheet = g_pConfigSheet.exchange(nullptr))
            pSheet->Release();
    }
    CFrameWnd::OnClose();
}

// Opening the sheet runs its modal loop here; tray messages and commands that come meanwhile are handled
// inside it, and an exit asked for meanwhile is finished once the loop has returned. A close request inside
// the loop destroys the frame, so after the loop nothing here touches the frame's own members.
void CMainFrame::OpenSheet() {
    CConfigUtility* pSheet = g_pConfigSheet;
    if (pSheet == nullptr)
        return;
    pSheet->DoModal();
    g_bSheetActive = 0;
    pSheet->m_pageConfig.m_bPagesFilled = 0;
    pSheet->m_pageSiteSurvey.m_bColumnsReady = 0;
    pSheet->m_pageEncryption.m_bCombosFilled = 0;
    pSheet->m_pageAdvanced.m_bCombosFilled = 0;
    if (g_bExitAfterSheet == 1)
        FinishExit();
}

// Tells the monitor thread to stop, gives it a second, and closes what the program holds outside: the
// adapter and the tray icon. A sheet that is up is closed; the exit is then finished after its loop.
void CMainFrame::StopProgram() {
    g_bStopMonitor = 1;
    Sleep(STOP_GRACE);
    CConfigUtility* pSheet = g_pConfigSheet;
    if (g_bSheetActive == 1 && pSheet != nullptr) {
        pSheet->CloseSheetWindow(IDOK);
        g_bExitAfterSheet = 1;
    }
    if (pSheet != nullptr)
        pSheet->m_Adapter.CloseAdapter();
    TrayDelete();
}

void CMainFrame::FinishExit() {
    CConfigUtility* pSheet = g_pConfigSheet.exchange(nullptr);
    if (CMainFrame* pFrame = g_pMainFrame)
        pFrame->DestroyWindow(); // the frame deletes itself here
    if (pSheet != nullptr)
        pSheet->Release();
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_POWER || message == WM_POWERBROADCAST) && wParam == SUSPEND_QUERY)
        g_bSuspendSeen = 1;
    return CFrameWnd::WindowProc(message, wParam, lParam);
}
