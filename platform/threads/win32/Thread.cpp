#include "threads/Thread.h"

#include <windows.h>

#include <utility>

namespace threads {

struct Thread::Native {
    std::function<void()> body;
    HANDLE handle = nullptr;
    DWORD id = 0;
};

namespace {
DWORD WINAPI Run(LPVOID parameter) {
    static_cast<Thread::Native*>(parameter)->body();
    return 0;
}
} // namespace

Thread::Thread(std::function<void()> body) : m_native(std::make_unique<Native>()) {
    m_native->body = std::move(body);
    // Windows 95 fails CreateThread when the thread id pointer is null.
    m_native->handle = ::CreateThread(nullptr, 0, &Run, m_native.get(), 0, &m_native->id);
    if (m_native->handle == nullptr)
        m_native.reset();
}

Thread::Thread() = default;

Thread::~Thread() {
    Join();
}

Thread::Thread(Thread&& other) noexcept = default;

Thread& Thread::operator=(Thread&& other) noexcept {
    if (this != &other) {
        Join();
        m_native = std::move(other.m_native);
    }
    return *this;
}

void Thread::Join() {
    if (!m_native)
        return;
    ::WaitForSingleObject(m_native->handle, INFINITE);
    ::CloseHandle(m_native->handle);
    m_native.reset();
}

void SleepMs(unsigned ms) {
    ::Sleep(ms);
}

} // namespace threads
