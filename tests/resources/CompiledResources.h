// A reader of the binary .res file the resource compiler writes, so the tests can compare what the
// compiler made of our script with what the host reader made of it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wlan::rc::test {

struct CompiledControl {
    std::uint32_t id = 0;
    std::string className; // predefined classes by their names
    std::string text;
    std::optional<std::uint16_t> textOrdinal;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
};

struct CompiledDialog {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0, weight = 0, italic = 0, charset = 0;
    std::string typeface;
    std::vector<CompiledControl> controls;
};

struct CompiledResources {
    std::map<int, CompiledDialog> dialogs;
    std::map<int, std::string> strings;
    std::map<int, int> iconGroups; // id -> number of pictures
    std::optional<std::array<std::uint16_t, 4>> fileVersion;
};

// Throws std::runtime_error when the file is not a well-formed .res file.
CompiledResources readCompiledResources(const std::string& bytes);

} // namespace wlan::rc::test
