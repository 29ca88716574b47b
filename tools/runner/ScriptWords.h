// Splitting a script line into words: blanks separate, "double quotes" hold blanks (\" and \\ inside),
// '#' outside quotes starts a comment.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace runner {

struct Word {
    std::string text;
    bool quoted = false;
    std::size_t offset = 0; // where the word starts in the line
};

// The words of a line; false with a message on an unterminated quote or a bad escape.
bool SplitWords(const std::string& line, std::vector<Word>* words, std::string* error);

// The line without its comment (quotes respected) and without trailing blanks.
std::string StripComment(const std::string& line);

// Decimal or 0x hexadecimal, no sign, at most `max`.
std::optional<std::uint64_t> ParseNumber(const std::string& text, std::uint64_t max = 0xFFFFFFFFu);
// "250ms", "5s", "1.5s", "10m"; at most a day.
std::optional<std::uint64_t> ParseDuration(const std::string& text);
// "12.000s" style, as the transcript stamps time.
std::string FormatDuration(std::uint64_t ms);

} // namespace runner
