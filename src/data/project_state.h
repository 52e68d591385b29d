#pragma once
// The least of the project state that loading and linking read: the settings'
// interface, team and input-set references, the players with their parties and
// the teams. The project-state loader fills it; tests and the package inspector
// set it up directly until then.
#include <array>
#include <cstddef>
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
// Places of the settings' input sets.
inline constexpr std::size_t kWalkingInputSet = 0;
inline constexpr std::size_t kInterfaceInputSet = 1;
inline constexpr std::size_t kVehicleInputSet = 2;
inline constexpr std::size_t kTurretInputSet = 3;

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
  std::int32_t level = 0;
  std::int32_t minLevel = 0;
  std::int32_t maxLevel = 0;
  std::int32_t experience = 0;
  // Leaving level L upward costs L x experienceStep + experienceBase points.
  std::int32_t experienceBase = 0;
  std::int32_t experienceStep = 0;
  // One row per statistic of gameData.statistics (table order), each holding
  // the statistic's base at every level from minLevel to maxLevel; an empty
  // row is 0 at every level.
  std::vector<std::vector<std::int32_t>> levelStats;
  // The magic learnt on reaching each level from minLevel to maxLevel.
  std::vector<std::vector<InventoryEntry>> levelMagic;
  std::vector<InventoryEntry> magic;  // the magic learnt so far
  std::int32_t player = 0;  // the player the project file names for the member
};

struct Player {
  std::int64_t money = 0;  // currency: ten-thousandths
  std::int32_t value1 = 0;
  std::int32_t value2 = 0;
  std::vector<InventoryEntry> items;
  std::int32_t controlledMember = 0;  // index in party
  std::vector<PartyMember> party;
  std::int32_t mapIndex = -1;  // the current map; -1 the off-map lists
  std::int32_t unstoredValue = -1;  // every read of the state sets it to -1
  // Menu keys, written by every tick's input pass and read by the boxes and
  // menus; never stored. Arrow bits: 1 Left, 2 Up, 4 Right, 8 Down.
  bool keyReturnDown = false;
  bool keyEscapeDown = false;
  std::int32_t arrowKeys = 0;
  bool keyReturnHeld = false;  // down in the previous poll and still down
  bool keyEscapeHeld = false;
  bool arrowKeysHeld = false;
  // The action indicator over the character the controlled character could act
  // on: its sprite set (-1 none), its animation time in ms and its animation.
  std::int32_t actionSprite = -1;
  std::int32_t actionIndicatorTime = 0;
  SpriteInstance actionIndicator;
  // Run-time values of the character movement and action, never stored.
  std::int32_t actionUsed = 0;         // -1: the action was used; set only by characters' actions
};

// The two Longs stored after the money: the points the player has gathered
// and the steps (pixels) the player's characters have walked.
inline std::int32_t& PlayerPoints(Player& p) { return p.value1; }
inline std::int32_t& PlayerSteps(Player& p) { return p.value2; }

struct Team {
  Identifier id;
  std::u16string name;
  std::vector<std::int32_t> relations;  // one per team, negative hostile
};

struct ProjectState {
  ProjectSettings settings;
  std::vector<Player> players;
  std::vector<Team> teams;
  std::vector<EquipmentArea> equipmentAreas;
  // One entry per statistic and per equipment area, carrying its identifier;
  // templates build a character's lists from them.
  std::vector<StatisticValue> defaultStatisticValues;
  std::vector<InventoryEntry> defaultEquipment;
  // The interface the player uses now: index (-1 none) and name.
  InterfaceReference currentPlayerInterface;
  // Set once every set is loaded and linked.
  bool gameDataReady = false;

  void Reset() { *this = ProjectState(); }
};
extern ProjectState projectState;

}  // namespace kiv
