// The five calls of the driver-access library, over the simulated cards of the rack.
#include "W32N50.h"

#include "RegistryInfo.h"
#include "driverlib/CardRack.h"

namespace {

// The first open configures the rack; a function's static is initialised once, whichever threads ask.
void ConfigureOnFirstUse() {
    static const bool configured = [] {
        if (driverlib::CardRack::Instance().Configured())
            return true;
        std::string error;
        if (driverlib::ConfigureFromEnvironment(&error))
            return true;
        OutputDebugStringA(("W32N50: " + error + "\n").c_str());
        return false;
    }();
    (void)configured;
}

} // namespace

extern "C" {

BOOL WINAPI W32N_IsWindowsNT(void) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return FALSE;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT ? TRUE : FALSE;
}

DWORD WINAPI W32N_GetAdapterRegistryInfoBySubkeyIndex(int index, PVOID info) {
    return driverlib::ReadAdapterRegistryInfo(index, static_cast<W32N_ADAPTER_REGISTRY_INFO*>(info));
}

HANDLE WINAPI W32N_OpenAdapterA(LPCSTR name) {
    ConfigureOnFirstUse();
    if (!name)
        return INVALID_HANDLE_VALUE;
    return driverlib::CardRack::Instance().Open(name);
}

DWORD WINAPI W32N_MakeNdisRequest(HANDLE adapter, PVOID requestIn, LPOVERLAPPED overlapped, DWORD wait) {
    auto* request = static_cast<W32N_REQUEST*>(requestIn);
    if (!request)
        return ERROR_INVALID_PARAMETER;
    std::optional<driverlib::CardRack::Binding> binding = driverlib::CardRack::Instance().Lookup(adapter);
    if (!binding)
        return ERROR_INVALID_HANDLE;
    if (request->RequestType != W32N_QUERY_INFORMATION && request->RequestType != W32N_SET_INFORMATION)
        return ERROR_INVALID_PARAMETER;
    if (!request->InformationBuffer && request->InformationBufferLength != 0)
        return ERROR_INVALID_PARAMETER;

    const simcard::RequestKind kind = request->RequestType == W32N_QUERY_INFORMATION
                                          ? simcard::RequestKind::Query
                                          : simcard::RequestKind::Set;
    const simcard::RequestOutcome outcome = binding->card->Request(
        binding->session, kind, request->Oid, request->InformationBuffer, request->InformationBufferLength);
    request->BytesWritten = outcome.bytesDone;
    request->BytesNeeded = outcome.bytesNeeded;
    if (overlapped) {
        overlapped->Internal = outcome.status;
        overlapped->InternalHigh = outcome.bytesDone;
        if (overlapped->hEvent)
            SetEvent(overlapped->hEvent);
    }
    return outcome.status;
}

VOID WINAPI W32N_CloseAdapter(HANDLE adapter) {
    driverlib::CardRack::Instance().Close(adapter);
}

} // extern "C"
