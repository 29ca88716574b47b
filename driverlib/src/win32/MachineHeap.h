// The DLL has no count of the program's heap to stay out of (see the host build's MachineHeap.h).
#pragma once

namespace driverlib {
struct MachineHeapScope {};
} // namespace driverlib
