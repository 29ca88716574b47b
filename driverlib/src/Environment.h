// The process environment, read the way each build must: the DLL asks Windows (a variable set by the
// program after the DLL loaded is seen), the host build the C library.
#pragma once
#include <string>

namespace driverlib {
std::string ReadEnvironment(const char* name); // empty when unset
} // namespace driverlib
