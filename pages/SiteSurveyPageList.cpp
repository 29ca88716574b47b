// The Site Survey list: the card's scan results record read, decoded and shown one row per entry.
#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "pages/LinkInfoPage.h"
#include "pages/SiteSurveyPage.h"
#include "sheet/ConfigUtility.h"
#include "sheet/UiDriverTurn.h"

void CSiteSurveyPage::FillSurveyList() {
    m_lstAccessPoints.SetExtendedStyle(m_lstAccessPoints.GetExtendedStyle() | LVS_EX_FULLROWSELECT);

    CARD_RECORD_ENVELOPE envelope;
    InitCardRecordRead(&envelope, RID_SCAN_RESULTS);
    PutLeWord(envelope.abBytes + SCAN_REQUEST_OFFSET, SCAN_REQUEST_VALUE);

    {
        CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
        CUiDriverTurn turn(pSheet);
        // A failed read keeps the rows the list has.
        DWORD cbAnswer = 0;
        if (pSheet->m_Adapter.QueryOid(g_szAdapterName, OID_CARD_RECORD, envelope.abBytes, CARD_RECORD_SIZE,
                                       &cbAnswer)) {
            m_lstAccessPoints.DeleteAllItems();
            SurveyRow aRows[SCAN_ENTRY_COUNT];
            const int nRows = DecodeScanResults(&envelope, aRows);
            CString strBssType;
            for (int i = 0; i < nRows; ++i) {
                const SurveyRow& row = aRows[i];
                m_lstAccessPoints.InsertItem(i, row.strSSID);
                m_lstAccessPoints.SetItemText(i, 1, row.strBSSID);
                m_lstAccessPoints.SetItemText(i, 2, row.strSignal);
                m_lstAccessPoints.SetItemText(i, 3, row.strChannel);
                m_lstAccessPoints.SetItemText(i, 4, row.bPrivacy ? "Yes" : "No");
                strBssType.LoadString(row.bInfrastructure ? IDS_INFRASTRUCTURE : IDS_AD_HOC);
                m_lstAccessPoints.SetItemText(i, 5, strBssType);
            }
        }
    }

    m_btnSearch.EnableWindow(TRUE);
    m_btnConnect.EnableWindow(FALSE);
}

int CSiteSurveyPage::DecodeScanResults(const CARD_RECORD_ENVELOPE* pEnvelope,
                                       SurveyRow aRows[SCAN_ENTRY_COUNT]) {
    int nRows = 0;
    for (int i = 0; i < SCAN_ENTRY_COUNT; ++i) {
        const BYTE* pbEntry = pEnvelope->abBytes + SCAN_ENTRIES_OFFSET + i * SCAN_ENTRY_SIZE;
        const WORD wSsidLength = GetLeWord(pbEntry + SCAN_ENTRY_SSID_LENGTH);
        if (wSsidLength == 0)
            break;

        SurveyRow& row = aRows[nRows++];
        row.strSSID = CLinkInfoPage::FormatSsidText(pbEntry + SCAN_ENTRY_SSID, wSsidLength);
        const BYTE* pb = pbEntry + SCAN_ENTRY_BSSID;
        row.strBSSID.Format("%02X-%02X-%02X-%02X-%02X-%02X", pb[0], pb[1], pb[2], pb[3], pb[4], pb[5]);
        row.strSignal.Format("%d%%", SignalLevelToPercent(GetLeWord(pbEntry + SCAN_ENTRY_SIGNAL)));
        row.strChannel.Format("%d", GetLeWord(pbEntry + SCAN_ENTRY_CHANNEL));
        const WORD wCapability = GetLeWord(pbEntry + SCAN_ENTRY_CAPABILITY);
        row.bPrivacy = (wCapability & SCAN_CAPABILITY_PRIVACY) != 0;
        row.bInfrastructure = (wCapability & SCAN_CAPABILITY_ESS) != 0;
    }
    return nRows;
}

// The scan level on the same sixteen steps as the bars of the Link Info page.
int CSiteSurveyPage::SignalLevelToPercent(WORD wLevel) {
    static const struct {
        UINT nBelow;
        int nPercent;
    } s_aSteps[] = {
        {8, 0},   {12, 6},  {14, 13}, {16, 20}, {17, 26}, {20, 33}, {23, 40}, {26, 46},
        {29, 53}, {33, 60}, {37, 66}, {41, 73}, {45, 80}, {50, 86}, {53, 93},
    };
    const UINT nScaled = wLevel * 15u / 13u;
    for (const auto& step : s_aSteps) {
        if (nScaled < step.nBelow)
            return step.nPercent;
    }
    return 100;
}
