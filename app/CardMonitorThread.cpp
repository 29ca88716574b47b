#include "app/CardMonitorThread.h"

#include <cstring>

#include "adapter/NdisRequests.h"
#include "app/StartupGate.h"
#include "common/Globals.h"
#include "common/TrayIcon.h"
#include "resource.h"
#include "sheet/ConfigUtility.h"

// Sharing with the user-interface thread. Every flag the two threads share is an atomic byte (Globals.h):
// each read and write is whole and seen by the other thread in program order, so the flags keep the plain
// byte protocol without a data race. The sheet's window is reached only through CloseSheetWindow, which
// works on the handle copy the sheet keeps for other threads. The sheet object itself stays alive for this
// thread through its own reference (see CConfigUtility::AddRef). The basic configuration is read from the
// working profile only after g_bConfigPending was seen set: the page stores the values before it sets the
// flag, and the atomic flag orders the two.

namespace {

enum {
    SEARCH_INTERVAL = 2000, // between two searches for the card
    CYCLE_PAUSE = 1000,     // between two polling cycles
};

enum CYCLE_END {
    CYCLE_DONE,          // signal the user interface and pause
    CYCLE_AGAIN_AT_ONCE, // a configuration was applied: next cycle without pause
    CYCLE_SEARCH_AGAIN,  // back from a suspend: search the card from scratch
};

// Search phase: until the card is verified, or the main frame has seen it arrive.
void SearchForCard(CConfigUtility* pSheet) {
    g_szAdapterName.Clear();
    while (!pSheet->CheckCardPresent()) {
        Sleep(SEARCH_INTERVAL);
        if (g_bCardPresent == 1)
            return;
    }
}

// The sheet goes down when the card does (Windows 2000; elsewhere the removal notification does it), and
// the adapter is let go.
void DropCard(CConfigUtility* pSheet) {
    if (g_bSheetActive == 1)
        pSheet->CloseSheetWindow(IDOK);
    pSheet->m_Adapter.CloseAdapter();
}

void ApplyPendingConfig(CConfigUtility* pSheet, LinkStatus& status) {
    g_bConfigPending = 0;
    status.DSChannel = pSheet->DSChannel;
    status.TxRate = pSheet->TxRate;
    status.NetworkType = pSheet->NetworkType;
    status.PSMode = pSheet->PSMode;
    // Design decision: however long SSIDLength says the SSID is, no more than the 32-byte field is copied.
    WORD cbSsid = pSheet->SSIDLength;
    if (cbSsid > sizeof(status.SSID))
        cbSsid = (WORD)sizeof(status.SSID);
    std::memcpy(status.SSID, pSheet->SSID, cbSsid);
    status.SSIDLength = cbSsid;

    if (!pSheet->m_Adapter.ApplyBasicConfig(g_szAdapterName, &status)) {
        CString strMessage;
        strMessage.LoadString(IDS_ERR_SET_CONFIG);
        ::MessageBoxA(nullptr, strMessage, AfxGetAppName(), MB_OK);
    }
}

CYCLE_END PollLinkState(CConfigUtility* pSheet, LinkStatus& status) {
    BYTE abLinkState[LINK_STATE_SIZE];
    DWORD cbWritten = 0;
    if (pSheet->m_Adapter.QueryOid(g_szAdapterName, OID_LINK_STATE, abLinkState, LINK_STATE_SIZE,
                                   &cbWritten) &&
        cbWritten == LINK_STATE_SIZE) {
        status.LinkState = (WORD)(abLinkState[0] | (abLinkState[1] << 8));
        if (status.LinkState != pSheet->m_wLastLinkState) {
            TrayIconModify(status.LinkState == LINK_STATE_CONNECTED ? TRAY_ICON_CONNECTED
                                                                    : TRAY_ICON_NOT_CONNECTED);
            pSheet->m_wLastLinkState = status.LinkState;
        }
        return CYCLE_DONE;
    }

    pSheet->m_wLastLinkState = LINK_STATE_UNKNOWN;
    if (g_bSuspendSeen == 1) {
        // Not a lost card: the system has been asleep, and the adapter needs finding again.
        g_bSuspendSeen = 0;
        return CYCLE_SEARCH_AGAIN;
    }
    g_bCardPresent = 0;
    if (g_nOsKind == OSKIND_WIN2000)
        DropCard(pSheet);
    return CYCLE_DONE;
}

CYCLE_END RunCycle(CConfigUtility* pSheet, LinkStatus& status) {
    ResetEvent(pSheet->m_hMonitorIdle);
    WaitForSingleObject(pSheet->m_hUiIdle, HANDSHAKE_WAIT_LIMIT);

    if (g_bCardPresent == 0 || !pSheet->CheckCardPresent()) {
        pSheet->m_wLastLinkState = LINK_STATE_UNKNOWN;
        // Only Windows 2000 looks for the card again by itself; the others wait for its arrival notification.
        if (g_nOsKind == OSKIND_WIN2000) {
            pSheet->CheckCardPresent();
            DropCard(pSheet);
        }
        return CYCLE_DONE;
    }
    if (g_bConfigPending == 1) {
        ApplyPendingConfig(pSheet, status);
        return CYCLE_AGAIN_AT_ONCE;
    }
    return PollLinkState(pSheet, status);
}

} // namespace

UINT AFXAPI CardMonitorThread(LPVOID pParam) {
    CConfigUtility* pSheet = *static_cast<std::atomic<CConfigUtility*>*>(pParam);
    if (pSheet == nullptr)
        return 0;

    LinkStatus status;
    std::memset(&status, 0, sizeof(status));
    // The first search needs the Windows kind, which start-up may still be working out.
    CStartupGate::WaitUntilOpen();
    for (;;) {
        SearchForCard(pSheet);
        CYCLE_END nEnd = CYCLE_DONE;
        while (nEnd != CYCLE_SEARCH_AGAIN) {
            if (g_bStopMonitor == 1) {
                pSheet->Release();
                AfxEndThread(0);
            }
            nEnd = RunCycle(pSheet, status);
            if (nEnd == CYCLE_DONE) {
                SetEvent(pSheet->m_hMonitorIdle);
                Sleep(CYCLE_PAUSE);
            }
        }
    }
}
