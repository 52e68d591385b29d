#include <algorithm>
#include <vector>

#include "player/character_action.h"
#include "player/character_motion_steps.h"
#include "player/character_world.h"
#include "player/shell_state.h"

namespace kiv {

namespace {

bool Contains(const std::vector<std::int32_t>& list, std::int32_t value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

ValuePair* FindEntry(std::vector<ValuePair>& list, std::int32_t object) {
  for (ValuePair& e : list)
    if (e.first == object) return &e;
  return nullptr;
}

// The first free entry, or a new one at the end.
ValuePair& FreeEntry(std::vector<ValuePair>& list) {
  for (ValuePair& e : list)
    if (e.first < 0) return e;
  return list.emplace_back();
}

Actor* ActorAt(std::int32_t map, std::int32_t index) {
  auto& actors = gameData.maps[map].actors;
  if (index < 0 || static_cast<std::size_t>(index) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(index)];
}

// Moved this tick, or not taking part in collision.
bool CountsAsMoving(std::int32_t map, std::int32_t index) {
  const Actor* a = ActorAt(map, index);
  if (a == nullptr) return true;
  return a->moved != 0 || !characterWorld.IsCharacterCollidable(map, index, false);
}

// The touched character hears of it first; the toucher too unless the
// project sends touch events one-sided.
void RaisePair(const CharacterTurn& turn, std::int32_t other, std::int32_t event) {
  characterWorld.RaiseObjectEvent(kOwnerActor, other, event, turn.map, turn.actor);
  if (!OneSidedTouchEvents())
    characterWorld.RaiseObjectEvent(kOwnerActor, turn.actor, event, turn.map, other);
}

void KeepOrEndCharacterContacts(CharacterTurn& turn, const std::vector<std::int32_t>& hits) {
  const bool selfMoving = CountsAsMoving(turn.map, turn.actor);
  Actor* a = TurnActor(turn);
  for (std::size_t i = 0; a != nullptr && i < TouchingActors(*a).size(); ++i, a = TurnActor(turn)) {
    const std::int32_t other = TouchingActors(*a)[i].first;
    if (other < 0) continue;
    if (!Contains(hits, other)) {
      if (!selfMoving && !CountsAsMoving(turn.map, other)) continue;
      a = TurnActor(turn);
      ValuePair& e = TouchingActors(*a)[i];
      e.second -= turn.elapsed;
      if (e.second < 1) {
        e.first = -1;
        RaisePair(turn, other, kEventActorLeftActor);
        continue;
      }
    }
    RaisePair(turn, other, kEventActorWhileTouchedActor);
  }
}

// Whether a character met for the first time stops the toucher as something solid.
bool SolidToTouch(const CharacterTurn& turn, std::int32_t other) {
  const Actor* o = ActorAt(turn.map, other);
  const Actor* c = TurnActor(turn);
  if (o == nullptr || c == nullptr) return false;
  if (!characterWorld.IsCharacterCollidable(turn.map, other, false)) return false;
  return o->solidToTouch != 0 && o->state != kStateDying && (o->team == -1 || o->team != c->team);
}

void StartCharacterContacts(CharacterTurn& turn, const std::vector<std::int32_t>& hits) {
  for (const std::int32_t other : hits) {
    Actor* a = TurnActor(turn);
    if (a == nullptr) return;
    if (ValuePair* e = FindEntry(TouchingActors(*a), other)) {
      e->second = kTouchGrace;
      continue;
    }
    // A pair is kept once: in the list of whichever of the two stored it first.
    Actor* o = ActorAt(turn.map, other);
    if (o != nullptr) {
      if (ValuePair* e = FindEntry(TouchingActors(*o), turn.actor)) {
        e->second = kTouchGrace;
        continue;
      }
    }
    ValuePair& fresh = FreeEntry(TouchingActors(*a));
    fresh.first = other;
    fresh.second = kTouchGrace;
    RaisePair(turn, other, kEventActorTouchedActor);
    if (!SolidToTouch(turn, other)) turn.touchedSolid = false;
  }
}

void EndZoneContacts(CharacterTurn& turn, const std::vector<std::int32_t>& zoneHits) {
  const bool selfMoving = CountsAsMoving(turn.map, turn.actor);
  Actor* a = TurnActor(turn);
  for (std::size_t i = 0; a != nullptr && i < TouchingZones(*a).size(); ++i, a = TurnActor(turn)) {
    const std::int32_t zone = TouchingZones(*a)[i].first;
    if (zone < 0 || Contains(zoneHits, zone)) continue;
    auto& zones = gameData.maps[turn.map].zones;
    const bool zoneMoved = static_cast<std::size_t>(zone) < zones.size() &&
                           ZoneMoved(zones[static_cast<std::size_t>(zone)]) != 0;
    if (!selfMoving && !zoneMoved) continue;
    ValuePair& e = TouchingZones(*a)[i];
    e.second -= turn.elapsed;
    if (e.second < 1) {
      e.first = -1;
      characterWorld.RaiseObjectEvent(kOwnerZone, zone, kEventZoneLeftActor, turn.map, turn.actor);
    }
  }
}

void StartZoneContacts(CharacterTurn& turn, const std::vector<std::int32_t>& zoneHits) {
  for (const std::int32_t zone : zoneHits) {
    Actor* a = TurnActor(turn);
    if (a == nullptr) return;
    if (ValuePair* e = FindEntry(TouchingZones(*a), zone)) {
      e->second = kTouchGrace;
      continue;
    }
    ValuePair& fresh = FreeEntry(TouchingZones(*a));
    fresh.first = zone;
    fresh.second = kTouchGrace;
    characterWorld.RaiseObjectEvent(kOwnerZone, zone, kEventZoneTouchedActor, turn.map, turn.actor);

    auto& zones = gameData.maps[turn.map].zones;
    a = TurnActor(turn);
    if (a == nullptr || zone < 0 || static_cast<std::size_t>(zone) >= zones.size()) continue;
    const Zone& z = zones[static_cast<std::size_t>(zone)];
    const bool inactive = ZoneInactive(z);
    // A player's character that enters a zone with a target map goes there at once.
    if (Owner(*a) >= 0 && ZoneTargetMap(z) >= 0 && ZoneTargetMap(z) <= gameData.maps.LastIndex()) {
      a->x = static_cast<float>(ZoneTargetX(z));
      a->y = static_cast<float>(ZoneTargetY(z));
      a->z = static_cast<float>(ZoneTargetZ(z));
      const std::int32_t target = ZoneTargetMap(z);
      characterWorld.SetCharacterPosition(turn.actor, turn.map, target, false, false);
      if (target != turn.map) {
        turn.departed = true;
        return;
      }
    }
    if (inactive) turn.touchedSolid = false;
  }
}

}  // namespace

void UpdateCharacterContacts(CharacterTurn& turn) {
  if (turn.elapsed <= 0 || TurnActor(turn) == nullptr) return;
  shell.activityStep = 12;
  // Copies: the scripts that the events run may test moves of their own.
  const std::vector<std::int32_t> hits = characterWorld.HitList(kCharacterHitList);
  const std::vector<std::int32_t> zoneHits = characterWorld.HitList(kZoneHitList);
  KeepOrEndCharacterContacts(turn, hits);
  StartCharacterContacts(turn, hits);
  EndZoneContacts(turn, zoneHits);
  StartZoneContacts(turn, zoneHits);
  if (turn.departed) return;
  Actor* a = TurnActor(turn);
  if (a == nullptr) return;
  if (turn.touchedSolid) {
    characterWorld.RaiseObjectEvent(kOwnerActor, turn.actor, kEventActorTouchedSolid, turn.map, -1);
  } else if (!hits.empty() && a->moved != 0) {
    a->walkTime = turn.rememberedWalkTime;
  }
}

}  // namespace kiv
