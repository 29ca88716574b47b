// Driver answers of any length and content, turned into what the pages show by the pages' own decoders: the
// About page's firmware version, the Site Survey page's scan results record, and two refreshes of the Link
// Info page (the link record, then the traffic counters while connected). The requests go through the driver
// channel over the scripted driver-access library, with the buffers the pages use.
//
// Input: one byte of flags (bit 0: the card counts as present; bits 1-2 and 3-4: the detail level of the
// first and the second refresh, modulo the page's three), then the script of the library's answers
// (ScriptedDriverLibrary.cpp), request by request in the pages' order.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "ScriptedDriverLibrary.h"
#include "adapter/NdisRequests.h"
#include "adapter/WlanAdapter.h"
#include "common/Globals.h"
#include "hostui/Resources.h"
#include "pages/AboutPage.h"
#include "pages/LinkInfoPage.h"
#include "pages/SiteSurveyPage.h"

namespace {

void Check(bool bHolds, const char* pszWhat) {
    if (!bHolds) {
        std::fprintf(stderr, "invariant broken: %s\n", pszWhat);
        std::abort();
    }
}

// A text a window can show whole: no zero byte inside, at most cchMax characters.
void CheckText(const CString& str, int cchMax, const char* pszWhat) {
    Check(std::strlen(str) == static_cast<size_t>(str.GetLength()) && str.GetLength() <= cchMax, pszWhat);
}

// The text is the first bytes of pbField up to its length word, the field's end or a zero byte.
void CheckSsid(const CString& str, const BYTE* pbField, WORD wLength) {
    CheckText(str, SSID_FIELD_SIZE, "an SSID is at most the field's 32 characters");
    const int nLength = str.GetLength();
    Check(nLength <= wLength && std::memcmp(str, pbField, nLength) == 0, "an SSID shows the field's bytes");
    Check(nLength == wLength || nLength == SSID_FIELD_SIZE || pbField[nLength] == 0,
          "an SSID stops only at its length, the field's end or a zero byte");
}

void CheckBssid(const CString& str, const BYTE* pbBssid) {
    unsigned auBytes[6] = {};
    char chAfter = 0;
    Check(str.GetLength() == 17 &&
              std::sscanf(str, "%2X-%2X-%2X-%2X-%2X-%2X%c", &auBytes[0], &auBytes[1], &auBytes[2],
                          &auBytes[3], &auBytes[4], &auBytes[5], &chAfter) == 6,
          "a BSSID is six hexadecimal pairs");
    for (int i = 0; i < 6; ++i)
        Check(auBytes[i] == pbBssid[i], "a BSSID shows the answer's bytes in order");
}

void CheckFirmwareVersion(CWlanAdapter& adapter, const CAdapterName& name) {
    BYTE abVersion[FIRMWARE_VERSION_SIZE] = {};
    DWORD cbWritten = 0;
    if (!adapter.QueryOid(name, OID_FIRMWARE_VERSION, abVersion, sizeof(abVersion), &cbWritten))
        cbWritten = 0;
    const CString strVersion = CAboutPage::FormatFirmwareVersion(abVersion, cbWritten);
    if (cbWritten != FIRMWARE_VERSION_SIZE) {
        Check(strVersion.str() == "---", "only a four-byte answer is a version");
        return;
    }
    unsigned auParts[4] = {};
    Check(std::sscanf(strVersion, "%u.%u.%u.%u", &auParts[0], &auParts[1], &auParts[2], &auParts[3]) == 4 &&
              auParts[0] == abVersion[2] && auParts[1] == abVersion[1] && auParts[2] == abVersion[0] &&
              auParts[3] == abVersion[3],
          "the version reads b2.b1.b0.b3");
}

void CheckScanResults(CWlanAdapter& adapter, const CAdapterName& name) {
    CARD_RECORD_ENVELOPE envelope;
    InitCardRecordRead(&envelope, RID_SCAN_RESULTS);
    PutLeWord(envelope.abBytes + SCAN_REQUEST_OFFSET, SCAN_REQUEST_VALUE);
    DWORD cbAnswer = 0;
    if (!adapter.QueryOid(name, OID_CARD_RECORD, envelope.abBytes, CARD_RECORD_SIZE, &cbAnswer))
        return;
    SurveyRow aRows[SCAN_ENTRY_COUNT];
    const int nRows = CSiteSurveyPage::DecodeScanResults(&envelope, aRows);
    Check(nRows >= 0 && nRows <= SCAN_ENTRY_COUNT, "at most eight rows");
    for (int i = 0; i <= nRows && i < SCAN_ENTRY_COUNT; ++i) {
        const BYTE* pbEntry = envelope.abBytes + SCAN_ENTRIES_OFFSET + i * SCAN_ENTRY_SIZE;
        const WORD wSsidLength = GetLeWord(pbEntry + SCAN_ENTRY_SSID_LENGTH);
        if (i == nRows) {
            Check(wSsidLength == 0, "the list ends only at an entry without SSID");
            break;
        }
        Check(wSsidLength != 0, "an entry without SSID is no row");
        const SurveyRow& row = aRows[i];
        CheckSsid(row.strSSID, pbEntry + SCAN_ENTRY_SSID, wSsidLength);
        CheckBssid(row.strBSSID, pbEntry + SCAN_ENTRY_BSSID);
        unsigned uPercent = 0;
        char chAfter = 0;
        Check(std::sscanf(row.strSignal, "%u%%%c", &uPercent, &chAfter) == 1 && uPercent <= 100,
              "the signal is a percentage");
        const WORD wLevel = GetLeWord(pbEntry + SCAN_ENTRY_SIGNAL);
        Check(wLevel == 0 || CSiteSurveyPage::SignalLevelToPercent(wLevel - 1) <= static_cast<int>(uPercent),
              "a stronger signal never shows less");
        Check(std::strtoul(row.strChannel, nullptr, 10) == GetLeWord(pbEntry + SCAN_ENTRY_CHANNEL),
              "the channel is the entry's word");
        const WORD wCapability = GetLeWord(pbEntry + SCAN_ENTRY_CAPABILITY);
        Check(row.bPrivacy == ((wCapability & SCAN_CAPABILITY_PRIVACY) != 0) &&
                  row.bInfrastructure == ((wCapability & SCAN_CAPABILITY_ESS) != 0),
              "privacy and network type follow the capability bits");
    }
}

void CheckLevel(BYTE bLevel) {
    Check(bLevel <= LINK_LEVEL_MAX, "a level stays on the bar");
    Check(!CLinkInfoPage::FormatLevelText(bLevel).IsEmpty(), "every level has a text");
}

// One refresh of the Link Info page; the link record and the previous counter sums live on between refreshes
// as the page's do.
void CheckLinkRefresh(CWlanAdapter& adapter, const CAdapterName& name, int nPhase, LinkStatus* pStatus,
                      DWORD* pdwPrevTx, DWORD* pdwPrevRx) {
    if (!adapter.ReadLinkStatus(name, pStatus, nPhase))
        return;
    CString strState;
    strState.LoadString(CLinkInfoPage::GetLinkStateTextId(pStatus->LinkState));
    Check(!strState.IsEmpty(), "every link state has a text");
    Check(CLinkInfoPage::GetRateText(pStatus->TxRate) != nullptr, "every rate code has a text");
    if (pStatus->LinkState != LINK_STATE_CONNECTED)
        return;

    CheckSsid(CLinkInfoPage::FormatSsidText(pStatus->SSID, pStatus->SSIDLength), pStatus->SSID,
              pStatus->SSIDLength);
    CheckBssid(CLinkInfoPage::FormatBssidText(pStatus->BSSID), pStatus->BSSID);
    CheckLevel(CLinkInfoPage::ScaleSignalLevel(pStatus->SignalStrength));
    CheckLevel(CLinkInfoPage::ClampLinkQuality(pStatus->LinkQuality));

    BYTE abCounters[TRAFFIC_COUNTERS_SIZE] = {};
    DWORD cbWritten = 0;
    if (!adapter.QueryOid(name, OID_TRAFFIC_COUNTERS, abCounters, sizeof abCounters, &cbWritten))
        return;
    DWORD dwTxSum = 0;
    DWORD dwRxSum = 0;
    CLinkInfoPage::SumTrafficCounters(abCounters, &dwTxSum, &dwRxSum);
    std::uint32_t aCounters[TRAFFIC_COUNTERS_SIZE / 4];
    std::memcpy(aCounters, abCounters, sizeof aCounters); // the host is little-endian, as the answer is
    Check(dwTxSum == static_cast<std::uint32_t>(aCounters[TRAFFIC_TX_UNICAST] +
                                                aCounters[TRAFFIC_TX_MULTICAST]) &&
              dwRxSum ==
                  static_cast<std::uint32_t>(aCounters[TRAFFIC_RX_UNICAST] + aCounters[TRAFFIC_RX_MULTICAST]),
          "the sums are of the unicast and multicast counters");
    for (DWORD* pdwPrev : {pdwPrevTx, pdwPrevRx}) {
        const DWORD dwSum = pdwPrev == pdwPrevTx ? dwTxSum : dwRxSum;
        const DWORD dwPrev = *pdwPrev;
        DWORD dwRate = 0xFFFFFFFF;
        const BOOL bRate = CLinkInfoPage::TakeThroughput(dwSum, pdwPrev, &dwRate);
        Check(*pdwPrev == dwSum, "the sum becomes the previous one");
        Check(bRate == (dwPrev <= dwSum), "a rate only while the counters go forward");
        Check(!bRate || dwRate == (dwSum - dwPrev) / (LINK_REFRESH_PERIOD / 1000),
              "the rate is per second of the refresh period");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pbData, std::size_t cbData) {
    static const bool s_bResources = [] {
        std::string strError;
        auto resources = hostui::LoadScriptResources(WLAN_RESOURCE_SCRIPT, &strError);
        if (!resources) {
            std::fprintf(stderr, "%s\n", strError.c_str());
            std::abort();
        }
        hostui::SetResources(resources);
        return true;
    }();
    (void)s_bResources;

    CFuzzInput input(pbData, cbData);
    const std::uint8_t bFlags = input.Byte();
    {
        CScriptedCard card(input, bFlags & 1);
        const CAdapterName& name = card.Name();
        CWlanAdapter adapter;
        CheckFirmwareVersion(adapter, name);
        CheckScanResults(adapter, name);
        LinkStatus status;
        std::memset(&status, 0, sizeof(status));
        DWORD dwPrevTx = 0;
        DWORD dwPrevRx = 0;
        CheckLinkRefresh(adapter, name, ((bFlags >> 1) & 3) % LINK_REFRESH_PHASES, &status, &dwPrevTx,
                         &dwPrevRx);
        CheckLinkRefresh(adapter, name, ((bFlags >> 3) & 3) % LINK_REFRESH_PHASES, &status, &dwPrevTx,
                         &dwPrevRx);
        adapter.CloseAdapter();
    }
    Check(g_nRequestsInFlight == 0, "no request is left in flight");
    return 0;
}
