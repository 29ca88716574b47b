// One refresh of the Link Info page: the link status and the traffic counters read from the card, and the
// texts built from them.
#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "pages/LinkInfoPage.h"
#include "sheet/ConfigUtility.h"
#include "sheet/UiDriverTurn.h"

LinkStatus g_LinkStatus;

// The counter sums of the previous statistics read. They outlive the page and the sheet window, so the
// first refresh of a later showing measures from the last read of the earlier one.
static DWORD s_dwPrevTxBytes = 0;
static DWORD s_dwPrevRxBytes = 0;

void CLinkInfoPage::RefreshLinkInfo(int nPhase) {
    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    CUiDriverTurn turn(pSheet);

    // A failed read leaves every control as it was; the button stays disabled after "Re-Search".
    if (pSheet->m_Adapter.ReadLinkStatus(g_szAdapterName, &g_LinkStatus, nPhase)) {
        const BOOL bConnected = g_LinkStatus.LinkState == LINK_STATE_CONNECTED;
        if (m_bReSearchPending == 1) {
            m_bReSearchPending = 0;
            m_btnReSearch.EnableWindow(TRUE);
        }

        CString strState;
        CString strSsid;
        if (!bConnected) {
            strState.LoadString(GetLinkStateTextId(g_LinkStatus.LinkState));
            ClearLevels();
        } else {
            strSsid = FormatSsidText(g_LinkStatus.SSID, g_LinkStatus.SSIDLength);
            CString strBssid;
            const BYTE* pb = g_LinkStatus.BSSID;
            strBssid.Format("%02X-%02X-%02X-%02X-%02X-%02X", pb[0], pb[1], pb[2], pb[3], pb[4], pb[5]);
            strState.LoadString(IDS_STATE_CONNECTED);
            strState += strBssid;
            // An ad hoc cell has no access point whose signal the card could measure.
            if (g_LinkStatus.NetworkType == NETWORK_TYPE_ADHOC ||
                g_LinkStatus.NetworkType == NETWORK_TYPE_ADHOC_OTHER) {
                m_prgSignal.SetPos(0);
                SetDlgItemText(IDC_LINK_SIGNAL_TEXT, "N/A");
                m_prgLinkQuality.SetPos(0);
                SetDlgItemText(IDC_LINK_QUALITY_TEXT, "N/A");
            } else {
                ShowLevels();
            }
            ShowThroughput();
        }

        ShowText(m_edtState, strState);
        ShowText(m_edtRate, GetRateText(g_LinkStatus.TxRate));
        if (bConnected) {
            CString strChannel;
            strChannel.Format("%d", g_LinkStatus.DSChannel);
            ShowText(m_edtChannel, strChannel);
            ShowText(m_edtSSID, strSsid);
        } else {
            ShowText(m_edtChannel, " ");
            ShowText(m_edtRate, " ");
            ShowText(m_edtSSID, " ");
        }
    }
}

// The two levels are written back into the link record, scaled and clamped to the bars' range.
void CLinkInfoPage::ShowLevels() {
    g_LinkStatus.SignalStrength = ScaleSignalLevel(g_LinkStatus.SignalStrength);
    m_prgSignal.SetPos(g_LinkStatus.SignalStrength);
    SetDlgItemText(IDC_LINK_SIGNAL_TEXT, FormatLevelText(g_LinkStatus.SignalStrength));

    g_LinkStatus.LinkQuality = ClampLinkQuality(g_LinkStatus.LinkQuality);
    m_prgLinkQuality.SetPos(g_LinkStatus.LinkQuality);
    SetDlgItemText(IDC_LINK_QUALITY_TEXT, FormatLevelText(g_LinkStatus.LinkQuality));
}

void CLinkInfoPage::ClearLevels() {
    m_prgSignal.SetPos(0);
    SetDlgItemText(IDC_LINK_SIGNAL_TEXT, "");
    m_prgLinkQuality.SetPos(0);
    SetDlgItemText(IDC_LINK_QUALITY_TEXT, "");
}

