// What the program asks of the window system beyond what the event list keeps, as it happens: the full
// tray records and their results (failures included), popup menu flags and owners, message box owners,
// foreground and activation requests, timers set and killed, and the result of a modal property sheet. For
// the host runner's `trace window`. Nothing is kept; costs a flag test while no sink is set.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace hostui {

struct WindowTraceRecord {
    std::uint32_t threadId = 0;
    std::string text; // e.g. `SetTimer(0x10040 "Link Info", 183, 2000) -> 183`
};

void SetWindowTraceSink(std::function<void(const WindowTraceRecord&)> sink);

} // namespace hostui
