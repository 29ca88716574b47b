// The compiler's runtime (its mutexes for statics, per-thread storage and exception tables) makes its
// semaphores with CreateSemaphoreW. Windows 95, 98 and Me export that function only as a stub that fails, so a
// static whose first use two threads race for would end the program there. The runtime finds the function
// through its import slot; this definition of the slot, linked into the program before the system's import
// library, sends it to CreateSemaphoreA, which every Windows has. The runtime's semaphores have no name, so
// the two calls are the same.
#include <windows.h>

namespace {

HANDLE WINAPI CreateUnnamedSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount, LONG maximumCount,
                                     LPCWSTR name) {
    if (name != nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return ::CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
}

} // namespace

#if defined(__i386__)
#define WLAN_IMPORT_SLOT(name, bytes) "__imp__" #name "@" #bytes
#else
#define WLAN_IMPORT_SLOT(name, bytes) "__imp_" #name
#endif

extern "C" {
extern decltype(&CreateUnnamedSemaphore) const wlanCreateSemaphoreWSlot __asm__(
    WLAN_IMPORT_SLOT(CreateSemaphoreW, 16));
decltype(&CreateUnnamedSemaphore) const wlanCreateSemaphoreWSlot = &CreateUnnamedSemaphore;
}
