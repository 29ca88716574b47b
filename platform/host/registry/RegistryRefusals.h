// The refusals the registry makes to a user who may not write: keys that cannot be opened or created for
// writing and values that cannot be written, armed by tests and the host runner. Kept by the registry state
// and consulted with its lock held.
#pragma once
#include "hostsim/Registry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hostreg {

class RegistryRefusals {
public:
    void Arm(hostsim::RegistryRefusal rule);
    void Clear() { m_armed.clear(); }
    std::vector<hostsim::ArmedRegistryRefusal> Armed() const { return m_armed; }
    void SetAdministratorThread(std::uint32_t threadId) { m_administrator = threadId; }

    // The rule that refuses opening or creating the key at `path` for writing, its firing counted; null
    // when none does (or the calling thread is the administrator's). Valid until the next Arm or Clear.
    const hostsim::RegistryRefusal* RefuseKey(const std::string& path);
    // The same for writing the value `name` of the key at `path`.
    const hostsim::RegistryRefusal* RefuseValue(const std::string& path, const std::string& name);

private:
    const hostsim::RegistryRefusal* Refuse(const std::string& path, const std::string* name);

    std::vector<hostsim::ArmedRegistryRefusal> m_armed;
    std::uint32_t m_administrator = 0;
};

// Any right beyond reading: setting values, creating subkeys, deleting, changing the security.
bool AsksToWrite(std::uint32_t samDesired);

} // namespace hostreg
