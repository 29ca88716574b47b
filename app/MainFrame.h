// CMainFrame: the hidden frame of the program. It owns the tray icon and its menu, receives the device and
// power notifications, makes the sheet object and starts the card monitor thread when it is created, and
// takes the program down on Exit or a close request.
#pragma once
#include "common/TrayIcon.h"
#include "fw/Framework.h"

class CConfigUtility;

class CMainFrame : public CFrameWnd, public CTrayIconOwner {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // The tray icon; callable from any thread (other threads go through TrayIconAdd and its kin, which keep
    // them away from a frame that is going). TRUE when Shell_NotifyIconA succeeded.
    BOOL TrayAdd(UINT nIconId) override;
    BOOL TrayModify(UINT nIconId) override;
    BOOL TrayDelete() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMenuCommand(UINT nID);
    afx_msg void OnClose();
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);

    DECLARE_MESSAGE_MAP()

    CStatusBar m_wndStatusBar; // never created as windows
    CToolBar m_wndToolBar;

private:
    BOOL SendTrayRecord(DWORD dwMessage, UINT nIconId);
    void ShowTrayMenu();
    void OpenSheet();
    void BringSheetForward();
    void StopProgram();
    static void FinishExit();
};

// The one main frame.
extern CMainFrame* g_pMainFrame;

// The tray icon's callback message, registered before the program starts.
extern UINT g_nTrayMessage;
