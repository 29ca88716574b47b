#include "HandleNames.h"

#include <cstdio>

namespace runner {
namespace {

EventNamer& InstalledNamer() {
    static EventNamer namer;
    return namer;
}

} // namespace

void InstallEventNamer(EventNamer namer) {
    InstalledNamer() = std::move(namer);
}

HandleNames::HandleNames() : m_namer(InstalledNamer()) {}

std::string HandleNames::EventName(std::uintptr_t handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_known.find(handle);
    if (it != m_known.end())
        return it->second;
    std::optional<std::string> name;
    if (m_namer) {
        name = m_namer(handle);
        if (!name)
            return "";
    } else {
        char text[32];
        std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(handle));
        name = text;
    }
    m_known.emplace(handle, *name);
    return *name;
}

} // namespace runner
