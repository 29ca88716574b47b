// The fuzzed input of the resource reader: any bytes as a script that may include a small header and
// name an icon file, and the property every outcome must have.
#pragma once

#include "rcreader/ScriptLoader.h"

#include <cstddef>
#include <cstdint>

namespace wlan::rc::fuzz {

LoadResult loadFuzzInput(const std::uint8_t* data, std::size_t size);

// Exactly one of script and error; an error names a file that exists and a line within it.
bool isConsistent(const LoadResult& result, const std::uint8_t* data, std::size_t size);

} // namespace wlan::rc::fuzz
