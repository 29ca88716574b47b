// The world file: cards, access points, ad hoc cells and timed changes, as text. The format is described
// in docs/world-file.md. A file loads completely or not at all.
#pragma once
#include "simcard/CardDefinition.h"
#include "simcard/Cell.h"
#include "simcard/RadioWorld.h"

#include <memory>
#include <string>
#include <vector>

namespace simcard {

struct WorldDefinition {
    std::vector<CardDefinition> cards;
    std::vector<Cell> cells;
    std::vector<WorldEvent> events; // atMs relative to the moment the world is put in place
};

struct WorldLoad {
    bool ok = false;
    std::string error; // "FILE:LINE: what is wrong" when !ok
    WorldDefinition world;
};

WorldLoad ParseWorld(const std::string& text, const std::string& fileName);
WorldLoad LoadWorldFile(const std::string& path);

// What a card uses when no world file is given: one card bound to any adapter name, one open access
// point on channel 6.
WorldDefinition DefaultWorld();

// The radio world of a definition, its timed changes counted from startMs.
std::shared_ptr<RadioWorld> BuildRadioWorld(const WorldDefinition& definition, std::uint64_t startMs);

} // namespace simcard
