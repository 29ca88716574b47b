#include "../Environment.h"

#include <win32api.h>

#include <vector>

namespace driverlib {
namespace {
// Taken while the DLL initialises, which happens on the thread that loads it.
const DWORD s_loaderThread = GetCurrentThreadId();
} // namespace

std::uint32_t LoaderThreadId() {
    return s_loaderThread;
}

std::string ReadEnvironment(const char* name) {
    std::vector<char> value(1024);
    DWORD size = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    if (size >= value.size()) {
        value.resize(size + 1);
        size = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    }
    if (size == 0 || size >= value.size())
        return "";
    return std::string(value.data(), size);
}
} // namespace driverlib
