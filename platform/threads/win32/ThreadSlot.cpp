#include "threads/ThreadSlot.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

// The runtime's list of TLS slots whose values are destroyed when a thread ends (the same list the
// compiler's own per-thread storage uses; the runtime's TLS callback walks it).
extern "C" int __mingwthr_key_dtor(DWORD key, void (*dtor)(void*));

namespace threads {

ThreadSlot::ThreadSlot(Destroy destroy) : m_index(::TlsAlloc()) {
    if (m_index == TLS_OUT_OF_INDEXES || (destroy != nullptr && __mingwthr_key_dtor(m_index, destroy) != 0)) {
        ::OutputDebugStringA("threads: no thread-local storage slot left\n");
        std::fputs("threads: no thread-local storage slot left\n", stderr);
        std::abort();
    }
}

void* ThreadSlot::Get() const {
    return ::TlsGetValue(m_index);
}

void ThreadSlot::Set(void* value) {
    ::TlsSetValue(m_index, value);
}

} // namespace threads
