// The adapter's key name: four digits ("0007") on Windows 2000 and 9x, the adapter index ("2") on NT 4;
// empty while no adapter is known.
#pragma once
#include <win32api.h>
#include "fw/SyncObjects.h"

// The monitor thread changes the name while it searches for the card, and the user-interface thread passes it
// to every request it makes. Design decision: the name is held behind a lock and handed out as a copy, so a
// reader always sees a whole name (old or new), never a half-written one.
class CAdapterName {
public:
    enum { MAX_NAME = 6 };

    CAdapterName();

    void Set(LPCSTR pszName); // longer names are cut to MAX_NAME characters
    void Clear();
    BOOL IsEmpty() const;
    void Get(char (&szName)[MAX_NAME + 1]) const;

private:
    mutable CCriticalSection m_lock;
    char m_szName[MAX_NAME + 1];
};
