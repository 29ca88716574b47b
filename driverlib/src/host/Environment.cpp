#include "../Environment.h"

#include <cstdlib>

namespace driverlib {
std::string ReadEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
std::uint32_t LoaderThreadId() {
    return 0;
}
} // namespace driverlib
