#include "ScriptedDriverLibrary.h"

#include <W32N50.h>

#include <cstring>

#include "common/Globals.h"

namespace {

CFuzzInput* s_pScript = nullptr;

} // namespace

void SetDriverScript(CFuzzInput* pScript) {
    s_pScript = pScript;
}

CScriptedCard::CScriptedCard(CFuzzInput& script, bool bPresent) {
    g_bCardPresent = static_cast<BYTE>(bPresent);
    g_nRequestsInFlight = 0;
    m_name.Set("0007");
    SetDriverScript(&script);
}

CScriptedCard::~CScriptedCard() {
    SetDriverScript(nullptr);
}

extern "C" {

BOOL WINAPI W32N_IsWindowsNT(void) {
    return FALSE;
}

DWORD WINAPI W32N_GetAdapterRegistryInfoBySubkeyIndex(int, PVOID) {
    return 2; // the 9x family names adapters itself
}

HANDLE WINAPI W32N_OpenAdapterA(LPCSTR) {
    // One byte decides whether the adapter opens.
    if (s_pScript == nullptr || s_pScript->Byte() == 0xFF)
        return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x104));
}

// Status byte (odd: the request fails), then for a query the byte count to report (2 bytes, which may be
// anything, also more than the buffer) and as many answer bytes as the script still holds, at most the
// buffer's length.
DWORD WINAPI W32N_MakeNdisRequest(HANDLE, PVOID pRecord, LPOVERLAPPED pOverlapped, DWORD) {
    auto* pRequest = static_cast<W32N_REQUEST*>(pRecord);
    if (s_pScript == nullptr || pRequest == nullptr)
        return 87;
    if (s_pScript->Byte() & 1)
        return 0xC0000001u;
    if (pRequest->RequestType == W32N_QUERY_INFORMATION) {
        const DWORD cbReported = s_pScript->Word();
        std::size_t cbAnswer = 0;
        const std::uint8_t* pbAnswer = s_pScript->Bytes(pRequest->InformationBufferLength, &cbAnswer);
        if (pRequest->InformationBuffer != nullptr && cbAnswer != 0)
            std::memcpy(pRequest->InformationBuffer, pbAnswer, cbAnswer);
        pRequest->BytesWritten = cbReported;
    } else {
        pRequest->BytesWritten = pRequest->InformationBufferLength;
    }
    if (pOverlapped != nullptr && pOverlapped->hEvent != nullptr)
        SetEvent(pOverlapped->hEvent);
    return 0;
}

VOID WINAPI W32N_CloseAdapter(HANDLE) {}

} // extern "C"
