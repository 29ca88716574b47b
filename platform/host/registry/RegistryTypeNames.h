// The names under which value types appear in the registry text form.
#pragma once
#include <cstdint>
#include <string>

namespace hostreg {

constexpr std::uint32_t kTypeDword = 4;

// "sz", "expand_sz", "binary", "dword", "multi_sz", "none", or "type(N)" for any other number.
std::string TypeName(std::uint32_t type);
// The inverse of TypeName; false for an unknown name or a number out of range.
bool ParseTypeName(const std::string& name, std::uint32_t* type);

// Types whose data is text: written as a quoted literal.
bool IsStringType(std::uint32_t type);

} // namespace hostreg
