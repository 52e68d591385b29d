#include <optional>
#include <vector>

#include "data/data_hooks.h"
#include "data/game_data.h"
#include "data/map_loader.h"
#include "data/project_state.h"
#include "data/sector_grid.h"
#include "script/call_frame.h"
#include "script/script_value.h"
#include "script/timed_changes.h"
#include "script/trigger_dispatch.h"
#include "script/waits.h"
#include "world/object_removal.h"
#include "world/placement.h"
#include "world/vehicles.h"

namespace kiv {

namespace {

bool NamesCharacter(const ScriptValue& v, std::int32_t map, std::int32_t actor) {
  switch (v.kind) {
    case kObjectCharacter:
    case kObjectVehicle:
    case kObjectTurret:
    case kObjectDynamic:
    case kObjectActor:
      return v.mapIndex == map && v.value.AsLong() == actor;
    default:
      return false;
  }
}

void Retarget(ScriptValue& v, std::int32_t fromMap, std::int32_t actor, std::int32_t toMap, std::int32_t index) {
  if (!NamesCharacter(v, fromMap, actor)) return;
  v.mapIndex = toMap;
  v.value = Variant::Long(index);
}

void RetargetFrame(CallFrame& frame, std::int32_t fromMap, std::int32_t actor, std::int32_t toMap,
                   std::int32_t index) {
  for (ScriptValue& v : frame.valueStack) Retarget(v, fromMap, actor, toMap, index);
}

// Script references of the character kinds to the old place now name the new one.
void RetargetScriptReferences(std::int32_t fromMap, std::int32_t actor, std::int32_t toMap, std::int32_t index) {
  for (TimedChange& change : timedChanges) {
    Retarget(change.target, fromMap, actor, toMap, index);
    for (ScriptValue& argument : change.arguments) Retarget(argument, fromMap, actor, toMap, index);
  }
  for (std::int32_t k = 0; k <= scriptEngine.callTop && k < kCallStackSize; ++k)
    RetargetFrame(scriptEngine.callStack[static_cast<std::size_t>(k)], fromMap, actor, toMap, index);
  for (WaitingScript& waiting : waitingScripts)
    for (CallFrame& frame : waiting.frames) RetargetFrame(frame, fromMap, actor, toMap, index);
}

// Every field of every interface that shows the character follows it.
void RetargetFieldViews(std::int32_t fromMap, std::int32_t actor, std::int32_t toMap, std::int32_t index) {
  for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) {
    Map& map = gameData.maps[m];
    if (!map.isInterface) continue;
    for (Field& field : map.fields)
      if (field.view.ownMap == fromMap && field.view.followedCharacter == actor) {
        field.view.ownMap = toMap;
        field.view.followedCharacter = index;
      }
  }
}

// The index that a follow link to `old` (an index of the map the party left)
// takes: the new index of that party member; -1 when the followed character
// stayed behind, since an old index names someone else on the new map.
std::int32_t NewIndexOf(const std::vector<PartyMember>& party, const std::vector<std::int32_t>& newIndexes,
                        std::int32_t old) {
  if (old < 0) return old;
  for (std::size_t k = 0; k < party.size() && k < newIndexes.size(); ++k)
    if (party[k].character == old) return newIndexes[k];
  return -1;
}

bool PartyHolds(const Player& player, std::int32_t actor) {
  for (const PartyMember& member : player.party)
    if (member.character == actor) return true;
  return false;
}

std::int32_t MoveToOtherMap(std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool skipParty,
                            bool skipMapTrigger, int depth);

std::int32_t Move(std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool skipParty, bool skipMapTrigger,
                  int depth) {
  {
    Actor& a = gameData.maps[fromMap].actors[static_cast<std::size_t>(actor)];
    std::int32_t gx = a.gridX, gy = a.gridY;
    if (SnapToPathGrid(a.x, gx) && SnapToPathGrid(a.y, gy)) {
      a.gridX = gx;
      a.gridY = gy;
    }
    a.path.clear();
    a.moveCommand[1] = 0;
    if (a.state == 1) a.state = 0;
  }
  if (toMap == fromMap) {
    UpdateCharacterFloorHeight(toMap, actor);
    return actor;
  }
  return MoveToOtherMap(actor, fromMap, toMap, skipParty, skipMapTrigger, depth);
}

std::int32_t MoveToOtherMap(std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool skipParty,
                            bool skipMapTrigger, int depth) {
  std::int32_t driver = -1;
  {
    const Actor& a = gameData.maps[fromMap].actors[static_cast<std::size_t>(actor)];
    const auto& actors = gameData.maps[fromMap].actors;
    // A character that drives itself is moved once (its own move), not again as its driver.
    if (a.driver >= 0 && a.driver != actor && static_cast<std::size_t>(a.driver) < actors.size() &&
        actors[static_cast<std::size_t>(a.driver)].driverLink < 0)
      driver = a.driver;
  }
  {
    // The driver boards the moved vehicle again below.
    std::optional<OccupantReboardsScope> reboards;
    if (driver >= 0 && depth < 2) reboards.emplace();
    RemoveCharacterFromPlay(fromMap, actor);
  }
  if (toMap >= 0 && gameData.maps[toMap].keptById) {
    const Map& target = gameData.maps[toMap];
    LoadMapFromPackage(target.fileName, target.isInterface, toMap, false);
  }
  if (toMap >= 0) dataHooks.GenerateMapData(toMap, false);

  Actor copy = gameData.maps[fromMap].actors[static_cast<std::size_t>(actor)];
  for (Trigger& trigger : copy.triggers) trigger.script.hasRun = 0;
  Map& target = gameData.maps[toMap];
  target.actors.push_back(std::move(copy));
  const auto index = static_cast<std::int32_t>(target.actors.size()) - 1;
  UpdateCharacterFloorHeight(toMap, index);
  {
    Actor& moved = gameData.maps[toMap].actors[static_cast<std::size_t>(index)];
    if (moved.z < moved.floorHeight) moved.z = moved.floorHeight;
  }
  ClearCharacterSlot(fromMap, actor);
  gameData.maps[fromMap].actors[static_cast<std::size_t>(actor)].movedTo = index;

  if (driver >= 0 && depth < 2) {
    Actor& d = gameData.maps[fromMap].actors[static_cast<std::size_t>(driver)];
    d.x = 0.0f;
    d.y = 0.0f;
    const std::int32_t newDriver = Move(driver, fromMap, toMap, false, false, depth + 1);
    // The driver boards its vehicle again; its input sets are already the vehicle's.
    EnterVehicle(toMap, newDriver, index, true);
  }
  RetargetFieldViews(fromMap, actor, toMap, index);
  RetargetScriptReferences(fromMap, actor, toMap, index);

  if (!skipParty) {
    for (Player& player : projectState.players) {
      if (player.mapIndex != fromMap || !PartyHolds(player, actor)) continue;
      if (toMap >= 0) gameData.maps[toMap].partyArrived = 0;
      player.mapIndex = toMap;
      std::vector<std::int32_t> newIndexes;
      for (const PartyMember& member : player.party) {
        if (member.character == actor) {
          newIndexes.push_back(index);
        } else if (member.character >= 0 &&
                   static_cast<std::size_t>(member.character) < gameData.maps[fromMap].actors.size()) {
          newIndexes.push_back(Move(member.character, fromMap, toMap, true, skipMapTrigger, depth + 1));
        } else {
          newIndexes.push_back(member.character);
        }
      }
      const Actor& lead = gameData.maps[toMap].actors[static_cast<std::size_t>(index)];
      const float lx = lead.x, ly = lead.y, lz = lead.z;
      const auto onTarget = [toMap](std::int32_t c) {
        return c >= 0 && static_cast<std::size_t>(c) < gameData.maps[toMap].actors.size();
      };
      for (std::size_t k = 0; k < player.party.size(); ++k) {
        const std::int32_t member = newIndexes[k];
        if (!onTarget(member)) continue;
        Actor& a = gameData.maps[toMap].actors[static_cast<std::size_t>(member)];
        a.targetActor = NewIndexOf(player.party, newIndexes, a.targetActor);
        if (member != index) {
          a.x = lx;
          a.y = ly;
          a.z = lz;
        }
      }
      // Each member then takes a free grid point of its own beside the one
      // that arrived: members of no shared team stacked on one point would
      // block each other's every step.
      for (std::size_t k = 0; k < player.party.size(); ++k)
        if (toMap >= 0 && newIndexes[k] != index && onTarget(newIndexes[k]))
          SnapCharacterToGrid(toMap, newIndexes[k], -1);
      for (std::size_t k = 0; k < player.party.size(); ++k) {
        player.party[k].character = newIndexes[k];
        if (newIndexes[k] >= 0 && static_cast<std::size_t>(newIndexes[k]) < gameData.maps[toMap].actors.size())
          UpdateCharacterFloorHeight(toMap, newIndexes[k]);
      }
      dataHooks.RefreshViewedMaps(0);
      if (!skipMapTrigger && toMap >= 0) {
        std::int32_t current = -1;
        if (player.controlledMember >= 0 && static_cast<std::size_t>(player.controlledMember) < player.party.size())
          current = player.party[static_cast<std::size_t>(player.controlledMember)].character;
        TriggerRun run;
        run.ownerKind = kOwnerMap;
        run.ownerIndex = 0;  // the map's entry event
        run.subIndex = 0;
        run.map = toMap;
        run.relateActor = current;
        ScriptRunTrigger(run);
      }
    }
  }
  if (toMap >= 0) BuildSectorGrid(gameData.maps[toMap]);
  return index;
}

}  // namespace

std::int32_t SetCharacterPosition(std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool skipParty,
                                  bool skipMapTrigger) {
  return Move(actor, fromMap, toMap, skipParty, skipMapTrigger, 0);
}

}  // namespace kiv
