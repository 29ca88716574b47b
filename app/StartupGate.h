// Start-up and the card monitor thread. Making the main frame starts the thread, and only after that does
// InitInstance check for another copy and work out the Windows kind, the class key path and the match value
// name, which the thread's search for the card needs. A search that runs before them finds nothing and is
// tried again only 2000 ms later. Design decision: the thread's first search waits at this gate until
// start-up has set them or has ended without them, at most STARTUP_WAIT_LIMIT ms. A start-up slower than that
// is searched after regardless: the search then finds nothing and is repeated 2000 ms later.
#pragma once
#include <win32api.h>

enum { STARTUP_WAIT_LIMIT = 2000 };

// Start-up holds one for the whole of InitInstance: made, it closes the gate (before the frame and its
// thread exist); gone, it opens it, on every way out, so the gate opens right after the Windows kind is
// worked out as well as when start-up ends early.
class CStartupGate {
public:
    CStartupGate();
    ~CStartupGate();
    CStartupGate(const CStartupGate&) = delete;
    CStartupGate& operator=(const CStartupGate&) = delete;

    // The card monitor thread, before its first search: returns when the gate is open, or after
    // STARTUP_WAIT_LIMIT ms.
    static void WaitUntilOpen();
    // Back to closed, as at process start; for hosts that run the program more than once in one process.
    static void Close();
};
