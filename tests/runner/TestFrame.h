// The runner's test application: a hidden frame window with a tray icon and a right-click menu, a sheet of
// the program's real Link Info and Configuration dialogs, and a worker thread that polls the card's link
// state through the driver-access library. Small, but it uses every path the runner drives: tray, menu,
// sheet, controls, message boxes, help, registry, debugger output, device and power notifications, a second
// program thread with time-outs, and an exit that ends the program.
#pragma once
#include "fw/Framework.h"

#include <atomic>

class CTestConfigPage : public CPropertyPage {
public:
    CTestConfigPage();

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSsidChange();
    afx_msg void OnApplyClicked();
    DECLARE_MESSAGE_MAP()
};

class CTestSheet : public CPropertySheet {
public:
    CTestSheet();
    BOOL OnInitDialog() override;
    CPropertyPage m_linkPage;
    CTestConfigPage m_configPage;
};

class CTestFrame : public CFrameWnd {
public:
    CTestFrame() = default;
    void SetTrayIcon(UINT icon);

    std::atomic<bool> m_stop{false};

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnShow();
    afx_msg void OnExit();
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    void SendTray(DWORD message, UINT icon);
    CTestSheet m_sheet;
    bool m_sheetUp = false;
};
