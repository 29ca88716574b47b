#include "../Environment.h"

#include <cstdlib>

namespace driverlib {
std::string ReadEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
} // namespace driverlib
