// Reads the registry text form of docs/registry-file.md into a new tree. The parser builds a tree of its
// own, so a text with an error leaves nothing behind.
#pragma once
#include "RegistryTree.h"

#include <string>

namespace hostreg {

// On error returns false and sets *error to "source:line: what is wrong"; *tree then holds a partial result.
bool ParseRegistryText(const std::string& text, const std::string& source, RegistryTree* tree,
                       std::string* error);

} // namespace hostreg
