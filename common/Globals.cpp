#include "common/Globals.h"
#include "common/TrayIcon.h"

std::atomic<BYTE> g_nOsKind{OSKIND_UNSUPPORTED};
char g_szClassKeyPath[250];
char g_szMatchValueName[270];
CAdapterName g_szAdapterName;
std::atomic<BYTE> g_bRecheckCard{1};

std::atomic<LONG> g_nRequestsInFlight{0};

std::atomic<BYTE> g_bCardPresent{0};
std::atomic<BYTE> g_bConfigPending{0};
std::atomic<BYTE> g_bStopMonitor{0};
std::atomic<BYTE> g_bSuspendSeen{0};

std::atomic<BYTE> g_bSheetActive{0};
std::atomic<BYTE> g_bExitAfterSheet{0};

std::atomic<CTrayIconOwner*> g_pTrayIconOwner{nullptr};

const char g_szAppTitle[] = "DAZE802.11d AVUD UDE Zadu Vuvivav";
