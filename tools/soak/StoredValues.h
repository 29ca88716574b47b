// Whether a value the program wrote to the registry decodes: the driver's parameters, the profiles and the
// "Ndi\params" mirrors hold each setting in one form, text of a fixed or exact length on Windows 2000 and
// the 9x family, a 32-bit number on NT 4, within the setting's range. A value that is cut, padded wrongly,
// out of range or unknown does not.
#pragma once
#include <hostsim/Registry.h>

#include <string>

namespace soak {

// Empty when the write holds a value in its form; otherwise what is wrong with it.
std::string CheckStoredValue(const hostsim::RegistryWrite& write, bool ntFour);

} // namespace soak
