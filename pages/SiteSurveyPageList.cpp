// The Site Survey list: the card's scan results record read and shown one row per entry (decoded in
// SiteSurveyPageScan.cpp).
#include "adapter/NdisRequests.h"
#include "common/Globals.h"
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
