#include "app/WindowsKind.h"

#include <cstring>

#include "common/Globals.h"

namespace {

const char s_szNt5ClassKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
const char s_szNt4ServicesKey[] = "System\\CurrentControlSet\\Services\\";
const char s_sz9xNetClassKey[] = "System\\CurrentControlSet\\Services\\Class\\Net\\";

void Publish(BYTE nKind, const char* pszClassKey, const char* pszMatchValue) {
    std::strcpy(g_szClassKeyPath, pszClassKey);
    std::strcpy(g_szMatchValueName, pszMatchValue);
    g_nOsKind = nKind;
}

} // namespace

BOOL DetectWindowsKind() {
    OSVERSIONINFOA osvi;
    std::memset(&osvi, 0, sizeof(osvi));
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    if (!GetVersionExA(&osvi)) {
        g_nOsKind = OSKIND_UNSUPPORTED;
        return FALSE;
    }

    switch (osvi.dwPlatformId) {
    case VER_PLATFORM_WIN32_NT:
        if (osvi.dwMajorVersion == 5)
            Publish(OSKIND_WIN2000, s_szNt5ClassKey, "ComponentId");
        else if (osvi.dwMajorVersion == 4)
            Publish(OSKIND_NT4, s_szNt4ServicesKey, "Description");
        return TRUE;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (osvi.dwMinorVersion == 0)
            Publish(OSKIND_WIN95, s_sz9xNetClassKey, "DriverDesc");
        else
            Publish(OSKIND_WIN98, s_sz9xNetClassKey, "MatchingDeviceId");
        return TRUE;
    default:
        g_nOsKind = OSKIND_UNSUPPORTED;
        return FALSE;
    }
}
