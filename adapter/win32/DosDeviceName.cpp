#include "adapter/DosDeviceName.h"

namespace {

// Wine's DefineDosDeviceW appends the device name to "\DosDevices\" in a buffer of 15 characters, room for a
// drive letter only. The adapter's name is a {GUID} of 38 characters: the copy runs over the saved registers
// of the caller, and kernel32 then frees a pointer made of the name's characters on its way out. Nothing
// under Wine opens the device by this name (the driver-access library reaches the card directly).
// Design decision: the call is left out there. ntdll exports wine_get_version only under Wine.
bool RunsUnderWine() {
    HMODULE hNtdll = ::GetModuleHandleA("ntdll.dll");
    return hNtdll != nullptr && ::GetProcAddress(hNtdll, "wine_get_version") != nullptr;
}

} // namespace

BOOL DefineAdapterDosName(LPCSTR pszDeviceName, LPCSTR pszTargetPath) {
    static const bool s_bUnderWine = RunsUnderWine();
    if (s_bUnderWine)
        return FALSE;
    return ::DefineDosDeviceA(DDD_RAW_TARGET_PATH, pszDeviceName, pszTargetPath);
}
