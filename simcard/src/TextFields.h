// Reading the line-oriented text files of the card (world file, fault rules): words, key=value fields
// and numbers. Internal to the library.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simcard {
namespace text {

// Splits a line into words at blanks; a double-quoted part (no escapes) may hold blanks; '#' outside
// quotes starts a comment. Quotes are removed. nullopt when a quote is not closed.
std::optional<std::vector<std::string>> SplitWords(const std::string& line);

// "key=value" into its two parts; nullopt when there is no '=' or the key is empty.
std::optional<std::pair<std::string, std::string>> SplitField(const std::string& word);

// Decimal, or hexadecimal with 0x; the whole text must be the number and it must fit `max`.
std::optional<std::uint64_t> ParseNumber(const std::string& text, std::uint64_t max);

std::optional<bool> ParseYesNo(const std::string& text);

} // namespace text
} // namespace simcard
