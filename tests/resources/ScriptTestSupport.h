// Loading small scripts from memory in tests.
#pragma once

#include "TinyIcon.h"
#include "rcreader/ScriptLoader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace wlan::rc::test {

inline LoadResult loadText(const std::string& script, std::map<std::string, std::string> otherFiles = {}) {
    MemorySource source(std::move(otherFiles));
    source.add("test.rc", script);
    return loadResourceScript("test.rc", source);
}

// The script, or a test failure that shows the reader's error.
inline ResourceScript loadOk(const std::string& script, std::map<std::string, std::string> otherFiles = {}) {
    LoadResult result = loadText(script, std::move(otherFiles));
    EXPECT_TRUE(result.script.has_value()) << (result.error ? result.error->text() : "");
    return result.script ? *result.script : ResourceScript{};
}

// The error text, or a test failure when the script loaded. A failed load never carries a script.
inline std::string loadError(const std::string& script, std::map<std::string, std::string> otherFiles = {}) {
    LoadResult result = loadText(script, std::move(otherFiles));
    EXPECT_FALSE(result.script.has_value()) << "the script loaded";
    EXPECT_TRUE(result.error.has_value());
    return result.error ? result.error->text() : std::string();
}

} // namespace wlan::rc::test
