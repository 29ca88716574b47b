// Which cells the card hears and which one it joins for a configuration.
#pragma once
#include "simcard/CardConfig.h"
#include "simcard/Cell.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace simcard {

struct Reception {
    std::uint16_t channelMask = 0x07FF;
    std::uint16_t sensitivity = 5;

    // Present, on an allowed channel, and heard at or above the sensitivity.
    bool Hears(const Cell& cell) const;
};

// The cell fits the configuration: BSS type by network type; SSID unless any is wanted; channel for ad
// hoc; privacy only with WEP on and the default transmit key equal to the cell's key, an open cell only
// with WEP off.
bool ConfigFits(const Cell& cell, const CardConfig& config);

// The heard, fitting cell with the strongest signal (the first defined on a tie); nullopt when none.
std::optional<Cell> ChooseCell(const std::vector<Cell>& cells, const CardConfig& config, const Reception& rx);

// The heard cells, in the order they were defined.
std::vector<Cell> HeardCells(const std::vector<Cell>& cells, const Reception& rx);

} // namespace simcard
