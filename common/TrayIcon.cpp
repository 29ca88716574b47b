#include "common/TrayIcon.h"

namespace {

// Made on first use, so that it exists whichever static object calls first; never destroyed, because the
// monitor thread may still call while the process ends.
class CTrayLock {
public:
    CTrayLock() { InitializeCriticalSection(&m_cs); }
    CTrayLock(const CTrayLock&) = delete;
    CTrayLock& operator=(const CTrayLock&) = delete;
    void Enter() { EnterCriticalSection(&m_cs); }
    void Leave() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

CTrayLock& TrayLock() {
    static CTrayLock* s_pLock = new CTrayLock;
    return *s_pLock;
}

enum TRAY_CALL { TRAY_CALL_ADD, TRAY_CALL_MODIFY, TRAY_CALL_DELETE };

BOOL CallOwner(TRAY_CALL nCall, UINT nIconId) {
    TrayLock().Enter();
    BOOL bDone = FALSE;
    if (CTrayIconOwner* pOwner = g_pTrayIconOwner) {
        if (nCall == TRAY_CALL_ADD)
            bDone = pOwner->TrayAdd(nIconId);
        else if (nCall == TRAY_CALL_MODIFY)
            bDone = pOwner->TrayModify(nIconId);
        else
            bDone = pOwner->TrayDelete();
    }
    TrayLock().Leave();
    return bDone;
}

} // namespace

BOOL TrayIconAdd(UINT nIconId) {
    return CallOwner(TRAY_CALL_ADD, nIconId);
}
BOOL TrayIconModify(UINT nIconId) {
    return CallOwner(TRAY_CALL_MODIFY, nIconId);
}
BOOL TrayIconDelete() {
    return CallOwner(TRAY_CALL_DELETE, 0);
}

void SetTrayIconOwner(CTrayIconOwner* pOwner) {
    TrayLock().Enter();
    g_pTrayIconOwner = pOwner;
    TrayLock().Leave();
}
