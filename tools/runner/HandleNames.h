// Names of the program's kernel objects that a trace shows by name. The runner itself knows none; a runner
// program may install a namer (wlanrun names the sheet's two hand-shake events, see UtilityNames.cpp).
// Without one, `trace events` shows every event by its handle.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace runner {

// The name of an event, "" for one the trace leaves out, or nullopt while the program cannot tell yet
// (asked again next time).
using EventNamer = std::function<std::optional<std::string>(std::uintptr_t handle)>;

// Installed by a runner program before main (a static object's constructor).
void InstallEventNamer(EventNamer namer);

// Names looked up once per handle: handles are never reused by the stand-ins.
class HandleNames {
public:
    HandleNames();
    // "" when the trace leaves the event out.
    std::string EventName(std::uintptr_t handle);

private:
    EventNamer m_namer;
    std::mutex m_mutex;
    std::map<std::uintptr_t, std::string> m_known;
};

} // namespace runner
