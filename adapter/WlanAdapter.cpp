#include "adapter/WlanAdapter.h"

#include <cstdlib>
#include <cstring>

#include "adapter/NdisRequests.h"
#include "adapter/DosDeviceName.h"
#include "common/Globals.h"

namespace {

const char s_szDevicePrefix[] = "\\Device\\";
const char s_szRequestFailed[] = "ndis request faile\n";

} // namespace

CWlanAdapter::CWlanAdapter()
    : m_bForceRewrite(0), m_hAdapter(INVALID_HANDLE_VALUE), m_wLastAuthentAlg(0x1111),
      m_wLastPreamble(0xFFFF), m_wLastFragThreshold(0xFFFF), m_wLastRtsThreshold(0xFFFF) {
    std::memset(m_RegistryInfo, 0, sizeof(m_RegistryInfo));
    std::memset(m_szDevicePath, 0, sizeof(m_szDevicePath));
    std::memset(&m_Overlapped, 0, sizeof(m_Overlapped));
    std::memset(&m_WepCache, 0xFF, sizeof(m_WepCache));
    std::memset(&m_BasicCache, 0xFF, sizeof(m_BasicCache));
}

// The program closes the adapter itself on its way out; this only keeps a forgotten handle from leaking.
CWlanAdapter::~CWlanAdapter() {
    CChannelLockScope scope(m_lock);
    CloseLocked();
}

BOOL CWlanAdapter::OpenAdapter(const CAdapterName& name) {
    CChannelLockScope scope(m_lock);
    // Opening again must not lose the handle and event already held.
    if (m_hAdapter != INVALID_HANDLE_VALUE)
        CloseLocked();
    return OpenLocked(name);
}

BOOL CWlanAdapter::OpenLocked(const CAdapterName& name) {
    m_hAdapter = INVALID_HANDLE_VALUE;
    m_Overlapped.hEvent = nullptr;

    char szName[CAdapterName::MAX_NAME + 1];
    name.Get(szName);

    const BOOL bNt = (W32N_IsWindowsNT() & 0xFF) != 0;
    const char* pszDeviceName = nullptr;
    if (bNt) {
        // The NT family names the adapter by its index among the network cards.
        if (W32N_GetAdapterRegistryInfoBySubkeyIndex(std::atoi(szName), m_RegistryInfo) != 0)
            return 0;
        // The library leaves the device name at a fixed place in the area; a name that is not terminated
        // inside the area, or that does not fit the device path, cannot name our adapter.
        pszDeviceName = reinterpret_cast<const char*>(m_RegistryInfo + ADAPTER_DEVICE_NAME_OFFSET);
        const void* pEnd = std::memchr(pszDeviceName, '\0', ADAPTER_DEVICE_NAME_SIZE);
        if (pEnd == nullptr)
            return 0;
        const size_t cchName = static_cast<const char*>(pEnd) - pszDeviceName;
        const size_t cchPrefix = sizeof(s_szDevicePrefix) - 1;
        if (cchPrefix + cchName >= sizeof(m_szDevicePath))
            return 0;
        std::memcpy(m_szDevicePath, s_szDevicePrefix, cchPrefix);
        std::memcpy(m_szDevicePath + cchPrefix, pszDeviceName, cchName + 1);
        m_hAdapter = W32N_OpenAdapterA(m_szDevicePath);
    } else {
        m_hAdapter = W32N_OpenAdapterA(szName);
    }
    if (m_hAdapter == INVALID_HANDLE_VALUE)
        return 0;

    std::memset(&m_Overlapped, 0, sizeof(m_Overlapped));
    m_Overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_Overlapped.hEvent == nullptr) {
        W32N_CloseAdapter(m_hAdapter);
        m_hAdapter = INVALID_HANDLE_VALUE;
        g_nRequestsInFlight = 0;
        return 0;
    }

    // Gives the device an MS-DOS name, which the library opens it by. Never removed: the next open defines
    // the same name again.
    if (bNt)
        DefineAdapterDosName(pszDeviceName, m_szDevicePath);
    return 1;
}

