#include "threads/Mutex.h"

#include <windows.h>

namespace threads {
namespace {
CRITICAL_SECTION* Native(unsigned char* storage) {
    static_assert(sizeof(CRITICAL_SECTION) <= 64 && alignof(CRITICAL_SECTION) <= 8,
                  "the critical section fits");
    return reinterpret_cast<CRITICAL_SECTION*>(storage);
}
} // namespace

// InitializeCriticalSection cannot fail on Windows 95, 98 or NT 4 in a way a program could report (it raises
// STATUS_NO_MEMORY only in low memory on NT 4): the same lock as every program of the time.
Mutex::Mutex() : m_native{} {
    ::InitializeCriticalSection(Native(m_native));
}

Mutex::~Mutex() {
    ::DeleteCriticalSection(Native(m_native));
}

void Mutex::Lock() {
    ::EnterCriticalSection(Native(m_native));
}

void Mutex::Unlock() {
    ::LeaveCriticalSection(Native(m_native));
}

} // namespace threads
