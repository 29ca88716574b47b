// The MS-DOS name of the adapter's device (DefineDosDeviceA with a raw target path), given where the system
// can take it.
#pragma once
#include <win32api.h>

// Defines pszDeviceName as an MS-DOS name of pszTargetPath. TRUE when the name was defined, FALSE when the
// system refused it or the call was left out (see the Windows build's note).
BOOL DefineAdapterDosName(LPCSTR pszDeviceName, LPCSTR pszTargetPath);
