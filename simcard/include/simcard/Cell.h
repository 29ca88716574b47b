// One radio cell the card can hear: an access point or an ad hoc cell.
#pragma once
#include "simcard/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

    // What the card reports about the cell beyond what the radio gives, for answers a real card rarely
    // gives: the link state word while joined (instead of 1, connected), the raw signal and quality bytes
    // of the link (instead of those computed from signal and noise), the SSID length word wherever the
    // card reports the SSID (instead of the SSID's own length), and bytes that follow the SSID there
    // (instead of zeros).
    std::optional<std::uint16_t> linkState;
    std::optional<std::uint8_t> linkSignal;
    std::optional<std::uint8_t> linkQuality;
    std::optional<std::uint16_t> ssidLength;
    std::vector<std::uint8_t> afterSsid;

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
    std::optional<std::uint16_t> linkState;
    std::optional<std::uint8_t> linkSignal;
    std::optional<std::uint8_t> linkQuality;
    std::optional<std::uint16_t> ssidLength;
    std::optional<std::vector<std::uint8_t>> afterSsid;

    void ApplyTo(Cell& cell) const;
};

} // namespace simcard
