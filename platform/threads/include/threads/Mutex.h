// A mutual-exclusion lock and its scope guard. Not recursive: a thread that holds the lock must not take it
// again.
#pragma once

namespace threads {

class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void Lock();
    void Unlock();

private:
    // The native lock lives in place (a critical section on Windows, a std::mutex on the host), so that the
    // header needs neither <windows.h> nor <mutex>; each implementation checks that it fits.
    alignas(8) unsigned char m_native[64];
};

// Holds the mutex from construction until Unlock or the end of the scope.
class Lock {
public:
    explicit Lock(Mutex& mutex) : m_mutex(&mutex) { m_mutex->Lock(); }
    ~Lock() { Unlock(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void Unlock() {
        if (m_mutex != nullptr)
            m_mutex->Unlock();
        m_mutex = nullptr;
    }

private:
    Mutex* m_mutex;
};

} // namespace threads
