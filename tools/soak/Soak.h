// The soak: the program on one Windows kind for hours of virtual time, with a seeded random world around it
// (the card pulled and put back with and without Windows' notifications, suspends, access points coming,
// going and fading, one-off driver faults) and a seeded random user (the sheet opened and closed, every
// page's controls, Apply, OK, Cancel, Undo, Restore, profiles created, activated and removed, Search and
// Connect). It plays them as commands of the host runner, checks the invariants of SoakChecks as it goes,
// and at the end of every hour brings program and world to the same resting state and counts the program's
// open handles and live heap, which must be the same as after the first hour.
#pragma once
#include "HeapCount.h"
#include "LiveRun.h"
#include "SoakChecks.h"

#include "simcard/WorldFile.h"

#include <hostsim/System.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace soak {

// What the program holds at rest: handles of each kind and its live heap.
struct Holdings {
    std::size_t kernelHandles = 0;
    std::size_t registryHandles = 0;
    std::size_t adapterHandles = 0;
    std::size_t windows = 0;
    std::size_t gdiObjects = 0;
    HeapFigures heap;

    bool operator==(const Holdings& other) const;
    std::string Describe() const;
};

struct SoakFigures {
    std::uint64_t hours = 0;
    std::uint64_t steps = 0;   // command lines played
    std::uint64_t actions = 0; // what the user and the world did
    std::uint64_t faults = 0;  // driver faults armed, cards pulled, suspends
    std::uint64_t boxes = 0;
    std::uint64_t linkPolls = 0;
    std::uint64_t registryWrites = 0;
    Holdings start; // once the program has started and shows the card's link
    Holdings first; // after the first hour
    Holdings last;
    std::string firstSites; // the live heap by place after the first hour, when kept (HeapSitesKept)
    std::string lastSites;
};

class Soak {
public:
    Soak(runner::LiveRun& run, std::shared_ptr<SoakChecks> checks, std::uint64_t seed,
         hostsim::WindowsKind kind, simcard::WorldDefinition world);

    // Runs until `hours` hours of virtual time have passed, or the first failure, bringing everything to
    // rest and counting every `restMinutes` minutes. False with Failure().
    bool Run(std::uint64_t hours, std::uint64_t restMinutes);
    const std::string& Failure() const { return m_failure; }
    const SoakFigures& Figures() const { return m_figures; }
    // Every line played so far, with the message box answers each step needed before it: a script that
    // wlanrun plays the same way.
    std::string ReplayScript(const std::string& worldPath) const;

private:
    // Playing.
    bool Play(const std::string& line);
    bool PlayAll(const std::vector<std::string>& lines);
    bool Fail(const std::string& what);
    std::uint64_t Now() const;

    // What the program shows now.
    HWND Sheet() const;
    HWND Page() const;
    std::string PageTitle() const;
    bool Usable(int control) const; // shown and enabled on the page showing
    bool TrayShown() const;

    // One random action of the world or the user; the lines to play.
    std::vector<std::string> NextAction();
    std::vector<std::string> WorldAction();
    std::vector<std::string> UserAction();
    std::vector<std::string> PageAction(const std::string& page);
    std::vector<std::string> WaitAction();

    // The end of an hour: everything back to rest, then the count.
    bool Rest();
    Holdings Count() const;

    int Pick(int n);
    bool Chance(int percent);
    std::string OneOf(const std::vector<std::string>& choices);
    std::string HexDigits(int count);

    runner::LiveRun& m_run;
    std::shared_ptr<SoakChecks> m_checks;
    std::mt19937_64 m_random;
    std::mt19937_64 m_answers; // the responder's own, so that boxes do not shift the user's choices
    hostsim::WindowsKind m_kind;
    simcard::WorldDefinition m_world;

    // The world as the soak left it.
    bool m_cardIn = true;
    bool m_asleep = false;
    std::vector<std::string> m_script;
    std::vector<std::string> m_answersOfStep;
    std::string m_failure;
    SoakFigures m_figures;
};

} // namespace soak
