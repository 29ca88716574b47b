// The framework's lock for program code: a critical section, and a guard that holds it for a scope.
#pragma once
#include <win32api.h>

class CCriticalSection {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() { ::DeleteCriticalSection(&m_sect); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    BOOL Lock() {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    BOOL Unlock() {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }

private:
    CRITICAL_SECTION m_sect;
};

// Takes the lock at construction when bInitialLock is TRUE (or later with Lock) and gives it back at the end
// of its scope.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection* pObject, BOOL bInitialLock = FALSE) : m_pObject(pObject) {
        if (bInitialLock)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock() {
        if (m_bAcquired)
            return TRUE;
        m_bAcquired = m_pObject->Lock();
        return m_bAcquired;
    }
    BOOL Unlock() {
        if (m_bAcquired)
            m_pObject->Unlock();
        m_bAcquired = FALSE;
        return TRUE;
    }
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CCriticalSection* m_pObject;
    BOOL m_bAcquired = FALSE;
};
