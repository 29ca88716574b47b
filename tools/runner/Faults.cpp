// Faults armed while the program runs: card fault rules on every card, refusals of the registry, and
// `fault clear`, which checks that each of them fired before it lets them go.
#include "ScriptPlayer.h"

#include "driverlib/CardRack.h"

#include <hostsim/Registry.h>

namespace runner {

std::vector<std::string> UnfiredFaults() {
    std::vector<std::string> lines;
    for (const auto& card : driverlib::CardRack::Instance().Cards())
        for (const simcard::FaultRule& rule : card->UnfiredFaults())
            lines.push_back("fault never fired: " + simcard::DescribeRule(rule));
    for (const hostsim::ArmedRegistryRefusal& armed : hostsim::RegistryRefusals())
        if (armed.fired == 0 && !armed.rule.optional)
            lines.push_back("registry refusal never fired: " + armed.rule.text);
    return lines;
}

bool ScriptPlayer::Faults(const Command& command) {
    using Verb = Command::Verb;
    driverlib::CardRack& rack = driverlib::CardRack::Instance();
    switch (command.verb) {
    case Verb::Fault:
        for (const auto& card : rack.Cards())
            card->ArmFaults(command.faults);
        return true;
    case Verb::RegistryRefuse:
        hostsim::ArmRegistryRefusal(command.refusal);
        return true;
    case Verb::FaultClear: {
        const std::vector<std::string> unfired = UnfiredFaults();
        for (const auto& card : rack.Cards())
            card->ClearFaults();
        hostsim::ClearRegistryRefusals();
        for (const std::string& line : unfired)
            Say("FAILED " + line);
        return unfired.empty();
    }
    default:
        return true;
    }
}

} // namespace runner
