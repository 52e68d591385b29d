#include "kivplay_dump_party.h"

#include "core/text_encoding.h"
#include "data/game_data.h"
#include "data/project_state.h"

namespace kiv::harness {

namespace {

nlohmann::json Entries(const std::vector<InventoryEntry>& list) {
  nlohmann::json out = nlohmann::json::array();
  for (const InventoryEntry& e : list)
    out.push_back({{"item", e.item}, {"quantity", e.quantity}, {"ammunition", e.ammunition}});
  return out;
}

nlohmann::json Layers(const Actor& actor) {
  nlohmann::json out = nlohmann::json::array();
  for (const CharacterLayer& l : actor.characterLayers) {
    out.push_back({{"spriteSet", l.layerSpriteSet},
                   {"order", l.order},
                   {"colourIndex", l.colourIndex},
                   {"area", l.area},
                   {"source", l.source}});
  }
  return out;
}

}  // namespace

nlohmann::json PartyDump() {
  nlohmann::json players = nlohmann::json::array();
  for (const Player& player : projectState.players) {
    nlohmann::json party = nlohmann::json::array();
    for (const PartyMember& m : player.party) {
      party.push_back({{"character", m.character},
                       {"level", m.level},
                       {"experience", m.experience},
                       {"magic", Entries(m.magic)}});
    }
    players.push_back({{"map", player.mapIndex},
                       {"controlledMember", player.controlledMember},
                       {"inventory", Entries(player.items)},
                       {"party", party}});
  }
  nlohmann::json characters = nlohmann::json::array();
  for (std::int32_t map = -1; map <= gameData.maps.LastIndex(); ++map) {
    const std::vector<Actor>& actors = gameData.maps[map].actors;
    for (std::size_t k = 0; k < actors.size(); ++k) {
      characters.push_back({{"map", map},
                            {"index", k},
                            {"name", Utf16ToUtf8(actors[k].name)},
                            {"hasPose13", actors[k].hasPose13},
                            {"layers", Layers(actors[k])}});
    }
  }
  return {{"players", players}, {"characters", characters}};
}

}  // namespace kiv::harness
