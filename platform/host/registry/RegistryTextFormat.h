// Writes registry content in the text form of docs/registry-file.md.
#pragma once
#include "RegistryTree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hostreg {

extern const char kRegistryFileHeader[]; // the first line of every registry file

// The whole registry: header, then every key in enumeration order with its values.
std::string FormatRegistryTree(const RegistryTree& tree);

// A key and everything below it, without header.
std::string FormatKeySubtree(const RegistryKey& key);

// Type and data of a value as they follow the `=` of a value line, e.g. `sz "11"` or `dword 65535`.
std::string FormatTypedData(std::uint32_t type, const std::vector<std::uint8_t>& data);

} // namespace hostreg
