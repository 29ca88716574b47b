// The fuzzer's seed corpus replayed in every build: the ok-* seeds load, the bad-* seeds fail, and every
// outcome has the shape the fuzzer checks.
#include "FuzzInput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace wlan::rc::fuzz {
namespace {

TEST(FuzzCorpus, SeedsLoadOrFailAsNamed) {
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(WLAN_FUZZ_CORPUS)) {
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        std::string text = bytes.str();
        const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());

        LoadResult result = loadFuzzInput(data, text.size());
        EXPECT_TRUE(isConsistent(result, data, text.size()));
        EXPECT_EQ(result.script.has_value(), name.rfind("ok-", 0) == 0)
            << (result.error ? result.error->text() : "loaded");
        ++seeds;
    }
    EXPECT_GE(seeds, 6);
}

} // namespace
} // namespace wlan::rc::fuzz
