#include "world/map_reload.h"

#include <vector>

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/project_state.h"
#include "media/player_input_state.h"
#include "player/message_boxes.h"
#include "player/player_hooks.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "state/project_settings_block.h"
#include "world/placement.h"

namespace kiv {

namespace {

constexpr std::size_t kDeferredReloadWaitFlag = 16;  // option flag 17

bool NamesCharacterOn(const ScriptValue& v, std::int32_t map) {
  if (v.mapIndex != map) return false;
  switch (v.kind) {
    case kObjectActor:
    case kObjectCharacter:
    case kObjectVehicle:
    case kObjectTurret:
    case kObjectDynamic:
    case kObjectTeam:
      return true;
    default:
      return false;
  }
}

// The party member a player stands for on a map: its controlled member, else
// its first; -1 for an empty party.
std::int32_t LeadingCharacter(const Player& player) {
  if (player.party.empty()) return -1;
  const std::int32_t k = player.controlledMember;
  if (k >= 0 && static_cast<std::size_t>(k) < player.party.size()) return player.party[static_cast<std::size_t>(k)].character;
  return player.party[0].character;
}

bool HasActor(std::int32_t map, std::int32_t actor) {
  return actor >= 0 && static_cast<std::size_t>(actor) < gameData.maps[map].actors.size();
}

// Moves the parked players' leading characters (and their parties) from the
// off-map list back onto the map.
void BringPlayersBack(std::int32_t m, bool skipEntryTrigger) {
  for (Player& player : projectState.players) {
    if (player.unstoredValue < 0) continue;
    const std::int32_t member = LeadingCharacter(player);
    if (!HasActor(-1, member)) continue;
    SetCharacterPosition(member, -1, m, false, skipEntryTrigger);
  }
}

}  // namespace

bool DeferredReloadWait() { return storedProjectSettings.flags[kDeferredReloadWaitFlag] != 0; }

void ReloadMap(std::int32_t m, bool skipEntryTrigger, bool spareNewestWait, bool loadFlag) {
  if (m < 0 || m > gameData.maps.LastIndex()) return;
  gameData.maps[m].pendingReload = 0;

  CancelWaitsOfMap(m, spareNewestWait && DeferredReloadWait());
  for (std::size_t k = timedChanges.size(); k-- > 0;)
    if (NamesCharacterOn(timedChanges[k].target, m)) timedChanges.erase(timedChanges.begin() + static_cast<std::ptrdiff_t>(k));

  // Park the players of the map off the map. A player without a party member
  // on it has nobody to park and stays out of the reload.
  for (Player& player : projectState.players) {
    player.unstoredValue = -1;
    if (player.mapIndex != m) continue;
    const std::int32_t member = LeadingCharacter(player);
    if (!HasActor(m, member)) continue;
    SetCharacterPosition(member, m, -1, false, false);
    player.unstoredValue = m;
  }

  if (messagePortrait.map == m) {
    messagePortrait.map = -1;
    messagePortrait.actor = -1;
  }
  for (std::int32_t i = 0; i <= gameData.maps.LastIndex(); ++i) {
    Map& other = gameData.maps[i];
    if (!other.isInterface) continue;
    for (Field& field : other.fields)
      if (field.view.ownMap == m && field.view.followedCharacter >= 0) field.view.followedCharacter = -1;
  }
  PlayerInputState& pointer = playerInputStates[0];
  if (pointer.targetMap == m) {
    pointer.targetMap = -1;
    pointer.targetIndex = -1;
  }

  const std::uint8_t overlay = gameData.maps[m].overlayActive;
  const std::u16string fileName = gameData.maps[m].fileName;
  const bool isInterface = gameData.maps[m].isInterface;
  try {
    LoadMapFromPackage(fileName, isInterface, m, loadFlag);
  } catch (...) {
    // A failed load keeps the map as it was: its players go back onto it
    // before the error is reported, rather than staying parked off the map.
    gameData.maps[m].overlayActive = overlay;
    BringPlayersBack(m, skipEntryTrigger);
    throw;
  }
  gameData.maps[m].overlayActive = overlay;
  BringPlayersBack(m, skipEntryTrigger);
  if (gameData.maps[m].isInterface) dataHooks.RefreshViewedMaps(0);
  playerHooks.UpdateMapSystems(m);
}

}  // namespace kiv
