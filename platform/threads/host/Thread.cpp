#include "threads/Thread.h"

#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

namespace threads {

struct Thread::Native {
    std::thread thread;
};

Thread::Thread(std::function<void()> body) : m_native(std::make_unique<Native>()) {
    try {
        m_native->thread = std::thread(std::move(body));
    } catch (const std::system_error&) {
        m_native.reset();
    }
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
    m_native->thread.join();
    m_native.reset();
}

void SleepMs(unsigned ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace threads
