// What `expect registry changes within "FILE"` checks: every key and value that differs from the marked
// state stands as in FILE (the state an undisturbed run of the same action left), so that nothing changed
// that the action does not save, and nothing is left half-written.
#pragma once
#include <hostsim/Registry.h>

#include <string>
#include <vector>

namespace runner {

// One line per key or value that changed since `mark` and does not stand as in `allowed`; empty when all
// do. At most `limit` lines, then a count of the rest.
std::vector<std::string> ChangesOutside(const hostsim::RegistryContent& mark,
                                        const hostsim::RegistryContent& now,
                                        const hostsim::RegistryContent& allowed, std::size_t limit = 5);

} // namespace runner