BOOL CWlanAdapter::CloseAdapter() {
    // Another thread's request is with the driver: the adapter stays open for it.
    if (g_nRequestsInFlight != 0)
        return 1;
    CChannelLockScope scope(m_lock);
    CloseLocked();
    return 1;
}

void CWlanAdapter::CloseLocked() {
    if (g_nRequestsInFlight != 0)
        return;
    g_nRequestsInFlight = 0;
    if (m_hAdapter != INVALID_HANDLE_VALUE) {
        W32N_CloseAdapter(m_hAdapter);
        m_hAdapter = INVALID_HANDLE_VALUE;
    }
    if (m_Overlapped.hEvent != nullptr) {
        CloseHandle(m_Overlapped.hEvent);
        m_Overlapped.hEvent = nullptr;
    }
}

BOOL CWlanAdapter::QueryOid(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer,
                            LPDWORD pcbWritten) {
    CChannelLockScope scope(m_lock);
    return QueryLocked(name, dwOid, pBuffer, cbBuffer, pcbWritten);
}

BOOL CWlanAdapter::SetOid(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer) {
    CChannelLockScope scope(m_lock);
    return SetLocked(name, dwOid, pBuffer, cbBuffer);
}

BOOL CWlanAdapter::SetCardRecord(const CAdapterName& name, LPVOID pBuffer, DWORD cbBuffer) {
    CChannelLockScope scope(m_lock);
    return SetLocked(name, OID_CARD_RECORD, pBuffer, cbBuffer);
}

DWORD CWlanAdapter::MakeRequest(W32N_REQUEST* pRequest) {
    CChannelLockScope scope(m_lock);
    return MakeRequestLocked(pRequest);
}

namespace {

void FillRequest(W32N_REQUEST* pRequest, DWORD dwType, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer) {
    pRequest->RequestType = dwType;
    pRequest->Oid = dwOid;
    pRequest->InformationBuffer = pBuffer;
    pRequest->InformationBufferLength = cbBuffer;
    pRequest->BytesWritten = 0;
    pRequest->BytesNeeded = 0;
}

} // namespace

BOOL CWlanAdapter::QueryLocked(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer,
                               LPDWORD pcbWritten) {
    if (m_hAdapter == INVALID_HANDLE_VALUE && !OpenLocked(name))
        return 0;
    W32N_REQUEST request = {};
    FillRequest(&request, W32N_QUERY_INFORMATION, dwOid, pBuffer, cbBuffer);
    if (MakeRequestLocked(&request) != 0) {
        CloseLocked();
        return 0;
    }
    if (pcbWritten != nullptr)
        *pcbWritten = request.BytesWritten;
    // Until the card is verified each query stands alone, so a card that is not there holds no handle.
    if (g_bCardPresent == 0)
        CloseLocked();
    return 1;
}

BOOL CWlanAdapter::SetLocked(const CAdapterName& name, DWORD dwOid, LPVOID pBuffer, DWORD cbBuffer) {
    if (m_hAdapter == INVALID_HANDLE_VALUE && !OpenLocked(name))
        return 0;
    W32N_REQUEST request = {};
    FillRequest(&request, W32N_SET_INFORMATION, dwOid, pBuffer, cbBuffer);
    if (MakeRequestLocked(&request) != 0) {
        CloseLocked();
        return 0;
    }
    return 1;
}

DWORD CWlanAdapter::MakeRequestLocked(W32N_REQUEST* pRequest) {
    ++g_nRequestsInFlight;
    const DWORD dwStatus = W32N_MakeNdisRequest(m_hAdapter, pRequest, &m_Overlapped, 1);
    if (dwStatus != 0)
        OutputDebugStringA(s_szRequestFailed);
    --g_nRequestsInFlight;
    return dwStatus;
}
