// wlanrun: runs the program of the host build on virtual time, plays a script of user and world actions and
// prints the transcript. See docs/runner.md.
#include "Runner.h"

#include <cstdio>
#include <iostream>

#include <unistd.h>

int main(int argc, char** argv) {
    runner::FailEarlyExits("wlanrun");
    runner::RunOptions options;
    std::string error;
    int status = runner::kExitUsage;
    if (!runner::ParseCommandLine(argc, argv, &options, &error)) {
        std::cerr << "wlanrun: " << error << "\n" << runner::kUsage;
    } else {
        const runner::RunResult result = runner::Run(options, std::cin, std::cout);
        if (result.status == runner::kExitUsage)
            std::cerr << "wlanrun: " << result.error << "\n";
        status = result.status;
    }
    std::cout.flush();
    std::cerr.flush();
    // Program threads may still exist (frozen on virtual time, running in real time): leave without running
    // static destructors under them. _exit rather than std::_Exit: the thread sanitizer finishes its work in
    // _exit and turns the exit status into a failure when it reported a race; std::_Exit goes around it, and
    // a run with races would pass.
    _exit(status);
}
