// One radio cell the card can hear: an access point or an ad hoc cell.
#pragma once
#include "simcard/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace simcard {

enum class BssType { Infrastructure, AdHoc };

struct Cell {
    std::string name; // the world's own name for it, not on the air
    BssType type = BssType::Infrastructure;
    std::string ssid; // 0..32 bytes
    MacAddress bssid{};
    std::uint8_t channel = 1; // 1..14
    std::uint16_t signal = 0; // level as the card reports it in scan results
    std::uint16_t noise = 0;
    std::string wepKey; // empty: open cell; else 5 or 13 key bytes, privacy on
    bool present = true;

    bool Privacy() const { return !wepKey.empty(); }
};

// A change to a cell at run time; fields left empty keep their value.
struct CellChange {
    std::optional<std::string> ssid;
    std::optional<std::uint8_t> channel;
    std::optional<std::uint16_t> signal;
    std::optional<std::uint16_t> noise;
    std::optional<std::string> wepKey;
    std::optional<bool> present;

    void ApplyTo(Cell& cell) const;
};

} // namespace simcard
