#include "DriverFile.h"

namespace cardinstall {

std::string DriverFilePath(WindowsKind kind) {
    char szDirectory[MAX_PATH] = "";
    const UINT cch = ::GetSystemDirectoryA(szDirectory, sizeof(szDirectory));
    if (cch == 0 || cch >= sizeof(szDirectory))
        return "";
    const bool bNtFamily = kind == WindowsKind::NT4 || kind == WindowsKind::Win2000;
    return std::string(szDirectory) + (bNtFamily ? "\\Drivers\\DAVARIVU.SYS" : "\\DIZOZUVA.ROR");
}

} // namespace cardinstall
