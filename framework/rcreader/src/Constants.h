// The Windows constants a resource script may use, built in so that the host build needs no SDK headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wlan::rc {

std::optional<std::uint32_t> builtinConstant(std::string_view name);

// "Button", "Edit", "Static", "ListBox", "ScrollBar" or "ComboBox" for the predefined classes in any letter
// case; any other class name as written.
std::string canonicalClassName(std::string_view name);

} // namespace wlan::rc
