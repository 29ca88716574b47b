// The Site Survey page: the access points and ad hoc stations the card has found, and joining one.
// "Search" makes the card look for any network for 3 seconds, lists what it found and puts the configured
// SSID and channel back; "Connect" writes the chosen row's network type and SSID to the card.
#pragma once
#include "adapter/CardRecords.h"
#include "adapter/NdisEnvelopes.h"
#include "fw/Framework.h"
#include "resource.h"

// The SSID text of the row the user selected last.
extern CString g_strChosenSSID;
// 1 while the card's desired SSID is "ANY" after a "Search", until the configured SSID is written back or a
// "Connect" has written another one.
extern BYTE g_bSurveySSIDActive;

// The scan results record 0xFD88 as it fills the card record envelope: after the 8-byte header, up to eight
// entries of 62 bytes, little-endian.
enum {
    SCAN_REQUEST_OFFSET = 6, // a word the page sets before the query
    SCAN_REQUEST_VALUE = 3,
    SCAN_ENTRIES_OFFSET = 8,
    SCAN_ENTRY_SIZE = 62,
    SCAN_ENTRY_COUNT = 8,
    SCAN_ENTRY_CHANNEL = 0,
    SCAN_ENTRY_SIGNAL = 4,
    SCAN_ENTRY_BSSID = 6,
    SCAN_ENTRY_CAPABILITY = 14,
    SCAN_ENTRY_SSID_LENGTH = 16,
    SCAN_ENTRY_SSID = 18,
    SCAN_CAPABILITY_ESS = 0x0001,
    SCAN_CAPABILITY_PRIVACY = 0x0010,
    SURVEY_SEARCH_DELAY = 3000, // ms from "ANY" to reading the list
};
static_assert(SCAN_ENTRIES_OFFSET + SCAN_ENTRY_COUNT * SCAN_ENTRY_SIZE == CARD_RECORD_SIZE,
              "eight scan entries fill the card record envelope");

// One row of the list, as read from one scan entry.
struct SurveyRow {
    CString strSSID; // what column 0 shows
    CString strBSSID;
    CString strSignal;
    CString strChannel;
    BOOL bPrivacy;
    BOOL bInfrastructure;
};

class CSiteSurveyPage : public CPropertyPage {
public:
    enum { IDD = IDD_SITE_SURVEY };

    CSiteSurveyPage();
    ~CSiteSurveyPage() override;

    // 1 once the columns are in and the list was filled once in this sheet window. The page object outlives
    // its window, so the main frame clears it after every showing of the sheet and the next showing fills the
    // page afresh.
    BYTE m_bColumnsReady;

    // The rows of a scan results envelope, in the card's order, up to the first entry with no SSID. The
    // envelope was zeroed before the query, so whatever the driver did not write reads as zeros, and the
    // byte count it reports is not looked at. Returns how many rows were filled.
    static int DecodeScanResults(const CARD_RECORD_ENVELOPE* pEnvelope, SurveyRow aRows[SCAN_ENTRY_COUNT]);
    static int SignalLevelToPercent(WORD wLevel);

protected:
    CButton m_btnSearch;
    CButton m_btnConnect;
    CListCtrl m_lstAccessPoints;
    int m_nSelectedItem;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    void InsertColumns();
    void FillSurveyList();
    void RestoreConfiguredNetwork();
    BOOL WriteDesiredSsid(const BYTE* pbSsid, DWORD cbSsid);
    void WriteConfiguredChannel();
    void Commit();

    afx_msg void OnSearch();
    afx_msg void OnConnect();
    afx_msg void OnClickList(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
