// The program's live heap, counted by the soak's own operator new and delete: every block allocated on a
// thread other than the one that drives the soak, outside the places that are not the program's
// (hostsim/HeapScope.h), and not yet freed. A block remembers whether it was counted, so it is taken off
// the count whichever thread frees it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace soak {

struct HeapFigures {
    std::int64_t blocks = 0;
    std::int64_t bytes = 0;
};

// The soak's own thread: what it allocates is never counted.
void SetDriverThread();
HeapFigures ProgramHeap();

// To find what holds the heap: with WLANSOAK_HEAP_SITES set, every counted block keeps where it was
// allocated, and this lists the live ones by place (innermost function of ours first), biggest first.
bool HeapSitesKept();
std::string HeapSites();

} // namespace soak
