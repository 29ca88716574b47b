// One refresh of the Link Info page: the link status and the traffic counters read from the card and shown
// (the texts are made in LinkInfoPageTexts.cpp).
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
            strState.LoadString(IDS_STATE_CONNECTED);
            strState += FormatBssidText(g_LinkStatus.BSSID);
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

    DWORD dwTxSum = 0;
    DWORD dwRxSum = 0;
    SumTrafficCounters(abCounters, &dwTxSum, &dwRxSum);
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
