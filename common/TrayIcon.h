// The tray icon's owner. The main frame implements it; the card monitor thread reaches it from its own thread
// to add, change and remove the icon.
#pragma once
#include <win32api.h>
#include <atomic>

class CTrayIconOwner {
public:
    virtual BOOL TrayAdd(UINT nIconId) = 0;    // NIM_ADD; TRUE when the shell took it
    virtual BOOL TrayModify(UINT nIconId) = 0; // NIM_MODIFY
    virtual BOOL TrayDelete() = 0;             // NIM_DELETE

protected:
    ~CTrayIconOwner() = default;
};

// Null until the main frame exists, and again once it is gone: the tray calls then do nothing.
extern std::atomic<CTrayIconOwner*> g_pTrayIconOwner;

// The calls other threads make. Design decision: the owner can go away on the user-interface thread while
// the monitor thread is about to call it, so a call and the owner's going away are kept apart: each call runs
// inside the tray lock, and the owner leaves through SetTrayIconOwner(NULL), which takes the same lock. Once
// that returns, no call reaches the old owner any more. A call holds the lock only for one Shell_NotifyIconA,
// which never waits for the user-interface thread. Each returns FALSE when there is no owner.
BOOL TrayIconAdd(UINT nIconId);
BOOL TrayIconModify(UINT nIconId);
BOOL TrayIconDelete();
void SetTrayIconOwner(CTrayIconOwner* pOwner);

// Icons of the tray.
enum {
    TRAY_ICON_CONNECTED = 186,
    TRAY_ICON_NOT_CONNECTED = 187,
};
