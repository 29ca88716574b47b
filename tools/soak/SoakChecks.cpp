#include "SoakChecks.h"

#include "StoredValues.h"

#include <hostui/Tray.h>
#include <win32api.h>

#include <cstdio>

namespace soak {
namespace {

constexpr std::uint32_t kLinkState = 0xFF010199;
constexpr std::uint32_t kCurrentAddress = 0x01010102;
constexpr std::uint64_t kCyclePause = 1000;
constexpr unsigned kIconConnected = 186;
constexpr unsigned kIconNotConnected = 187;

} // namespace

std::string Clock(std::uint64_t ms) {
    char text[32];
    std::snprintf(
        text, sizeof text, "%llu:%02llu:%02llu.%03llu", static_cast<unsigned long long>(ms / 3600000),
        static_cast<unsigned long long>(ms / 60000 % 60), static_cast<unsigned long long>(ms / 1000 % 60),
        static_cast<unsigned long long>(ms % 1000));
    return text;
}

void SoakChecks::Violate(std::uint64_t ms, const std::string& what) {
    if (m_violation.empty())
        m_violation = "at " + Clock(ms) + ": " + what;
}

void SoakChecks::OnRequest(std::uint64_t ms, const simcard::TraceEntry& entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // The user-interface thread is the program's first (t2); every other program thread is the monitor.
    if (entry.threadId == m_driverThread || entry.threadId == 2)
        return;
    const bool verification = m_lastMonitorOid == kCurrentAddress;
    m_lastMonitorOid = entry.oid;
    // A search for the card (its address, then its link state) starts the polling afresh.
    if (entry.oid == kCurrentAddress)
        m_lastPollMs.reset();
    if (entry.oid != kLinkState || entry.kind != simcard::RequestKind::Query || verification)
        return;
    // A poll: no sooner than a cycle's pause after the one before.
    ++m_polls;
    if (m_lastPollMs && entry.timeMs - *m_lastPollMs < kCyclePause)
        Violate(ms, "two link-state polls " + std::to_string(entry.timeMs - *m_lastPollMs) + " ms apart");
    m_lastPollMs = entry.timeMs;
    if (entry.status == 0 && entry.bytesOut == 2 && entry.value.size() == 2) {
        m_lastRead = static_cast<std::uint16_t>(entry.value[0] | entry.value[1] << 8);
        m_stale = false;
    }
}

void SoakChecks::OnUiEvent(std::uint64_t, const hostui::UiEvent& event) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (event.kind == hostui::UiEvent::Kind::TrayAdd || event.kind == hostui::UiEvent::Kind::TrayDelete)
        m_stale = true;
    if (event.kind == hostui::UiEvent::Kind::Box)
        ++m_boxes;
}

void SoakChecks::OnRegistryWrite(std::uint64_t ms, const hostsim::RegistryWrite& write) {
    if (::GetCurrentThreadId() == m_driverThread)
        return;
    const std::string wrong = CheckStoredValue(write, m_ntFour);
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_registryWrites;
    if (!wrong.empty())
        Violate(ms, "the program wrote \"" + write.valueName + "\" in [" + write.keyPath +
                        "] that does not decode: " + wrong);
}

void SoakChecks::CheckIcon(std::uint64_t ms) {
    const hostui::TrayIcon icon = hostui::GetTrayIcon();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stale || !m_lastRead)
        return;
    const unsigned wanted = *m_lastRead == 1 ? kIconConnected : kIconNotConnected;
    if (!icon.shown)
        Violate(ms, "no tray icon after the monitor read link state " + std::to_string(*m_lastRead));
    else if (icon.iconResource != wanted)
        Violate(ms, "tray icon " + std::to_string(icon.iconResource) + " after the monitor read link state " +
                        std::to_string(*m_lastRead));
}

std::string SoakChecks::Violation() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_violation;
}

std::uint64_t SoakChecks::LinkPolls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_polls;
}

bool SoakChecks::PolledWithin(std::uint64_t now, std::uint64_t ms) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastPollMs && now - *m_lastPollMs <= ms;
}

std::uint64_t SoakChecks::RegistryWrites() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_registryWrites;
}

std::uint64_t SoakChecks::Boxes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

} // namespace soak
