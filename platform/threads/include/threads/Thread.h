// A thread that runs one function and is joined when the object goes: the thread's end is never left to
// chance. Movable, not copyable.
#pragma once
#include <functional>
#include <memory>

namespace threads {

class Thread {
public:
    Thread();
    // Starts `body` on a new thread. Whether it started: Joinable().
    explicit Thread(std::function<void()> body);
    ~Thread();
    Thread(Thread&& other) noexcept;
    Thread& operator=(Thread&& other) noexcept;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    bool Joinable() const { return m_native != nullptr; }
    // Waits for the thread to end; nothing when there is none.
    void Join();

    struct Native;

private:
    std::unique_ptr<Native> m_native;
};

// Gives up the processor for at least `ms` milliseconds.
void SleepMs(unsigned ms);

} // namespace threads
