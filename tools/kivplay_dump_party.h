#pragma once
// kivplay's part on the players and their characters: inventories, party
// members' levels and the sprite layers each character is drawn from.
#include <nlohmann/json.hpp>

namespace kiv::harness {

// The players' inventories and party members, and per map the characters'
// drawn layers, as they are now.
nlohmann::json PartyDump();

}  // namespace kiv::harness
