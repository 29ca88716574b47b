// A file of its own: it reaches the sheet, which a program that only needs the globals should not link.
#include "app/ResetProgramGlobals.h"

#include "app/StartupGate.h"
#include "common/Globals.h"
#include "common/TrayIcon.h"
#include "sheet/ConfigUtility.h"

void ResetProgramGlobals() {
    g_bCardPresent = 0;
    g_bRecheckCard = 1;
    g_bConfigPending = 0;
    g_bStopMonitor = 0;
    g_bSuspendSeen = 0;
    g_bSheetActive = 0;
    g_bExitAfterSheet = 0;
    g_nRequestsInFlight = 0;
    g_nOsKind = OSKIND_UNSUPPORTED;
    g_szClassKeyPath[0] = '\0';
    g_szMatchValueName[0] = '\0';
    g_szAdapterName.Clear();
    g_pConfigSheet = nullptr;
    g_pTrayIconOwner = nullptr;
    CStartupGate::Close();
}
