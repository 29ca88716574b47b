// The process environment, read the way each build must: the DLL asks Windows (a variable set by the
// program after the DLL loaded is seen), the host build the C library.
#pragma once
#include <cstdint>
#include <string>

namespace driverlib {
std::string ReadEnvironment(const char* name); // empty when unset
// The thread that loaded the library: the program's main (user-interface) thread in the DLL, whose
// imports are loaded by the thread that starts the process. 0 on the host, where the runner says which
// thread it is.
std::uint32_t LoaderThreadId();
} // namespace driverlib
