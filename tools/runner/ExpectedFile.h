// Comparing a transcript with the expected one kept next to a scenario script, and the readable difference.
#pragma once
#include <string>
#include <vector>

namespace runner {

std::vector<std::string> SplitLines(const std::string& text);

// Empty when equal; otherwise a unified-style difference ("--- expected", "+++ actual", "@@ line N @@",
// then lines marked ' ', '-' and '+', three lines of context).
std::string UnifiedDiff(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                        const std::string& expectedName);

} // namespace runner
