// Keeps the driver channel to one thread at a time: a critical section, entered for the whole of an
// operation. Waiting for it is an ordinary wait of the system, so on the host build's virtual clock a thread
// that finds the channel taken gives the holder its turn. The channel is contended only after a hand-shake
// time-out between the two threads.
#pragma once
#include <win32api.h>

class CChannelLock {
public:
    CChannelLock() { InitializeCriticalSection(&m_cs); }
    ~CChannelLock() { DeleteCriticalSection(&m_cs); }
    CChannelLock(const CChannelLock&) = delete;
    CChannelLock& operator=(const CChannelLock&) = delete;

    void Enter() { EnterCriticalSection(&m_cs); }
    void Leave() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

// Holds the channel for one scope.
class CChannelLockScope {
public:
    explicit CChannelLockScope(CChannelLock& lock) : m_lock(lock) { m_lock.Enter(); }
    ~CChannelLockScope() { m_lock.Leave(); }
    CChannelLockScope(const CChannelLockScope&) = delete;
    CChannelLockScope& operator=(const CChannelLockScope&) = delete;

private:
    CChannelLock& m_lock;
};
