#pragma once
#include "W32N50.h"

namespace driverlib {
DWORD ReadAdapterRegistryInfo(int index, W32N_ADAPTER_REGISTRY_INFO* info);
} // namespace driverlib
