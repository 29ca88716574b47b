// The Link Info page: the link state, channel, rate, SSID, throughput, signal and quality of the card.
// While it shows, it reads the card every 2000 ms; "Re-Search" has the monitor thread write the whole basic
// configuration to the card again, so that the card searches for its network afresh.
#pragma once
#include "adapter/CardRecords.h"
#include "fw/Framework.h"
#include "resource.h"

// The link record this page reads the card into. It lives for the whole process; no other code reads it.
extern LinkStatus g_LinkStatus;

enum {
    LINK_LEVEL_MAX = 15,        // both bars run from 0 to 15
    LINK_REFRESH_PERIOD = 2000, // ms between two refreshes
    LINK_REFRESH_PHASES = 3,    // detail levels 0, 1, 2 in turn
    TRAFFIC_TX_UNICAST = 3,     // counters summed into the bytes sent ...
    TRAFFIC_TX_MULTICAST = 4,   //
    TRAFFIC_RX_UNICAST = 13,    // ... and into the bytes received
    TRAFFIC_RX_MULTICAST = 14,  //
};

class CLinkInfoPage : public CPropertyPage {
public:
    enum { IDD = IDD_LINK_INFO };

    CLinkInfoPage();
    ~CLinkInfoPage() override;

    // The texts of a refresh, kept apart from the window work.
    static UINT GetLinkStateTextId(WORD wLinkState);
    static LPCSTR GetRateText(WORD wTxRate);
    static BYTE ScaleSignalLevel(BYTE bSignal);
    static BYTE ClampLinkQuality(BYTE bQuality);
    // "Very Good (60%)"; the word alone for 0. bLevel is 0 .. LINK_LEVEL_MAX.
    static CString FormatLevelText(BYTE bLevel);
    // The bytes per second since the previous sum, which becomes dwSum. FALSE, with no rate, when the
    // counters went back.
    static BOOL TakeThroughput(DWORD dwSum, DWORD* pdwPrevSum, DWORD* pdwRate);
    // The SSID as a text: one character per byte, of the first wLength bytes. A zero byte ends the text, as
    // it ends every text a window shows: an SSID that starts with one shows as an empty text.
    // Design decision: a length word above SSID_FIELD_SIZE, which the card's link record may carry, reads
    // only the field's 32 bytes.
    static CString FormatSsidText(const BYTE* pbSsid, WORD wLength);
    // "00-60-B3-0A-BC-0F": the six bytes of a BSSID, as the Site Survey list shows them too.
    static CString FormatBssidText(const BYTE* pbBssid);
    // The bytes sent and received of a traffic counters answer (TRAFFIC_COUNTERS_SIZE bytes): the unicast and
    // multicast counters of each direction added, modulo 2^32 as the counters themselves wrap.
    static void SumTrafficCounters(const BYTE* pbCounters, DWORD* pdwTxSum, DWORD* pdwRxSum);

protected:
    BOOL m_bReSearchPending;
    int m_nRefreshPhase;
    CButton m_btnReSearch;
    CProgressCtrl m_prgLinkQuality;
    CEdit m_edtRate;
    CEdit m_edtSSID;
    CEdit m_edtChannel;
    CEdit m_edtState;
    CEdit m_edtReceived;
    CEdit m_edtTransmitted;
    CProgressCtrl m_prgSignal;
    CString m_strChannel;
    CString m_strRate;
    CString m_strSSID;
    CString m_strState;
    CString m_strReceived;
    CString m_strTransmitted;
    CString m_strSignal;
    CString m_strQuality;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    void RefreshLinkInfo(int nPhase);
    void ShowLevels();
    void ClearLevels();
    void ShowThroughput();
    static void ShowText(CEdit& edit, LPCSTR pszText);

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnReSearch();
    afx_msg void OnPaint();
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
