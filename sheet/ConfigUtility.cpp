#include "sheet/ConfigUtility.h"

#include "common/Globals.h"

std::atomic<CConfigUtility*> g_pConfigSheet{nullptr};

BEGIN_MESSAGE_MAP(CConfigUtility, CPropertySheet)
ON_COMMAND(ID_HELP, OnHelp)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CConfigUtility::CConfigUtility(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage), m_wLastLinkState(LINK_STATE_UNKNOWN), m_nRefs(1),
      m_hSheetWnd(nullptr) {
    // No Apply button; a Help button, on the sheet and on every page.
    m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP;
    CPropertyPage* apPages[] = {&m_pageLinkInfo,   &m_pageConfig,   &m_pageSiteSurvey,
                                &m_pageEncryption, &m_pageAdvanced, &m_pageAbout};
    for (CPropertyPage* pPage : apPages) {
        pPage->m_psp.dwFlags |= PSP_HASHELP;
        AddPage(pPage);
    }

    // The hand-shake starts with the user interface idle and the monitor thread not yet through a cycle.
    // The events are never closed: they live as long as the process. A failed creation leaves a null event,
    // whose waits return at once, so the hand-shake then simply has no effect.
    m_hUiIdle = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    m_hMonitorIdle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

void CConfigUtility::AddRef() {
    InterlockedIncrement(&m_nRefs);
}

void CConfigUtility::Release() {
    if (InterlockedDecrement(&m_nRefs) == 0)
        delete this;
}

BOOL CConfigUtility::OnInitDialog() {
    BOOL bResult = CPropertySheet::OnInitDialog();

    // All six tabs in one row.
    GetTabControl()->ModifyStyle(TCS_MULTILINE, 0);
    GetDlgItem(IDHELP)->EnableWindow(TRUE);

    m_hSheetWnd = m_hWnd;
    g_bSheetActive = 1;
    LoadProfile(nullptr);
    return bResult;
}

void CConfigUtility::OnHelp() {
    SendMessage(WM_COMMANDHELP, 0, 0);
}

void CConfigUtility::OnDestroy() {
    m_hSheetWnd = nullptr;
    CPropertySheet::OnDestroy();
}

// Design decision: the framework's EndModalLoop reads m_hWnd, which only the user-interface thread may: this
// one wakes the loop through the copy of the handle kept for other threads. A handle read just before the
// window went is harmless: the system refuses messages to a window that no longer exists.
void CConfigUtility::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    m_bContinueModal = false;
    if (HWND hSheet = m_hSheetWnd)
        ::PostMessageA(hSheet, WM_NULL, 0, 0);
}

void CConfigUtility::CloseSheetWindow(int nResult) {
    HWND hSheet = m_hSheetWnd;
    if (hSheet == nullptr)
        return;
    EndModalLoop(nResult);
    ::EnableWindow(hSheet, TRUE);
}
