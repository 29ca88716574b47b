// A picture of a run on its time axis: the tray icon, the link state, signal and quality as the program read
// them from the card, and driver requests per second. Written as SVG at the end of the run.
#pragma once
#include "simcard/Trace.h"

#include <hostui/Events.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace runner {

class Timeline {
public:
    void OnUiEvent(std::uint64_t ms, const hostui::UiEvent& event);
    void OnRequest(std::uint64_t ms, const simcard::TraceEntry& entry);
    std::string Svg(std::uint64_t endMs, const std::string& title) const;

private:
    struct Sample {
        std::uint64_t ms;
        long value;
    };
    mutable std::mutex m_mutex;
    std::vector<Sample> m_icon;
    std::vector<Sample> m_link;
    std::vector<Sample> m_signal;
    std::vector<Sample> m_quality;
    std::map<std::uint64_t, long> m_requestsPerSecond;
};

} // namespace runner
