// For hosts that run the program more than once in one process (the shell tests and the idle benchmark).
#pragma once

// Puts every global of the program, the sheet and the tray icon's owner back to their values at process
// start.
void ResetProgramGlobals();
