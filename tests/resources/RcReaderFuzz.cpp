// libFuzzer entry for the resource reader (built with -DWLAN_FUZZ=ON and clang; see README.md).
#include "FuzzInput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wlan::rc::LoadResult result = wlan::rc::fuzz::loadFuzzInput(data, size);
    if (!wlan::rc::fuzz::isConsistent(result, data, size)) {
        std::abort();
    }
    return 0;
}
