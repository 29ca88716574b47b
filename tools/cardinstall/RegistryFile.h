// The registry as a file: the host stand-in loads and saves one; real Windows has its own.
#pragma once
#include <string>

namespace cardinstall {
// Starts from the file when it exists. False with a message on a bad file or where not available.
bool LoadRegistryFileIfPresent(const std::string& path, std::string* error);
bool SaveRegistryFileTo(const std::string& path, std::string* error);
} // namespace cardinstall
