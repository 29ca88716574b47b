// The Site Survey page's requests: a search for any network, and joining the network of a row.
#include "adapter/NdisRequests.h"
#include "common/Globals.h"
#include "pages/SiteSurveyPage.h"
#include "sheet/ConfigUtility.h"
#include "sheet/UiDriverTurn.h"

static const BYTE s_abAnySsid[] = {'A', 'N', 'Y'};

void CSiteSurveyPage::OnSearch() {
    m_lstAccessPoints.DeleteAllItems();
    m_btnSearch.EnableWindow(FALSE);
    m_btnConnect.EnableWindow(FALSE);

    {
        // The list comes from the timer whatever these answer; a card that refused shows an empty list.
        CUiDriverTurn turn(static_cast<CConfigUtility*>(GetParent()));
        WriteDesiredSsid(s_abAnySsid, sizeof s_abAnySsid);
        Commit();
    }

    g_bSurveySSIDActive = 1;
    SetTimer(IDD, SURVEY_SEARCH_DELAY);
}

void CSiteSurveyPage::OnClickList(NMHDR*, LRESULT* pResult) {
    int nItem = m_lstAccessPoints.GetNextItem(-1, LVNI_SELECTED);
    if (nItem != -1) {
        m_nSelectedItem = nItem;
        g_strChosenSSID = m_lstAccessPoints.GetItemText(nItem, 0);
        m_btnConnect.EnableWindow(TRUE);
    }
    *pResult = 0;
}

// The row's SSID is written as its text shows it: an SSID whose first byte is zero shows as an empty text,
// which is said ("Fail") and written all the same, as an empty desired SSID.
void CSiteSurveyPage::OnConnect() {
    g_strChosenSSID = m_lstAccessPoints.GetItemText(m_nSelectedItem, 0);
    if (g_strChosenSSID.IsEmpty())
        AfxMessageBox("Fail", MB_OK);

    CString strInfrastructure;
    strInfrastructure.LoadString(IDS_INFRASTRUCTURE);
    BYTE bNetworkType = m_lstAccessPoints.GetItemText(m_nSelectedItem, 5).Compare(strInfrastructure) == 0
                            ? NETWORK_TYPE_INFRASTRUCTURE
                            : NETWORK_TYPE_ADHOC;

    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    CUiDriverTurn turn(pSheet);
    if (!pSheet->m_Adapter.SetOid(g_szAdapterName, OID_NETWORK_TYPE, &bNetworkType, NETWORK_TYPE_SIZE))
        return;
    if (WriteDesiredSsid(reinterpret_cast<const BYTE*>(static_cast<LPCSTR>(g_strChosenSSID)),
                         static_cast<DWORD>(g_strChosenSSID.GetLength()))) {
        g_bSurveySSIDActive = 0;
        WriteConfiguredChannel();
        Commit();
        m_btnConnect.EnableWindow(FALSE);
    } else {
        AfxMessageBox(IDS_ERR_JOIN, MB_OK);
    }
}

// Puts the working profile's SSID and channel back in force after a search. Sent without the hand-shake:
// it follows the list read at once, or the page is being left.
void CSiteSurveyPage::RestoreConfiguredNetwork() {
    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    DWORD cbSsid =
        pSheet->SSIDLength > SSID_FIELD_SIZE ? static_cast<DWORD>(SSID_FIELD_SIZE) : pSheet->SSIDLength;
    WriteDesiredSsid(pSheet->SSID, cbSsid);
    WriteConfiguredChannel();
    Commit();
}

BOOL CSiteSurveyPage::WriteDesiredSsid(const BYTE* pbSsid, DWORD cbSsid) {
    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    CONFIG_ITEM_ENVELOPE envelope;
    if (!InitConfigItem(&envelope, ITEM_DESIRED_SSID, pbSsid, cbSsid))
        return 0;
    return pSheet->m_Adapter.SetOid(g_szAdapterName, OID_CONFIG_ITEM, envelope.abBytes, CONFIG_ITEM_SIZE);
}

void CSiteSurveyPage::WriteConfiguredChannel() {
    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    CONFIG_ITEM_ENVELOPE envelope;
    InitConfigItemByte(&envelope, ITEM_CHANNEL, LOBYTE(pSheet->DSChannel));
    pSheet->m_Adapter.SetOid(g_szAdapterName, OID_CONFIG_ITEM, envelope.abBytes, CONFIG_ITEM_SIZE);
}

void CSiteSurveyPage::Commit() {
    CConfigUtility* pSheet = static_cast<CConfigUtility*>(GetParent());
    pSheet->m_Adapter.SetOid(g_szAdapterName, OID_COMMIT, nullptr, 0);
}
