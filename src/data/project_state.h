#pragma once
// The least of the project state that loading and linking read: the settings'
// interface, team and input-set references, the players with their parties and
// the teams. The project-state loader fills it; tests and the package inspector
// set it up directly until then.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/identifier.h"
#include "data/actor_record.h"
#include "data/set_records.h"

namespace kiv {

// A reference to a map or interface by index (-1 none), file name and identifier.
struct InterfaceReference {
  std::int32_t index = -1;
  std::u16string name;
  Identifier id;
};

inline constexpr int kFurtherInterfaceCount = 6;
inline constexpr int kSettingsInputSetCount = 4;

struct ProjectSettings {
  std::array<InterfaceReference, 2> startInterfaces;
  std::array<InterfaceReference, kFurtherInterfaceCount> furtherInterfaces;
  bool startAsOverlay = false;
  RecordReference team;
  // The first is the default input set.
  std::array<RecordReference, kSettingsInputSetCount> inputSets;
};

struct PartyMember {
  std::int32_t character = -1;  // index in the player's map's actors
  std::vector<std::vector<InventoryEntry>> slotItems;
  std::vector<InventoryEntry> items;
};

struct Player {
  std::int32_t mapIndex = -1;
  std::vector<PartyMember> party;
  std::vector<InventoryEntry> items;
};

struct Team {
  Identifier id;
};

struct ProjectState {
  ProjectSettings settings;
  std::vector<Player> players;
  std::vector<Team> teams;
  // The interface the player uses now: index (-1 none) and name.
  InterfaceReference currentPlayerInterface;
  // Set once every set is loaded and linked.
  bool gameDataReady = false;

  void Reset() { *this = ProjectState(); }
};
extern ProjectState projectState;

}  // namespace kiv
