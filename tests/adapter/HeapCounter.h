// Counts the C++ heap allocations of the test program while counting is on (it replaces the global
// operator new).
#pragma once

namespace heapcounter {
void Start();
int Stop(); // allocations since Start
} // namespace heapcounter
