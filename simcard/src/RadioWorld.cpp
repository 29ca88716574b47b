#include "simcard/RadioWorld.h"

#include <algorithm>

namespace simcard {

void CellChange::ApplyTo(Cell& cell) const {
    if (ssid)
        cell.ssid = *ssid;
    if (channel)
        cell.channel = *channel;
    if (signal)
        cell.signal = *signal;
    if (noise)
        cell.noise = *noise;
    if (wepKey)
        cell.wepKey = *wepKey;
    if (present)
        cell.present = *present;
    if (linkState)
        cell.linkState = *linkState;
    if (linkSignal)
        cell.linkSignal = *linkSignal;
    if (linkQuality)
        cell.linkQuality = *linkQuality;
    if (ssidLength)
        cell.ssidLength = *ssidLength;
    if (afterSsid)
        cell.afterSsid = *afterSsid;
}

RadioWorld::RadioWorld(std::vector<Cell> cells) : m_base(std::move(cells)) {}

std::vector<Cell> RadioWorld::CellsAt(std::uint64_t t) const {
    threads::Lock lock(m_mutex);
    std::vector<Cell> cells = m_base;
    for (const WorldEvent& event : m_events) {
        if (event.atMs > t)
            break;
        if (event.added) {
            cells.push_back(*event.added);
            continue;
        }
        for (Cell& cell : cells)
            if (cell.name == event.cellName)
                event.change.ApplyTo(cell);
    }
    return cells;
}

std::optional<std::uint64_t> RadioWorld::NextEventAfter(std::uint64_t t) const {
    threads::Lock lock(m_mutex);
    auto it = std::upper_bound(m_events.begin(), m_events.end(), t,
                               [](std::uint64_t time, const WorldEvent& e) { return time < e.atMs; });
    if (it == m_events.end())
        return std::nullopt;
    return it->atMs;
}

bool RadioWorld::KnownAt(const std::string& name, std::uint64_t t) const {
    for (const Cell& cell : m_base)
        if (cell.name == name)
            return true;
    for (const WorldEvent& event : m_events)
        if (event.added && event.added->name == name && event.atMs <= t)
            return true;
    return false;
}

void RadioWorld::Insert(WorldEvent event) {
    auto it = std::upper_bound(m_events.begin(), m_events.end(), event.atMs,
                               [](std::uint64_t time, const WorldEvent& e) { return time < e.atMs; });
    m_events.insert(it, std::move(event));
}

bool RadioWorld::Change(const std::string& cellName, const CellChange& change, std::uint64_t atMs) {
    threads::Lock lock(m_mutex);
    if (!KnownAt(cellName, atMs))
        return false;
    WorldEvent event;
    event.atMs = atMs;
    event.cellName = cellName;
    event.change = change;
    Insert(std::move(event));
    return true;
}

bool RadioWorld::Add(const Cell& cell, std::uint64_t atMs) {
    threads::Lock lock(m_mutex);
    if (KnownAt(cell.name, ~std::uint64_t{0}))
        return false;
    WorldEvent event;
    event.atMs = atMs;
    event.cellName = cell.name;
    event.added = cell;
    Insert(std::move(event));
    return true;
}

} // namespace simcard
