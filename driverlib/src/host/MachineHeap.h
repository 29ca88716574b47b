// The library and the simulated card behind it are the machine, not the program: their allocations stay out
// of the program's live heap that a soak counts on the host build (hostsim/HeapScope.h).
#pragma once
#include <hostsim/HeapScope.h>

namespace driverlib {
using MachineHeapScope = hostsim::NotProgramHeap;
} // namespace driverlib
