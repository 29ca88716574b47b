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

// Holds the mutex from construction to the end of the scope, but for the stretches between Unlock and Relock
// (a wait that must not hold it).
class Lock {
public:
    explicit Lock(Mutex& mutex) : m_mutex(mutex) { m_mutex.Lock(); }
    ~Lock() { Unlock(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void Unlock() {
        if (m_held)
            m_mutex.Unlock();
        m_held = false;
    }
    void Relock() {
        if (!m_held)
            m_mutex.Lock();
        m_held = true;
    }

private:
    Mutex& m_mutex;
    bool m_held = true;
};

} // namespace threads
