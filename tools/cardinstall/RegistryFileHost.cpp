#include "RegistryFile.h"

#include <hostsim/Registry.h>

#include <fstream>

namespace cardinstall {

bool LoadRegistryFileIfPresent(const std::string& path, std::string* error) {
    if (!std::ifstream(path))
        return true;
    return hostsim::LoadRegistryFile(path, error);
}

bool SaveRegistryFileTo(const std::string& path, std::string* error) {
    return hostsim::SaveRegistryFile(path, error);
}

} // namespace cardinstall
