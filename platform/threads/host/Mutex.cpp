#include "threads/Mutex.h"

#include <mutex>
#include <new>

namespace threads {
namespace {
std::mutex* Native(unsigned char* storage) {
    static_assert(sizeof(std::mutex) <= 64 && alignof(std::mutex) <= 8, "the mutex fits");
    return std::launder(reinterpret_cast<std::mutex*>(storage));
}
} // namespace

Mutex::Mutex() : m_native{} {
    new (m_native) std::mutex();
}

Mutex::~Mutex() {
    Native(m_native)->~mutex();
}

void Mutex::Lock() {
    Native(m_native)->lock();
}

void Mutex::Unlock() {
    Native(m_native)->unlock();
}

} // namespace threads
