// The invariants the soak checks as the program runs, from what the run's observers see: the tray icon
// shows the last link state the card monitor read, the monitor polls no faster than once a second, and
// every registry value the program writes decodes. The first violation is kept with when it happened.
#pragma once
#include "Session.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace soak {

class SoakChecks final : public runner::RunListener {
public:
    SoakChecks(std::uint32_t driverThread, bool ntFour) : m_driverThread(driverThread), m_ntFour(ntFour) {}

    void OnRequest(std::uint64_t ms, const simcard::TraceEntry& entry) override;
    void OnUiEvent(std::uint64_t ms, const hostui::UiEvent& event) override;
    void OnRegistryWrite(std::uint64_t ms, const hostsim::RegistryWrite& write) override;

    // Called while the program is still (every program thread waits): the icon against the last read.
    void CheckIcon(std::uint64_t ms);

    // The first violation, "at 1:02:03.500: what" ; empty while there is none.
    std::string Violation() const;
    std::uint64_t LinkPolls() const;
    // The monitor thread polled the link at most `ms` before `now` (the card's clock).
    bool PolledWithin(std::uint64_t now, std::uint64_t ms) const;
    std::uint64_t RegistryWrites() const;
    std::uint64_t Boxes() const;

private:
    void Violate(std::uint64_t ms, const std::string& what);

    const std::uint32_t m_driverThread;
    const bool m_ntFour;
    mutable std::mutex m_mutex;
    std::string m_violation;
    std::uint32_t m_uiThread = 0;
    // The card monitor's last link-state read (its value), and whether the tray has been added to or
    // taken away from since: then the next read sets the icon again.
    std::optional<std::uint16_t> m_lastRead;
    bool m_stale = true;
    std::uint32_t m_lastMonitorOid = 0;
    std::optional<std::uint64_t> m_lastPollMs;
    std::uint64_t m_polls = 0;
    std::uint64_t m_registryWrites = 0;
    std::uint64_t m_boxes = 0;
};

// "1:02:03.500"
std::string Clock(std::uint64_t ms);

} // namespace soak
