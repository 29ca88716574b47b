#include "ScriptPlayer.h"

#include "ScriptWords.h"

#include <hostsim/Clock.h>

namespace runner {
namespace {
// How often a waiting command looks at windows and cards that change without an event.
constexpr std::uint64_t kPollMs = 100;
} // namespace

ScriptPlayer::ScriptPlayer(Transcript& transcript, RunRecord& record, ProgramHost& program,
                           std::uint64_t startMs)
    : m_transcript(transcript), m_record(record), m_program(program), m_startMs(startMs) {}

std::uint64_t ScriptPlayer::Now() const {
    return hostsim::NowMs() - m_startMs;
}

void ScriptPlayer::Say(const std::string& text) {
    m_transcript.Add(Now(), ::GetCurrentThreadId(), text);
}

bool ScriptPlayer::Fail(const std::string& what) {
    Say("FAILED " + what);
    return false;
}

void ScriptPlayer::Begin() {
    Yield();
}

void ScriptPlayer::Yield() {
    auto never = [] { return false; };
    auto lock = hostsim::LockScheduler();
    hostsim::BlockUntil(lock, never, hostsim::NowMs(), "wlanrun script");
}

bool ScriptPlayer::WaitFor(const std::function<bool()>& done, std::uint64_t deadline) {
    for (;;) {
        if (done())
            return true;
        const std::uint64_t now = hostsim::NowMs();
        if (m_program.Exited() || now >= deadline)
            return false;
        const std::uint64_t seen = m_transcript.Changes();
        auto changed = [&] { return m_program.Exited() || m_transcript.Changes() != seen; };
        auto lock = hostsim::LockScheduler();
        hostsim::BlockUntil(lock, changed, std::min(deadline, now + kPollMs), "wlanrun script");
    }
}

bool ScriptPlayer::Play(const Command& command) {
    using Verb = Command::Verb;
    Say("script " + std::to_string(command.line) + ": " + command.source);
    bool ok = true;
    switch (command.verb) {
    case Verb::Wait:
        WaitFor([] { return false; }, hostsim::NowMs() + command.ms);
        break;
    case Verb::WaitUntil: {
        const std::uint64_t started = Now();
        std::string actual;
        const bool held =
            WaitFor([&] { return Holds(command.condition, &actual); }, hostsim::NowMs() + command.ms);
        if (held)
            Say("ok " + command.condition.source + " after " + FormatDuration(Now() - started));
        else if (m_program.Exited() && command.condition.kind != Condition::Kind::Exited)
            ok = Fail("wait until " + command.condition.source + ": the program ended first");
        else
            ok = Fail("wait until " + command.condition.source + ": not within " +
                      FormatDuration(command.ms) + " (" + actual + ")");
        break;
    }
    case Verb::Expect: {
        std::string actual;
        if (Holds(command.condition, &actual))
            Say("ok " + command.condition.source);
        else
            ok = Fail("expect " + command.condition.source + " (" + actual + ")");
        break;
    }
    case Verb::DumpPage:
    case Verb::DumpSheet:
    case Verb::DumpRegistry:
    case Verb::DumpTray:
    case Verb::DumpTrace:
    case Verb::DumpRequest:
        Dump(command);
        break;
    case Verb::CardRemove:
    case Verb::CardInsert:
    case Verb::DeviceArrival:
    case Verb::DeviceRemoval:
    case Verb::DeviceNodesChanged:
    case Verb::PowerSleep:
    case Verb::PowerWake:
    case Verb::PowerBroadcast:
    case Verb::PowerLegacy:
    case Verb::World:
        ok = Outside(command);
        break;
    case Verb::Fault:
    case Verb::FaultClear:
    case Verb::RegistryRefuse:
        ok = Faults(command);
        break;
    case Verb::RegistrySet:
    case Verb::RegistryDelete:
    case Verb::RegistryMark:
    case Verb::DriverFile:
        ok = System(command);
        break;
    case Verb::ExpectIdle:
        ok = ExpectIdle(command);
        break;
    case Verb::AnswerShell:
        ok = User(command);
        break;
    default:
        ok = m_program.Exited() ? Fail("the program has ended") : User(command);
        break;
    }
    if (ok && !m_program.Exited())
        Yield();
    return ok;
}

} // namespace runner
