#include "DriverFile.h"

namespace cardinstall {

bool PlaceDriverFile(WindowsKind kind, const std::string& source, std::string* error) {
    const std::string target = DriverFilePath(kind);
    if (target.empty()) {
        *error = "the system directory cannot be read";
        return false;
    }
    if (!::CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        *error =
            "cannot copy " + source + " to " + target + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    return true;
}

} // namespace cardinstall
