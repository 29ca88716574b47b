// The rows of the Site Survey list decoded from the card's scan results record, and their signal percentages.
#include "pages/LinkInfoPage.h"
#include "pages/SiteSurveyPage.h"

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
        row.strBSSID = CLinkInfoPage::FormatBssidText(pbEntry + SCAN_ENTRY_BSSID);
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
