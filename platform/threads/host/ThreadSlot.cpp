#include "threads/ThreadSlot.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace threads {
namespace {

constexpr unsigned long kSlots = 64;

std::atomic<unsigned long> s_nextIndex{0};
ThreadSlot::Destroy s_destroy[kSlots];

// A thread's values; the holder's end is the thread's end (for the main thread: before the statics go).
struct Values {
    void* value[kSlots] = {};
    ~Values() {
        for (unsigned long i = 0; i < kSlots; ++i) {
            if (value[i] != nullptr && s_destroy[i] != nullptr)
                s_destroy[i](value[i]);
        }
    }
};

Values& Mine() {
    thread_local Values values;
    return values;
}

} // namespace

ThreadSlot::ThreadSlot(Destroy destroy) : m_index(s_nextIndex++) {
    if (m_index >= kSlots) {
        std::fputs("threads: no thread-local storage slot left\n", stderr);
        std::abort();
    }
    s_destroy[m_index] = destroy;
}

void* ThreadSlot::Get() const {
    return Mine().value[m_index];
}

void ThreadSlot::Set(void* value) {
    Mine().value[m_index] = value;
}

} // namespace threads
