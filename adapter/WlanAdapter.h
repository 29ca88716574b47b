// The one channel through which every request to the card's driver passes, and the compound operations that
// turn a whole record into a sequence of requests.
//
// The channel opens the adapter on demand, hands each request to the driver-access library, closes the
// adapter after any failed request, and closes it after each successful query while the card is not yet known
// to be present (g_bCardPresent 0). Every operation returns 1 on success and 0 on failure; MakeRequest passes
// the library's status on (0 = success).
//
// The adapter name argument is the shared g_szAdapterName itself; the channel reads it (as one whole copy)
// only when it has to open the adapter.
//
// Two threads use the channel: the user-interface thread and the card monitor thread. Their request
// sequences are normally kept apart by the sheet's hand-shake events, but after a hand-shake time-out both
// can be inside the channel at once. Design decision: so every operation, simple or compound, holds the
// channel lock for its whole run, from open through the requests to close: the two threads' requests are
// never inside the library together, neither sees the other's half-open adapter, m_Overlapped with its
// request event serves one request at a time, and a compound operation's caches are never touched by two
// threads at once. Every order in which the two threads' operations can now run is one the channel without
// the lock could also produce, so no request sequence changes. CloseAdapter called from outside looks at
// g_nRequestsInFlight before it takes the lock: while the other thread's request is with the driver it
// returns at once and leaves the adapter open.
#pragma once
#include <win32api.h>
#include <W32N50.h>
#include <atomic>

#include "common/AdapterName.h"
#include "adapter/CardRecords.h"
#include "adapter/ChannelLock.h"
#include "adapter/NdisEnvelopes.h"

// The library leaves the adapter's zero-terminated device name at a fixed place in its registry information.
enum {
    ADAPTER_REGISTRY_INFO_SIZE = W32N_REGISTRY_INFO_SIZE,
    ADAPTER_DEVICE_NAME_OFFSET = W32N_DEVICE_NAME_OFFSET,
    ADAPTER_DEVICE_NAME_SIZE = ADAPTER_REGISTRY_INFO_SIZE - ADAPTER_DEVICE_NAME_OFFSET,
    ADAPTER_DEVICE_PATH_SIZE = 128,
};
static_assert(ADAPTER_REGISTRY_INFO_SIZE == 780 && ADAPTER_DEVICE_NAME_OFFSET == 520,
              "the device name is the last 260 bytes of the 780-byte registry information");
static_assert(sizeof(void*) != 4 || sizeof(OVERLAPPED) == 20, "OVERLAPPED is 20 bytes in the 32-bit build");

class CWlanAdapter {
public:
    CWlanAdapter();
    ~CWlanAdapter();
    CWlanAdapter(const CWlanAdapter&) = delete;
    CWlanAdapter& operator=(const CWlanAdapter&) = delete;

    // The channel.
    BOOL OpenAdapter(const CAdapterName& name);
    BOOL CloseAdapter();
    BOOL QueryOid(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer, LPDWORD pcbWritten);
    BOOL SetOid(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer);
    BOOL SetCardRecord(const CAdapterName& name, LPVOID pBuffer, DWORD cbBuffer);
    DWORD MakeRequest(W32N_REQUEST* pRequest);

    // Compound operations. Each stops at the first failed request and returns 0; the caches then hold what
    // was written before the failure.
    BOOL ReadLinkStatus(const CAdapterName& name, LinkStatus* pStatus, int nDetail);
    BOOL ApplyBasicConfig(const CAdapterName& name, const LinkStatus* pWanted);
    BOOL ReadAdvancedSettings(const CAdapterName& name, CardSettings* pSettings);
    // bPreambleMode, pszFragThresh and pszRtsThresh are the working profile's PreambleMode, FragThresh and
    // RTSThresh (the thresholds as decimal texts).
    BOOL WriteAdvancedSettings(const CAdapterName& name, const CardSettings* pSettings, BYTE bPreambleMode,
                               LPCSTR pszFragThresh, LPCSTR pszRtsThresh);
    BOOL WriteWepSettings(const CAdapterName& name, const CardSettings* pSettings);

    // Set by the Link Info page: the next ApplyBasicConfig first forgets what it wrote, so it writes every
    // basic setting again. Set and read by different threads.
    std::atomic<BOOL> m_bForceRewrite;

private:
    // Called with m_lock held.
    BOOL OpenLocked(const CAdapterName& name);
    void CloseLocked();
    DWORD MakeRequestLocked(W32N_REQUEST* pRequest);
    BOOL QueryLocked(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer,
                     LPDWORD pcbWritten);
    BOOL SetLocked(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer);
    BOOL QueryExactLocked(const CAdapterName& name, DWORD dwOid, BYTE* pBuffer, DWORD cbBuffer);
    BOOL ReadCardRecordLocked(const CAdapterName& name, WORD wRecordId, CARD_RECORD_ENVELOPE* pEnvelope,
                              LPDWORD pcbAnswer);
    BOOL WriteCardRecordWordLocked(const CAdapterName& name, WORD wRecordId, WORD wValue);
    BOOL WriteConfigItemLocked(const CAdapterName& name, DWORD dwItemCode, const void* pValue, DWORD cbValue);
    BOOL WriteWepKeyLocked(const CAdapterName& name, BYTE bKeyNumber, const BYTE* pbKey, DWORD cbKey);
    BOOL CommitLocked(const CAdapterName& name);

    CChannelLock m_lock;

    // The channel's state.
    HANDLE m_hAdapter;
    BYTE m_RegistryInfo[ADAPTER_REGISTRY_INFO_SIZE];
    char m_szDevicePath[ADAPTER_DEVICE_PATH_SIZE];
    OVERLAPPED m_Overlapped; // hEvent is the request event, 0 while the adapter is closed

    // What was last written to the card. They start out as values no setting has, so that the first write
    // sends everything (except an authentication algorithm of 0x1111).
    CardSettings m_WepCache; // TxKeyIndex, WepMode and the four keys
    LinkStatus m_BasicCache; // NetworkType, DSChannel, SSID, SSIDLength, TxRate, PSMode
    WORD m_wLastAuthentAlg;
    WORD m_wLastPreamble; // compared as its low byte
    WORD m_wLastFragThreshold;
    WORD m_wLastRtsThreshold;
};
