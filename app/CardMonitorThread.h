// The card monitor thread: finds and verifies the card, then polls its link state about once a second,
// turning changes into the tray icon, applies the basic configuration the pages mark pending, and handles
// the card going away and the system coming back from a suspend.
#pragma once
#include "fw/Framework.h"

// pParam is the address of g_pConfigSheet; the caller has taken a reference on the sheet for the thread,
// which the thread lets go when it ends.
UINT AFXAPI CardMonitorThread(LPVOID pParam);
