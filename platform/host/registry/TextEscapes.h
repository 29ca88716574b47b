// How names and data bytes are written in the registry text form, so that every byte survives a round
// trip and the text stays plain printable ASCII.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace hostreg {

// A double-quoted literal: printable ASCII as is, except `"` and `\` which get a backslash; the zero
// byte as \0; every other byte as \xHH.
std::string QuoteBytes(const std::string& bytes);
std::string QuoteBytes(const std::vector<std::uint8_t>& bytes);

// A key name inside a bracketed key path: printable ASCII as is, except `%`; every other byte as %HH.
// (The backslash cannot occur: it separates the names of a path.)
std::string EscapeKeyName(const std::string& name);

// A full key path, the root's name as is and each key name escaped.
std::string EscapeKeyPath(const std::string& path);

int HexDigitValue(char c); // -1 when c is not a hexadecimal digit

} // namespace hostreg
