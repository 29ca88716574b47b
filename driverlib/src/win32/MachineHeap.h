// The DLL has no count of the program's heap to stay out of (see the host build's MachineHeap.h): the scope
// does nothing.
#pragma once

namespace driverlib {
struct MachineHeapScope {
    MachineHeapScope() {}
    ~MachineHeapScope() {}
    MachineHeapScope(const MachineHeapScope&) = delete;
    MachineHeapScope& operator=(const MachineHeapScope&) = delete;
};
} // namespace driverlib
