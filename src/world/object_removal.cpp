#include "world/object_removal.h"

#include "data/game_data.h"
#include "state/project_settings_block.h"
#include "script/trigger_dispatch.h"
#include "world/reference_fields.h"
#include "world/reference_fixup.h"
#include "world/vehicles.h"

namespace kiv {

namespace {

constexpr std::int32_t kTriggerActorLeftActor = 547;
constexpr std::int32_t kTriggerZoneLeftActor = 571;
constexpr std::size_t kOneSidedTouchEventsFlag = 9;  // option flag 10

int occupantReboards = 0;

bool ValidActor(std::int32_t map, std::int32_t actor) {
  if (map < -1 || map > gameData.maps.LastIndex()) return false;
  return actor >= 0 && static_cast<std::size_t>(actor) < gameData.maps[map].actors.size();
}

Actor& ActorAt(std::int32_t map, std::int32_t actor) {
  return gameData.maps[map].actors[static_cast<std::size_t>(actor)];
}

bool OneSidedTouchEvents() { return storedProjectSettings.flags[kOneSidedTouchEventsFlag] != 0; }

}  // namespace

OccupantReboardsScope::OccupantReboardsScope() { ++occupantReboards; }
OccupantReboardsScope::~OccupantReboardsScope() { --occupantReboards; }

void RemoveCharacterFromPlay(std::int32_t m, std::int32_t c) {
  if (!ValidActor(m, c)) return;
  if (ActorAt(m, c).driver < 0) {
    ExitVehicle(m, c, -1, true, false);
    ExitTurret(m, c, -1);
  } else {
    // Put out at the vehicle's own place. The occupant keeps its vehicle input
    // sets only when it boards the vehicle again on its new map.
    ExitVehicle(m, -1, c, true, occupantReboards > 0);
    ExitTurret(m, -1, c);
  }

  // Scripts raised below may change the lists: take copies, check each index.
  const std::vector<ValuePair> zones = TouchingZones(ActorAt(m, c));
  for (const ValuePair& entry : zones) {
    const std::int32_t zone = entry.first;
    if (zone < 0 || static_cast<std::size_t>(zone) >= gameData.maps[m].zones.size()) continue;
    ScriptRaiseObjectEvent(kOwnerZone, zone, kTriggerZoneLeftActor, m, c);
  }
  if (!ValidActor(m, c)) return;
  const std::vector<ValuePair> touching = TouchingActors(ActorAt(m, c));
  for (const ValuePair& entry : touching) {
    const std::int32_t other = entry.first;
    if (other < 0) continue;
    if (ValidActor(m, other)) ScriptRaiseObjectEvent(kOwnerActor, other, kTriggerActorLeftActor, m, c);
    if (!OneSidedTouchEvents() && ValidActor(m, c))
      ScriptRaiseObjectEvent(kOwnerActor, c, kTriggerActorLeftActor, m, other);
  }
  if (!ValidActor(m, c)) return;

  const std::int32_t spawn = SpawnedBy(ActorAt(m, c));
  if (spawn >= 0 && static_cast<std::size_t>(spawn) < gameData.maps[m].spawns.size())
    ++gameData.maps[m].spawns[static_cast<std::size_t>(spawn)].departedCount;

  ShiftCharacterRefs(m, c, -1, false);

  Actor& a = ActorAt(m, c);
  EnemyInSight(a) = -1;
  TouchingZones(a).clear();
  TouchingActors(a).clear();
  MoveTargetActor(a) = -1;
  SpawnedBy(a) = -1;
}

void ClearCharacterSlot(std::int32_t m, std::int32_t c) {
  if (!ValidActor(m, c)) return;
  Actor& a = ActorAt(m, c);
  a.name.clear();
  a.removed = 1;
  RemoveMark(a) = 0;
  a.owningPlayer = -1;
}

void RemoveZoneFromPlay(std::int32_t m, std::int32_t z) {
  if (m < -1 || m > gameData.maps.LastIndex() || z < 0) return;
  for (std::size_t i = 0; i < gameData.maps[m].actors.size(); ++i) {
    std::vector<ValuePair>& zones = TouchingZones(gameData.maps[m].actors[i]);
    std::vector<std::size_t> left;
    for (std::size_t k = zones.size(); k-- > 0;) {
      if (zones[k].first != z) continue;
      zones.erase(zones.begin() + static_cast<std::ptrdiff_t>(k));
      left.push_back(k);
    }
    for (std::size_t n = 0; n < left.size(); ++n) {
      if (static_cast<std::size_t>(z) >= gameData.maps[m].zones.size()) break;
      ScriptRaiseObjectEvent(kOwnerZone, z, kTriggerZoneLeftActor, m, static_cast<std::int32_t>(i));
    }
  }
  ShiftZoneRefs(m, z, -1, false);
}

}  // namespace kiv
