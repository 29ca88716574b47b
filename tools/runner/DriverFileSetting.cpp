#include "DriverFileSetting.h"

#include "CardInstaller.h"
#include "DriverFile.h"

#include <hostsim/System.h>

namespace runner {

bool SetDriverFile(const std::string& version, std::string* error) {
    // The file's place depends only on the family; the installer knows the four kinds it installs on.
    const cardinstall::WindowsKind kind =
        hostsim::IsNtFamily(hostsim::GetWindowsKind())
            ? (hostsim::GetWindowsKind() == hostsim::WindowsKind::NT4 ? cardinstall::WindowsKind::NT4
                                                                      : cardinstall::WindowsKind::Win2000)
            : cardinstall::WindowsKind::Win98;
    const std::string path = cardinstall::DriverFilePath(kind);
    if (path.empty()) {
        *error = "the system directory cannot be read, so the driver file has no place";
        return false;
    }
    if (version.empty()) {
        hostsim::RemoveFile(path);
        return true;
    }
    if (!hostsim::SetFileVersion(path, version)) {
        *error = "'" + version + "' is no file version";
        return false;
    }
    return true;
}

} // namespace runner
