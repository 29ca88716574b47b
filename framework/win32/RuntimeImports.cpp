// The import of CreateSemaphoreW that the compiler's runtime makes (its mutexes for statics, per-thread
// storage and exception tables) goes to CreateSemaphoreA instead.
//
// Design decision: Windows 95, 98 and Me export CreateSemaphoreW only as a stub that fails, so a runtime lock
// that two threads contend for would have no semaphore to wait on there. The runtime calls the function
// through its import slot (`__imp__CreateSemaphoreW@16` on i686, where the name carries the stdcall argument
// size; `__imp_CreateSemaphoreW` on x64). This file defines that slot itself, pointing at a function of ours
// with the same signature and calling convention; the program links this library whole, so the linker takes
// our slot and never the import library's, and the program does not import CreateSemaphoreW at all (the
// import check would fail if it did: the table has no row for it). Should anything call CreateSemaphoreW by
// its plain name, the import library's member would come in and the link would fail on the slot defined
// twice, never silently. The runtime's semaphores have no name, so the ANSI call is the same call.
#include <windows.h>

#include <type_traits>

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

// The slot's callers were compiled against the system's declaration: ours must have its type exactly.
static_assert(std::is_same<decltype(&CreateUnnamedSemaphore), decltype(&::CreateSemaphoreW)>::value,
              "the same signature and calling convention as CreateSemaphoreW");

#if defined(__i386__)
#define WLAN_IMPORT_SLOT(name, bytes) "__imp__" #name "@" #bytes
#else
#define WLAN_IMPORT_SLOT(name, bytes) "__imp_" #name
#endif

extern "C" {
extern decltype(&CreateUnnamedSemaphore)
    const wlanCreateSemaphoreWSlot __asm__(WLAN_IMPORT_SLOT(CreateSemaphoreW, 16));
decltype(&CreateUnnamedSemaphore) const wlanCreateSemaphoreWSlot = &CreateUnnamedSemaphore;
}
