// Reads a script completely before anything runs: every line is checked, every name resolved, and the first
// mistake is reported as "file:line: what is wrong".
#pragma once
#include "ResourceCatalog.h"
#include "Script.h"

#include <set>
#include <string>

namespace runner {

constexpr std::size_t kMaxLineLength = 400;

struct ReadResult {
    bool ok = false;
    std::string error;
    Script script;
};

class ScriptReader {
public:
    // `cells`: names of the cells the world starts with (what `world at` lines may refer to).
    ScriptReader(const ResourceCatalog& catalog, std::set<std::string> cells);

    ReadResult Read(const std::string& text, const std::string& fileName);
    // One line of an interactive session; setup lines are refused there.
    bool ReadLine(const std::string& line, const std::string& fileName, int number, Command* command,
                  bool* empty, std::string* error);

private:
    const ResourceCatalog& m_catalog;
    std::set<std::string> m_cells;
};

// Only the `setup` lines of a script, so that the runner can choose the world before reading the rest.
// False with a message when a setup line is malformed.
bool ReadSetup(const std::string& text, const std::string& fileName, ScriptSetup* setup, std::string* error);

} // namespace runner
