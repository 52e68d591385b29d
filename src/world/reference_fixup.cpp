#include "world/reference_fixup.h"

#include <cmath>

#include "core/number_text.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/player_input_state.h"
#include "player/message_boxes.h"
#include "script/call_frame.h"
#include "script/timed_changes.h"
#include "script/waits.h"
#include "world/movement_fields.h"
#include "world/reference_fields.h"

namespace kiv {

namespace {

constexpr std::int32_t kProximityActorClose = 566;
constexpr std::int32_t kProximityActorFar = 567;

bool IsCharacterKind(std::int32_t kind) {
  return kind == kObjectActor || kind == kObjectCharacter || kind == kObjectVehicle || kind == kObjectTurret ||
         kind == kObjectDynamic;
}

bool ValidMap(std::int32_t map) { return map >= -1 && map <= gameData.maps.LastIndex(); }

// The running frames: the call stack up to its top.
template <typename Visit>
void ForEachRunningFrame(Visit visit) {
  for (std::int32_t k = 0; k <= scriptEngine.callTop && k < kCallStackSize; ++k)
    visit(scriptEngine.callStack[static_cast<std::size_t>(k)]);
}

template <typename Visit>
void ForEachStackValue(CallFrame& frame, Visit visit) {
  const std::int32_t top = frame.valueStackTop;
  for (std::int32_t k = 0; k <= top && static_cast<std::size_t>(k) < frame.valueStack.size(); ++k)
    visit(frame.valueStack[static_cast<std::size_t>(k)]);
}

template <typename ShiftValue>
void ShiftTimedChanges(ShiftValue shiftValue) {
  for (TimedChange& change : timedChanges) {
    shiftValue(change.target);
    for (ScriptValue& argument : change.arguments) shiftValue(argument);
  }
}

void ShiftCharacterFrame(CallFrame& frame, std::int32_t m, std::int32_t p, std::int32_t d, bool s) {
  if (frame.ownerMap != m) return;
  ShiftIndexRef(frame.relateActor, p, d, s);
  ShiftIndexRef(frame.thisActor, p, d, s);
  if (s && frame.ownerKind == kOwnerActor) ShiftIndexRef(frame.ownerIndex, p, d, s);
}

void ShiftZoneFrame(CallFrame& frame, std::int32_t m, std::int32_t p, std::int32_t d, bool s) {
  if (frame.ownerMap != m) return;
  ShiftIndexRef(frame.thisZone, p, d, s);
  if (s && frame.ownerKind == kOwnerZone) ShiftIndexRef(frame.ownerIndex, p, d, s);
}

void ShiftFieldFrame(CallFrame& frame, std::int32_t m, std::int32_t p, std::int32_t d, bool s) {
  if (frame.ownerMap != m) return;
  ShiftIndexRef(frame.thisField, p, d, s);
  if (s && (frame.ownerKind == kOwnerField || frame.ownerKind == kOwnerFieldValue))
    ShiftIndexRef(frame.ownerIndex, p, d, s);
}

// The object under the pointer, and the one the action button went down on:
// a release over the same object must still find it.
void ShiftHover(std::int32_t kind, std::int32_t m, std::int32_t p, std::int32_t d, bool s) {
  PlayerInputState& pointer = playerInputStates[0];
  if (pointer.targetKind == kind && pointer.targetMap == m) ShiftIndexRef(pointer.targetIndex, p, d, s);
  if (pointer.pressKind == kind && pointer.pressMap == m) ShiftIndexRef(pointer.pressIndex, p, d, s);
}

// The owning player of the character at the position, -1 none.
std::int32_t OwnerAt(const Map& map, std::int32_t position) {
  if (position < 0 || static_cast<std::size_t>(position) >= map.actors.size()) return -1;
  return map.actors[static_cast<std::size_t>(position)].owningPlayer;
}

}  // namespace

void ShiftIndexRef(std::int32_t& ref, std::int32_t position, std::int32_t delta, bool shift) {
  if (ref < 0) return;
  if (ref > position) {
    if (shift) ref += delta;
  } else if (ref == position) {
    if (delta < 0) ref = -1;
    else if (delta > 0) ref += 1;
  }
}

void ShiftVariantRef(Variant& ref, std::int32_t position, std::int32_t delta, bool shift) {
  if (ref.IsArray() || !IsNumericValue(ref)) return;
  const double r = ToNumber(ref);
  if (!(r >= 0.0)) return;  // negative, or not a number
  double result = r;
  if (r > position) {
    if (!shift) return;
    result = r + delta;
  } else if (r == position) {
    if (delta < 0) result = -1.0;
    else if (delta > 0) result = r + 1.0;
    else return;
  } else {
    return;
  }
  if (result > 2147483647.0) return;
  ref = Variant::Long(static_cast<std::int32_t>(std::nearbyint(result)));
}

void ShiftCharacterValueRef(ScriptValue& value, std::int32_t map, std::int32_t position, std::int32_t delta,
                            bool shift) {
  if (value.mapIndex != map) return;
  if (IsCharacterKind(value.kind)) {
    ShiftVariantRef(value.value, position, delta, shift);
  } else if (value.kind == kObjectTeam && value.value.IsArray()) {
    for (Variant& element : value.value.Elements()) ShiftVariantRef(element, position, delta, shift);
  }
}

void ShiftZoneValueRef(ScriptValue& value, std::int32_t map, std::int32_t position, std::int32_t delta, bool shift) {
  if (value.mapIndex == map && value.kind == kObjectZone) ShiftVariantRef(value.value, position, delta, shift);
}

void ShiftFieldValueRef(ScriptValue& value, std::int32_t map, std::int32_t position, std::int32_t delta,
                        bool shift) {
  if (value.mapIndex == map && (value.kind == kObjectField || value.kind == kObjectCameraView))
    ShiftVariantRef(value.value, position, delta, shift);
}

void ShiftCharacterRefs(std::int32_t m, std::int32_t p, std::int32_t d, bool s) {
  if (!ValidMap(m)) return;
  const auto shiftValue = [&](ScriptValue& v) { ShiftCharacterValueRef(v, m, p, d, s); };
  if (s) {
    ShiftTimedChanges(shiftValue);
    for (Player& player : projectState.players) {
      if (player.mapIndex != m) continue;
      for (PartyMember& member : player.party) ShiftIndexRef(member.character, p, d, s);
    }
    for (std::int32_t i = 0; i <= gameData.maps.LastIndex(); ++i) {
      Map& other = gameData.maps[i];
      if (!other.isInterface) continue;
      for (Field& field : other.fields)
        if (field.view.ownMap == m) ShiftIndexRef(field.view.followedCharacter, p, d, s);
    }
    for (Spawn& spawn : gameData.maps[m].spawns) ShiftIndexRef(spawn.linkedActor, p, d, s);
  }
  for (std::size_t k = waitingScripts.size(); k-- > 0;) {
    WaitingScript& wait = waitingScripts[k];
    if (wait.map == m) ShiftIndexRef(wait.actor, p, d, s);
    for (CallFrame& frame : wait.frames) ShiftCharacterFrame(frame, m, p, d, s);
  }
  if (s) {
    ForEachRunningFrame([&](CallFrame& frame) {
      ShiftCharacterFrame(frame, m, p, d, s);
      ForEachStackValue(frame, shiftValue);
    });
  }
  Map& map = gameData.maps[m];
  const std::int32_t ownerAtPosition = OwnerAt(map, p);
  for (Actor& a : map.actors) {
    ShiftIndexRef(EnemyInSight(a), p, d, s);
    ShiftIndexRef(MoveTargetActor(a), p, d, s);
    ShiftIndexRef(a.driver, p, d, s);
    // The rider's side of a vehicle or turret link moves with the occupant's.
    ShiftIndexRef(a.vehicleRidden, p, d, s);
    ShiftIndexRef(a.turretOperated, p, d, s);
    for (ValuePair& touching : TouchingActors(a)) ShiftIndexRef(touching.first, p, d, s);
    ShiftIndexRef(LastAttacker(a), p, d, s);
    ShiftIndexRef(LastVictim(a), p, d, s);
    // A party keeps its follow links while one of its members leaves play in
    // its place; a compaction moves every follow link with the list.
    if (s || a.owningPlayer != ownerAtPosition) ShiftIndexRef(LeaderActor(a), p, d, s);
    for (Trigger& trigger : a.triggers) {
      if (trigger.event != kProximityActorClose && trigger.event != kProximityActorFar) continue;
      Variant& ids = trigger.script.frameTemplate.idList;
      if (!ids.IsArray()) continue;
      for (Variant& id : ids.Elements()) ShiftVariantRef(id, p, d, s);
    }
  }
  for (Door& door : map.doors) ShiftIndexRef(DoorOpener(door), p, d, s);
  for (Projectile& projectile : map.projectiles) ShiftIndexRef(FiringActor(projectile), p, d, s);
  if (messagePortrait.map == m) ShiftIndexRef(messagePortrait.actor, p, d, s);
  ShiftHover(kOwnerActor, m, p, d, s);
}

void ShiftZoneRefs(std::int32_t m, std::int32_t p, std::int32_t d, bool s) {
  if (!ValidMap(m)) return;
  if (s) ShiftTimedChanges([&](ScriptValue& v) { ShiftZoneValueRef(v, m, p, d, s); });
  for (std::size_t k = waitingScripts.size(); k-- > 0;)
    for (CallFrame& frame : waitingScripts[k].frames) ShiftZoneFrame(frame, m, p, d, s);
  if (s) {
    ForEachRunningFrame([&](CallFrame& frame) {
      ShiftZoneFrame(frame, m, p, d, s);
      ForEachStackValue(frame, [&](ScriptValue& v) { ShiftZoneValueRef(v, m, p, d, s); });
    });
  }
  for (Projectile& projectile : gameData.maps[m].projectiles) ShiftIndexRef(ProjectileZone(projectile), p, d, s);
  ShiftHover(kOwnerZone, m, p, d, s);
}

void ShiftFieldRefs(std::int32_t m, std::int32_t p, std::int32_t d, bool s) {
  if (!ValidMap(m)) return;
  Map& map = gameData.maps[m];
  if (s) {
    ShiftTimedChanges([&](ScriptValue& v) { ShiftFieldValueRef(v, m, p, d, s); });
    for (Field& field : map.fields) {
      ShiftIndexRef(field.parent, p, d, s);
      ShiftIndexRef(field.spawner, p, d, s);
    }
    ShiftIndexRef(map.SelectionMarkerField(), p, d, s);
    ShiftIndexRef(map.FurtherField(), p, d, s);
    // The selection follows its field too, else the focus would jump to
    // whatever field moves into the selected slot.
    ShiftIndexRef(map.SelectedField(), p, d, s);
  }
  for (std::size_t k = waitingScripts.size(); k-- > 0;) {
    WaitingScript& wait = waitingScripts[k];
    if (wait.map == m) {
      ShiftIndexRef(wait.fieldText, p, d, s);
      ShiftIndexRef(wait.fieldTarget, p, d, s);
    }
    for (CallFrame& frame : wait.frames) ShiftFieldFrame(frame, m, p, d, s);
  }
  if (s) {
    ForEachRunningFrame([&](CallFrame& frame) {
      ShiftFieldFrame(frame, m, p, d, s);
      ForEachStackValue(frame, [&](ScriptValue& v) { ShiftFieldValueRef(v, m, p, d, s); });
    });
  }
  ShiftHover(kOwnerField, m, p, d, s);
}

}  // namespace kiv
