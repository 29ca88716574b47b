// The five calls of the driver-access library, over the simulated cards of the rack.
#include "W32N50.h"

#include "MachineHeap.h"
#include "RegistryInfo.h"
#include "driverlib/CardRack.h"

#include <cstring>

namespace {

using driverlib::LibraryCall;

// The observer of calls, if any: a trace of every call costs nothing when nobody watches.
std::shared_ptr<const driverlib::LibraryCallObserver> Observer() {
    return driverlib::CardRack::Instance().CallObserver();
}

void Report(const driverlib::LibraryCallObserver& observer, LibraryCall call) {
    call.threadId = GetCurrentThreadId();
    observer(call);
}

driverlib::RequestFields FieldsOf(const W32N_REQUEST& request) {
    driverlib::RequestFields fields;
    fields.type = request.RequestType;
    fields.oid = request.Oid;
    fields.buffer = request.InformationBuffer != nullptr;
    fields.length = request.InformationBufferLength;
    fields.written = request.BytesWritten;
    fields.needed = request.BytesNeeded;
    return fields;
}

std::vector<std::uint8_t> BufferOf(const W32N_REQUEST& request) {
    if (!request.InformationBuffer)
        return {};
    const auto* bytes = static_cast<const std::uint8_t*>(request.InformationBuffer);
    return std::vector<std::uint8_t>(bytes, bytes + request.InformationBufferLength);
}

DWORD MakeRequest(HANDLE adapter, W32N_REQUEST* request, LPOVERLAPPED overlapped) {
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
    const driverlib::MachineHeapScope machine;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    const BOOL nt = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT ? TRUE : FALSE;
    if (auto observer = Observer()) {
        LibraryCall call;
        call.function = LibraryCall::Function::IsWindowsNT;
        call.result = static_cast<std::uint32_t>(nt);
        Report(*observer, call);
    }
    return nt;
}

DWORD WINAPI W32N_GetAdapterRegistryInfoBySubkeyIndex(int index, PVOID info) {
    const driverlib::MachineHeapScope machine;
    auto* area = static_cast<W32N_ADAPTER_REGISTRY_INFO*>(info);
    const DWORD result = driverlib::ReadAdapterRegistryInfo(index, area);
    if (auto observer = Observer()) {
        LibraryCall call;
        call.function = LibraryCall::Function::GetAdapterRegistryInfo;
        call.index = index;
        if (area && result == 0)
            call.name.assign(area->DeviceName, strnlen(area->DeviceName, sizeof area->DeviceName));
        call.result = result;
        Report(*observer, call);
    }
    return result;
}

HANDLE WINAPI W32N_OpenAdapterA(LPCSTR name) {
    const driverlib::MachineHeapScope machine;
    ConfigureOnFirstUse();
    HANDLE handle = name ? driverlib::CardRack::Instance().Open(name) : INVALID_HANDLE_VALUE;
    if (auto observer = Observer()) {
        LibraryCall call;
        call.function = LibraryCall::Function::OpenAdapter;
        call.name = name ? name : "";
        call.handle = reinterpret_cast<std::uintptr_t>(handle);
        Report(*observer, call);
    }
    return handle;
}

DWORD WINAPI W32N_MakeNdisRequest(HANDLE adapter, PVOID requestIn, LPOVERLAPPED overlapped, DWORD wait) {
    const driverlib::MachineHeapScope machine;
    auto* request = static_cast<W32N_REQUEST*>(requestIn);
    auto observer = Observer();
    if (!observer)
        return MakeRequest(adapter, request, overlapped);

    LibraryCall call;
    call.function = LibraryCall::Function::MakeNdisRequest;
    call.phase = LibraryCall::Phase::Start;
    call.handle = reinterpret_cast<std::uintptr_t>(adapter);
    call.request = driverlib::CardRack::Instance().NextRequestNumber();
    call.record = request != nullptr;
    if (request) {
        call.before = FieldsOf(*request);
        call.bufferBefore = BufferOf(*request);
    }
    call.overlapped = overlapped != nullptr;
    call.event = overlapped ? reinterpret_cast<std::uintptr_t>(overlapped->hEvent) : 0;
    call.wait = wait;
    Report(*observer, call);

    call.result = MakeRequest(adapter, request, overlapped);
    call.phase = LibraryCall::Phase::Return;
    if (request) {
        call.after = FieldsOf(*request);
        call.bufferAfter = BufferOf(*request);
    }
    Report(*observer, call);
    return call.result;
}

VOID WINAPI W32N_CloseAdapter(HANDLE adapter) {
    const driverlib::MachineHeapScope machine;
    driverlib::CardRack::Instance().Close(adapter);
    if (auto observer = Observer()) {
        LibraryCall call;
        call.function = LibraryCall::Function::CloseAdapter;
        call.handle = reinterpret_cast<std::uintptr_t>(adapter);
        Report(*observer, call);
    }
}

} // extern "C"
