#include "RegistryFile.h"

namespace cardinstall {

bool LoadRegistryFileIfPresent(const std::string&, std::string* error) {
    *error = "--registry is for the host build; on Windows the installer writes the machine's registry";
    return false;
}

bool SaveRegistryFileTo(const std::string&, std::string* error) {
    *error = "--registry is for the host build";
    return false;
}

} // namespace cardinstall
