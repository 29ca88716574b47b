#include "adapter/DosDeviceName.h"

BOOL DefineAdapterDosName(LPCSTR pszDeviceName, LPCSTR pszTargetPath) {
    return DefineDosDeviceA(DDD_RAW_TARGET_PATH, pszDeviceName, pszTargetPath);
}
