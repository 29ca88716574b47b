// wlansoak: the program on one Windows kind for hours of virtual time under a seeded random world and user,
// its invariants checked as it runs (see Soak.h). scripts/soak.sh builds and runs it; docs/reliability.md
// has the figures.
#include "HeapCount.h"
#include "Soak.h"

#include "LiveRun.h"
#include "Runner.h"
#include "ScriptWords.h"

#include "simcard/WorldFile.h"

#include <hostsim/System.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

namespace {

const char kUsage[] =
    "usage: wlansoak --world FILE [--kind K] [--hours N] [--seed S] [--rest-every M] [--replay FILE]\n"
    "  --kind     win95, win98, nt4 or win2000 (default win2000)\n"
    "  --hours    virtual hours to run (default 1)\n"
    "  --seed     the random world's and user's seed (default 1)\n"
    "  --rest-every  minutes between rests, where handles and heap are counted (default 60)\n"
    "  --replay   where a failure writes the steps as a script wlanrun plays (default soak-replay.script)\n";

struct Options {
    std::string kind = "win2000";
    std::uint64_t hours = 1;
    std::uint64_t seed = 1;
    std::uint64_t restMinutes = 60;
    std::string world;
    std::string replay = "soak-replay.script";
};

bool Parse(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (word == "--kind") {
            options->kind = value;
        } else if (word == "--hours" || word == "--seed") {
            auto n = runner::ParseNumber(value, word == "--hours" ? 1000 : 0xFFFFFFFFFFFFull);
            if (!n || (word == "--hours" && *n == 0))
                return false;
            (word == "--hours" ? options->hours : options->seed) = *n;
        } else if (word == "--rest-every") {
            auto n = runner::ParseNumber(value, 24 * 60);
            if (!n || *n < 10)
                return false;
            options->restMinutes = *n;
        } else if (word == "--world") {
            options->world = value;
        } else if (word == "--replay") {
            options->replay = value;
        } else {
            return false;
        }
    }
    return !options->world.empty();
}

int Main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, &options)) {
        std::cerr << kUsage;
        return 2;
    }
    soak::SetDriverThread();
    hostsim::WindowsKind kind;
    if (!hostsim::ParseWindowsKind(options.kind, &kind)) {
        std::cerr << "wlansoak: unknown Windows kind '" << options.kind << "'\n" << kUsage;
        return 2;
    }
    const simcard::WorldLoad world = simcard::LoadWorldFile(options.world);
    if (!world.ok) {
        std::cerr << "wlansoak: " << world.error << "\n";
        return 2;
    }

    runner::RunOptions run;
    run.script = "soak";
    run.kind = options.kind;
    run.world = options.world;
    runner::LiveRun live;
    std::string error;
    if (!live.Prepare(run, "", &error)) {
        std::cerr << "wlansoak: " << error << "\n";
        return 2;
    }
    auto checks =
        std::make_shared<soak::SoakChecks>(::GetCurrentThreadId(), kind == hostsim::WindowsKind::NT4);
    live.SetListener(checks);
    const auto started = std::chrono::steady_clock::now();
    if (!live.Start({}, false, &error)) {
        std::cerr << "wlansoak: " << error << "\n";
        return 2;
    }
    // A run of days keeps the transcript's last lines, for a failure's report.
    live.GetSession()->transcript.KeepLast(400);
    soak::Soak soaker(live, checks, options.seed, kind, world.world);
    const bool ok = soaker.Run(options.hours, options.restMinutes);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const soak::SoakFigures& f = soaker.Figures();
    const std::string name = options.kind + " seed " + std::to_string(options.seed);
    std::printf("soak: %s: %llu of %llu hours, %llu actions (%llu steps), %llu faults, %llu message boxes, "
                "%llu link-state polls, %llu registry writes checked, %.1f s wall time\n",
                name.c_str(), static_cast<unsigned long long>(f.hours),
                static_cast<unsigned long long>(options.hours), static_cast<unsigned long long>(f.actions),
                static_cast<unsigned long long>(f.steps), static_cast<unsigned long long>(f.faults),
                static_cast<unsigned long long>(f.boxes), static_cast<unsigned long long>(f.linkPolls),
                static_cast<unsigned long long>(f.registryWrites), wall);
    std::printf("soak: %s: at start: %s\n", name.c_str(), f.start.Describe().c_str());
    std::printf("soak: %s: at the first rest: %s\n", name.c_str(), f.first.Describe().c_str());
    std::printf("soak: %s: at the last rest:  %s\n", name.c_str(), f.last.Describe().c_str());
    if (!ok) {
        std::printf("soak: %s: FAILED %s\n", name.c_str(), soaker.Failure().c_str());
        std::printf("soak: replay: scripts/soak.sh --kind %s --seed %llu --hours %llu\n",
                    options.kind.c_str(), static_cast<unsigned long long>(options.seed),
                    static_cast<unsigned long long>(options.hours));
        if (runner::WriteWholeFile(options.replay, soaker.ReplayScript(options.world)))
            std::printf("soak: the steps up to the failure, as a script: wlanrun %s\n",
                        options.replay.c_str());
        if (!f.firstSites.empty())
            std::printf("soak: live heap by place after hour 1:\n%s\nsoak: after hour %llu:\n%s\n",
                        f.firstSites.c_str(), static_cast<unsigned long long>(f.hours), f.lastSites.c_str());
        std::printf("soak: the transcript's last lines:\n");
        for (const std::string& line : live.GetSession()->transcript.Lines())
            std::printf("  %s\n", line.c_str());
    } else {
        std::printf("soak: %s: passed\n", name.c_str());
    }
    std::fflush(stdout);
    live.Finish(std::cout);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    runner::FailEarlyExits("wlansoak");
    const int status = Main(argc, argv);
    std::cout.flush();
    // Program threads stay frozen on virtual time: leave without running static destructors under them.
    _exit(status);
}
