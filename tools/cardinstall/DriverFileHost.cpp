#include "DriverFile.h"

#include "hostsim/System.h"

namespace cardinstall {

bool PlaceDriverFile(WindowsKind kind, const std::string& source, std::string* error) {
    const std::string target = DriverFilePath(kind);
    if (target.empty()) {
        *error = "the system directory cannot be read";
        return false;
    }
    if (!hostsim::SetFileVersion(target, source)) {
        *error = "'" + source + "' is not a file version (a.b.c.d)";
        return false;
    }
    return true;
}

} // namespace cardinstall
