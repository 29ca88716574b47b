#include "RunScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace runner_test {

std::string TempPath(const std::string& name) {
    // Tests run in parallel: each test's files carry its name.
    return std::string(RUNNER_TEST_DIR) + "/" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "." + name;
}

std::string WriteTemp(const std::string& name, const std::string& text) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return path;
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

Run RunScript(const std::string& script, runner::RunOptions options, const std::string& name) {
    options.script = WriteTemp(name, script);
    std::istringstream in;
    std::ostringstream out;
    const runner::RunResult result = runner::Run(options, in, out);
    Run run;
    run.status = result.status;
    run.transcript = result.status == runner::kExitUsage ? result.error : result.transcript;
    run.output = out.str();
    return run;
}

bool HasLine(const std::string& transcript, const std::string& text) {
    std::istringstream lines(transcript);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t stamp = line.find("] t");
        const std::size_t body = stamp == std::string::npos ? 0 : line.find(' ', stamp + 3);
        std::size_t start = body == std::string::npos ? 0 : body;
        while (start < line.size() && line[start] == ' ')
            ++start;
        if (line.compare(start, std::string::npos, text) == 0)
            return true;
    }
    return false;
}

} // namespace runner_test
