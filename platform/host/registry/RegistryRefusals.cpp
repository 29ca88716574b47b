#include "RegistryRefusals.h"

#include "KeyName.h"

#include "hostwin/kernel.h"

namespace hostreg {
namespace {

// The key at `path` is `key` itself, or (with `subkeys`) a key below it. Paths compare as names do.
bool Covers(const std::string& key, bool subkeys, const std::string& path) {
    const std::string folded = FoldName(path);
    const std::string base = FoldName(key);
    if (folded == base)
        return true;
    return subkeys && folded.size() > base.size() && folded.compare(0, base.size(), base) == 0 &&
           folded[base.size()] == '\\';
}

} // namespace

bool AsksToWrite(std::uint32_t samDesired) {
    // KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER, GENERIC_WRITE,
    // GENERIC_ALL; KEY_ALL_ACCESS and KEY_WRITE hold some of them.
    const std::uint32_t writeRights =
        0x2u | 0x4u | 0x20u | 0x10000u | 0x40000u | 0x80000u | 0x40000000u | 0x10000000u;
    return (samDesired & writeRights) != 0;
}

void RegistryRefusals::Arm(hostsim::RegistryRefusal rule) {
    hostsim::ArmedRegistryRefusal armed;
    armed.rule = std::move(rule);
    m_armed.push_back(std::move(armed));
}

const hostsim::RegistryRefusal* RegistryRefusals::RefuseKey(const std::string& path) {
    return Refuse(path, nullptr);
}

const hostsim::RegistryRefusal* RegistryRefusals::RefuseValue(const std::string& path,
                                                              const std::string& name) {
    return Refuse(path, &name);
}

const hostsim::RegistryRefusal* RegistryRefusals::Refuse(const std::string& path, const std::string* name) {
    if (m_armed.empty() || (m_administrator != 0 && ::GetCurrentThreadId() == m_administrator))
        return nullptr;
    for (hostsim::ArmedRegistryRefusal& armed : m_armed) {
        const hostsim::RegistryRefusal& rule = armed.rule;
        if (rule.valueName.has_value() != (name != nullptr))
            continue;
        if (name != nullptr && !SameName(*rule.valueName, *name))
            continue;
        if (!Covers(rule.keyPath, rule.subkeys, path))
            continue;
        if (rule.times != 0 && armed.fired >= rule.times)
            continue;
        ++armed.fired;
        return &rule;
    }
    return nullptr;
}

} // namespace hostreg
