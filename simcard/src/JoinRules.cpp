#include "simcard/JoinRules.h"

namespace simcard {

bool Reception::Hears(const Cell& cell) const {
    if (!cell.present || cell.signal < sensitivity || cell.channel < 1 || cell.channel > 14)
        return false;
    return (channelMask >> (cell.channel - 1)) & 1u;
}

bool ConfigFits(const Cell& cell, const CardConfig& config) {
    if (config.IsAdHoc()) {
        if (cell.type != BssType::AdHoc || cell.channel != config.channel)
            return false;
    } else if (cell.type != BssType::Infrastructure) {
        return false;
    }
    if (!config.WantsAnySsid() && cell.ssid != config.ssid)
        return false;
    if (!cell.Privacy())
        return config.WepKeyLength() == 0;
    const std::size_t length = config.WepKeyLength();
    if (length != cell.wepKey.size() || config.txKey < 1 || config.txKey > 4)
        return false;
    const std::string& key = config.wepKeys[config.txKey - 1u];
    return key.size() >= length && key.compare(0, length, cell.wepKey) == 0;
}

std::optional<Cell> ChooseCell(const std::vector<Cell>& cells, const CardConfig& config,
                               const Reception& rx) {
    const Cell* best = nullptr;
    for (const Cell& cell : cells)
        if (rx.Hears(cell) && ConfigFits(cell, config) && (!best || cell.signal > best->signal))
            best = &cell;
    if (!best)
        return std::nullopt;
    return *best;
}

std::vector<Cell> HeardCells(const std::vector<Cell>& cells, const Reception& rx) {
    std::vector<Cell> heard;
    for (const Cell& cell : cells)
        if (rx.Hears(cell))
            heard.push_back(cell);
    return heard;
}

} // namespace simcard
