// The texts the Link Info page makes of what the card reports: the link state and rate codes, the signal and
// quality levels, the SSID and BSSID of the link record, and the throughput from the traffic counters.
#include "adapter/NdisEnvelopes.h"
#include "adapter/NdisRequests.h"
#include "pages/LinkInfoPage.h"

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

CString CLinkInfoPage::FormatBssidText(const BYTE* pbBssid) {
    CString strBssid;
    strBssid.Format("%02X-%02X-%02X-%02X-%02X-%02X", pbBssid[0], pbBssid[1], pbBssid[2], pbBssid[3],
                    pbBssid[4], pbBssid[5]);
    return strBssid;
}

void CLinkInfoPage::SumTrafficCounters(const BYTE* pbCounters, DWORD* pdwTxSum, DWORD* pdwRxSum) {
    *pdwTxSum =
        GetLeDword(pbCounters + TRAFFIC_TX_UNICAST * 4) + GetLeDword(pbCounters + TRAFFIC_TX_MULTICAST * 4);
    *pdwRxSum =
        GetLeDword(pbCounters + TRAFFIC_RX_UNICAST * 4) + GetLeDword(pbCounters + TRAFFIC_RX_MULTICAST * 4);
}

CString CLinkInfoPage::FormatSsidText(const BYTE* pbSsid, WORD wLength) {
    const int nLength = wLength > SSID_FIELD_SIZE ? static_cast<int>(SSID_FIELD_SIZE) : wLength;
    int nChars = 0;
    while (nChars < nLength && pbSsid[nChars] != 0)
        ++nChars;
    return CString(reinterpret_cast<LPCSTR>(pbSsid), nChars);
}
