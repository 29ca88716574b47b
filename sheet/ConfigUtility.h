// CConfigUtility: the configuration property sheet, and the program's central object. Beyond its six pages it
// carries the working profile, the driver channel with its write caches, the link state the monitor thread
// last saw, and the two events through which the user-interface thread and the card monitor thread take turns
// at the driver. One object is made with the main frame and serves every showing of the sheet.
#pragma once
#include <win32api.h>
#include <atomic>

#include "adapter/WlanAdapter.h"
#include "fw/Framework.h"
#include "pages/AboutPage.h"
#include "pages/AdvancedPage.h"
#include "pages/EncryptionPage.h"
#include "pages/LinkInfoPage.h"
#include "pages/SiteSurveyPage.h"
#include "profiles/ConfigPage.h"
#include "sheet/WorkingProfile.h"

enum {
    LINK_STATE_UNKNOWN = 0xFFFF,
    HANDSHAKE_WAIT_LIMIT = 2000, // ms a side of the hand-shake waits for the other before it goes on anyway
};

class CConfigUtility : public CPropertySheet, public CWorkingProfile {
public:
    CConfigUtility(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // The pages, in tab order.
    CLinkInfoPage m_pageLinkInfo;
    CConfigPage m_pageConfig;
    CSiteSurveyPage m_pageSiteSurvey;
    CEncryptionPage m_pageEncryption;
    CAdvancedPage m_pageAdvanced;
    CAboutPage m_pageAbout;

    // Design decision: two holders share the object: the main frame, which made it, and the card monitor
    // thread, which the frame starts with a reference of its own. Exit lets go of the frame's reference 1000
    // ms after telling the thread to stop, without waiting for it; the object goes when the last holder lets
    // go, so the thread never meets a deleted sheet, whatever it is doing at that moment. The count starts at
    // 1 (the maker's).
    void AddRef();
    void Release();

    // Ends the modal loop with nResult and enables the sheet window, from any thread; nothing when the
    // sheet is not up. The monitor thread calls it when the card goes away.
    void CloseSheetWindow(int nResult);
    void EndModalLoop(int nResult) override;

    BOOL OnInitDialog() override;

    // Discovery of the card's adapter (run by the card monitor thread).
    int FindAdapter(int nStartIndex);
    BOOL CheckCardPresent();

    // The profile store.
    BOOL LoadProfile(LPCSTR pszName);
    BOOL SaveProfile();

    // The driver channel and its write caches.
    CWlanAdapter m_Adapter;

    // The link state the monitor thread last saw; LINK_STATE_UNKNOWN when unknown. Written by both threads.
    std::atomic<WORD> m_wLastLinkState;

    // The hand-shake: a side that wants the driver resets its own event and waits (at most
    // HANDSHAKE_WAIT_LIMIT ms) for the other's. m_hUiIdle starts signalled, m_hMonitorIdle not. The pages
    // take their side through CUiDriverTurn (sheet/UiDriverTurn.h).
    HANDLE m_hUiIdle;
    HANDLE m_hMonitorIdle;

protected:
    afx_msg void OnHelp();
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    LONG m_nRefs;

    // The sheet window while it is up, for the other thread: m_hWnd belongs to the user-interface thread.
    std::atomic<HWND> m_hSheetWnd;
};

// The one sheet object; set by the main frame when it is created, cleared at exit.
extern std::atomic<CConfigUtility*> g_pConfigSheet;
