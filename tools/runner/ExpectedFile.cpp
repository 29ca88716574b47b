#include "ExpectedFile.h"

#include <algorithm>
#include <sstream>

namespace runner {
namespace {

constexpr std::size_t kContext = 3;
// Beyond this many differing lines in the middle the difference is shown as one block.
constexpr std::size_t kMaxTable = 4000;

struct Edit {
    char mark; // ' ', '-', '+'
    std::string text;
    std::size_t expectedLine; // 1-based line of the expected file at this point
};

std::vector<Edit> Edits(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::size_t n = a.size() - prefix - suffix;
    const std::size_t m = b.size() - prefix - suffix;
    std::vector<Edit> edits;
    for (std::size_t i = 0; i < prefix; ++i)
        edits.push_back({' ', a[i], i + 1});
    if (n > kMaxTable || m > kMaxTable) {
        for (std::size_t i = 0; i < n; ++i)
            edits.push_back({'-', a[prefix + i], prefix + i + 1});
        for (std::size_t j = 0; j < m; ++j)
            edits.push_back({'+', b[prefix + j], prefix + n + 1});
    } else {
        // Longest common subsequence of the middle parts.
        std::vector<std::vector<std::uint16_t>> lcs(n + 1, std::vector<std::uint16_t>(m + 1, 0));
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = m; j-- > 0;)
                lcs[i][j] = a[prefix + i] == b[prefix + j] ? static_cast<std::uint16_t>(lcs[i + 1][j + 1] + 1)
                                                           : std::max(lcs[i + 1][j], lcs[i][j + 1]);
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && a[prefix + i] == b[prefix + j]) {
                edits.push_back({' ', a[prefix + i], prefix + i + 1});
                ++i;
                ++j;
            } else if (i < n && (j == m || lcs[i + 1][j] >= lcs[i][j + 1])) {
                edits.push_back({'-', a[prefix + i], prefix + i + 1});
                ++i;
            } else {
                edits.push_back({'+', b[prefix + j], prefix + i + 1});
                ++j;
            }
        }
    }
    for (std::size_t k = a.size() - suffix; k < a.size(); ++k)
        edits.push_back({' ', a[k], k + 1});
    return edits;
}

} // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::string UnifiedDiff(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                        const std::string& expectedName) {
    if (expected == actual)
        return "";
    const std::vector<Edit> edits = Edits(expected, actual);
    std::string out = "--- " + expectedName + " (expected)\n+++ this run\n";
    std::size_t k = 0;
    while (k < edits.size()) {
        if (edits[k].mark == ' ') {
            ++k;
            continue;
        }
        // A hunk: the changes from k on, joined while fewer than 2*context equal lines lie between them.
        std::size_t begin = k > kContext ? k - kContext : 0;
        std::size_t end = k;
        std::size_t equalRun = 0;
        while (end < edits.size() && equalRun <= 2 * kContext) {
            equalRun = edits[end].mark == ' ' ? equalRun + 1 : 0;
            ++end;
        }
        end -= std::min(equalRun, end - k);
        end = std::min(edits.size(), end + kContext);
        out += "@@ expected line " + std::to_string(edits[begin].expectedLine) + " @@\n";
        for (std::size_t i = begin; i < end; ++i)
            out += std::string(1, edits[i].mark) + edits[i].text + "\n";
        k = end;
    }
    return out;
}

} // namespace runner
