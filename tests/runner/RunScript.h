// Runs a script given as text on the test application, in this process, on virtual time.
#pragma once
#include "Runner.h"

#include <string>

namespace runner_test {

struct Run {
    int status = 0;
    std::string transcript; // for a usage error: the error
    std::string output;     // what the runner printed
};

// `options` may set more; the script is written to the test's file `name`.
Run RunScript(const std::string& script, runner::RunOptions options = {},
              const std::string& name = "test.script");
// A file of this test in the build folder.
std::string TempPath(const std::string& name);
std::string WriteTemp(const std::string& name, const std::string& text);
std::string ReadText(const std::string& path);
// The event lines of a transcript without their stamps, for assertions that do not care about time.
bool HasLine(const std::string& transcript, const std::string& text);

} // namespace runner_test
