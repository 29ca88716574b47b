// The program's own resource script, loaded once for the tests that check it.
#pragma once

#include "rcreader/ScriptLoader.h"

#include <gtest/gtest.h>

namespace wlan::rc::test {

inline const ResourceScript& programResources() {
    static const LoadResult result = loadResourceScript(WLAN_RESOURCE_SCRIPT);
    if (!result.script) {
        ADD_FAILURE() << "cannot load " << WLAN_RESOURCE_SCRIPT << ": " << result.error->text();
        static const ResourceScript empty;
        return empty;
    }
    return *result.script;
}

// The six pages in tab order.
inline constexpr int kPageIds[] = {183, 182, 188, 184, 191, 181};

} // namespace wlan::rc::test