// How many bytes the driver wrote is not looked at: a short answer is summed like a whole one.
// Design decision: the buffer is zeroed before the query, so the counters of a short answer that the driver
// did not reach read as 0 rather than as whatever the memory held.
void CLinkInfoPage::ShowThroughput() {
    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    BYTE abCounters[TRAFFIC_COUNTERS_SIZE] = {};
    DWORD cbWritten = 0;
    if (!pSheet->m_Adapter.QueryOid(g_szAdapterName, OID_TRAFFIC_COUNTERS, abCounters, sizeof abCounters,
                                    &cbWritten))
        return;

    const DWORD dwTxSum =
        GetLeDword(abCounters + TRAFFIC_TX_UNICAST * 4) + GetLeDword(abCounters + TRAFFIC_TX_MULTICAST * 4);
    const DWORD dwRxSum =
        GetLeDword(abCounters + TRAFFIC_RX_UNICAST * 4) + GetLeDword(abCounters + TRAFFIC_RX_MULTICAST * 4);
    DWORD dwRate = 0;
    CString strRate;
    if (TakeThroughput(dwTxSum, &s_dwPrevTxBytes, &dwRate)) {
        strRate.Format("%d", static_cast<int>(dwRate));
        ShowText(m_edtTransmitted, strRate);
    }
    if (TakeThroughput(dwRxSum, &s_dwPrevRxBytes, &dwRate)) {
        strRate.Format("%d", static_cast<int>(dwRate));
        ShowText(m_edtReceived, strRate);
    }
}

UINT CLinkInfoPage::GetLinkStateTextId(WORD wLinkState) {
    switch (wLinkState) {
    case 0:
        return IDS_STATE_NOT_AVAILABLE;
    case LINK_STATE_CONNECTED:
        return IDS_STATE_CONNECTED;
    case 2:
        return IDS_STATE_AUTHENTICATED;
    case 3:
        return IDS_STATE_SYNCHRONIZED;
    case 4:
        return IDS_STATE_SEARCHING;
    case 5:
        return IDS_STATE_DISCONNECTED;
    case 16:
        return IDS_STATE_TEST_FAILED;
    case 17:
        return IDS_STATE_REG_FAILED;
    default:
        return IDS_STATE_UNKNOWN;
    }
}

LPCSTR CLinkInfoPage::GetRateText(WORD wTxRate) {
    switch (wTxRate) {
    case 1:
        return "1";
    case 2:
        return "2";
    case 3:
        return "1 or 2";
    case 4:
        return "5.5";
    case 8:
        return "11";
    case 15:
        return "Auto";
    default:
        return "----";
    }
}

// The card reports the signal as 0 .. 13; the bar shows 0 .. 15.
BYTE CLinkInfoPage::ScaleSignalLevel(BYTE bSignal) {
    UINT nScaled = bSignal * 15u / 13u;
    return static_cast<BYTE>(nScaled > LINK_LEVEL_MAX ? static_cast<UINT>(LINK_LEVEL_MAX) : nScaled);
}

BYTE CLinkInfoPage::ClampLinkQuality(BYTE bQuality) {
    return bQuality > LINK_LEVEL_MAX ? static_cast<BYTE>(LINK_LEVEL_MAX) : bQuality;
}

CString CLinkInfoPage::FormatLevelText(BYTE bLevel) {
    UINT nWordId = IDS_LEVEL_EXCELLENT;
    if (bLevel == 0)
        nWordId = IDS_LEVEL_NO_SIGNAL;
    else if (bLevel <= 4)
        nWordId = IDS_LEVEL_POOR;
    else if (bLevel <= 8)
        nWordId = IDS_LEVEL_GOOD;
    else if (bLevel <= 11)
        nWordId = IDS_LEVEL_VERY_GOOD;
    CString strText;
    strText.LoadString(nWordId);
    if (bLevel != 0) {
        CString strPercent;
        strPercent.Format(" (%u%%)", bLevel * 100u / LINK_LEVEL_MAX);
        strText += strPercent;
    }
    return strText;
}

BOOL CLinkInfoPage::TakeThroughput(DWORD dwSum, DWORD* pdwPrevSum, DWORD* pdwRate) {
    const BOOL bForward = *pdwPrevSum <= dwSum;
    if (bForward)
        *pdwRate = (dwSum - *pdwPrevSum) / (LINK_REFRESH_PERIOD / 1000);
    *pdwPrevSum = dwSum;
    return bForward;
}

CString CLinkInfoPage::FormatSsidText(const BYTE* pbSsid, WORD wLength) {
    const int nLength = wLength > SSID_FIELD_SIZE ? static_cast<int>(SSID_FIELD_SIZE) : wLength;
    int nChars = 0;
    while (nChars < nLength && pbSsid[nChars] != 0)
        ++nChars;
    return CString(reinterpret_cast<LPCSTR>(pbSsid), nChars);
}
