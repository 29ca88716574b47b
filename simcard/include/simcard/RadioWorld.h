// The radio world the cards live in: cells and their changes over time. Shared by every card of a run,
// so it answers "what was on the air at time t" as a pure function of t: a card that runs behind another
// still sees the world as it was at its own moment.
#pragma once
#include "simcard/Cell.h"
#include "threads/Mutex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simcard {

struct WorldEvent {
    std::uint64_t atMs = 0; // absolute clock time
    std::string cellName;
    std::optional<Cell> added; // a new cell; otherwise `change` applies to the named one
    CellChange change;
};

class RadioWorld {
public:
    explicit RadioWorld(std::vector<Cell> cells = {});
    RadioWorld(const RadioWorld&) = delete;
    RadioWorld& operator=(const RadioWorld&) = delete;

    // The cells as they stand at time t, in the order they were defined.
    std::vector<Cell> CellsAt(std::uint64_t t) const;
    // The first event time strictly after t, if any.
    std::optional<std::uint64_t> NextEventAfter(std::uint64_t t) const;

    // Schedules a change; false when no cell of that name exists by then (nothing is recorded).
    bool Change(const std::string& cellName, const CellChange& change, std::uint64_t atMs);
    // Adds a cell from atMs on; false when the name is already taken.
    bool Add(const Cell& cell, std::uint64_t atMs);

private:
    bool KnownAt(const std::string& name, std::uint64_t t) const;
    void Insert(WorldEvent event);

    mutable threads::Mutex m_mutex;
    std::vector<Cell> m_base;
    std::vector<WorldEvent> m_events; // sorted by time; equal times keep the order they were made in
};

} // namespace simcard
