// The program's shared state: the globals that the start-up code, the card monitor thread, the main frame,
// the sheet, the pages and the driver channel read and write. They live below every layer of the program,
// so each layer reaches them by including downward.
//
// Design decision: the flags are shared between the user-interface thread and the card monitor thread. They
// are single bytes whose order of use the program relies on, so each is an atomic: a store on one thread is
// seen by the other without a data race, with sequentially consistent order, and costs no lock.
#pragma once
#include <win32api.h>
#include <atomic>

#include "common/AdapterName.h"

// Windows kinds as detected at start-up.
enum {
    OSKIND_UNSUPPORTED = 0,
    OSKIND_WIN2000 = 1,
    OSKIND_WIN95 = 2,
    OSKIND_WIN98 = 3,
    OSKIND_NT4 = 4,
};

// Start-up and discovery. g_nOsKind is published after the two texts are written; a reader that sees a kind
// other than OSKIND_UNSUPPORTED sees the finished texts (the monitor thread starts before they are set).
extern std::atomic<BYTE> g_nOsKind;
extern char g_szClassKeyPath[250];
extern char g_szMatchValueName[270];
extern CAdapterName g_szAdapterName;
extern std::atomic<BYTE> g_bRecheckCard;

// Driver channel: requests in progress, so that one thread does not close the adapter under the other.
extern std::atomic<LONG> g_nRequestsInFlight;

// Card monitor thread.
extern std::atomic<BYTE> g_bCardPresent;
extern std::atomic<BYTE> g_bConfigPending;
extern std::atomic<BYTE> g_bStopMonitor;
extern std::atomic<BYTE> g_bSuspendSeen;

// Sheet.
extern std::atomic<BYTE> g_bSheetActive;

// Main frame: 1 = an exit was asked for while the sheet was up; it is finished when the sheet's loop returns.
extern std::atomic<BYTE> g_bExitAfterSheet;

// The window title: the sheet's caption, the tray tip, the About page's product name, and what a second copy
// looks for.
extern const char g_szAppTitle[];
