// Counts the C++ heap allocations of the program that links it (it replaces the global operator new).
#pragma once
#include <cstdint>

namespace testsupport {

std::uint64_t AllocationCount();

// Called on every allocation after it is counted, on the allocating thread, until set back to null. The hook
// must not allocate: an allocation inside it is counted but does not call it again.
using AllocationHook = void (*)();
void SetAllocationHook(AllocationHook hook);

} // namespace testsupport
