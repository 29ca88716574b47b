// Which Windows the program runs on decides where discovery looks for the card's adapter entry and where
// the driver's parameters and profiles are kept.
#pragma once
#include <win32api.h>

// Sets g_nOsKind, g_szClassKeyPath and g_szMatchValueName from GetVersionExA. Returns FALSE when the platform
// is neither the 9x nor the NT family (start-up then ends). An NT system of another major version leaves the
// kind unsupported and the texts empty but returns TRUE: the program runs, and never finds an adapter.
BOOL DetectWindowsKind();
