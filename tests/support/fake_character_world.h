#pragma once
// A small world behind the hooks that the per-tick life of characters calls:
// solid grid cells and boxes that block move tests, the characters, zones and
// doors of gameData's maps that the tests meet and list in the hit lists, and
// recorders of every event, script run, damage, door, pick-up, weapon, map
// change and list upkeep call. Install() puts it into characterWorld; the
// destructor puts the defaults back.
#include <cstdint>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "core/geometry.h"
#include "player/character_world.h"

namespace kiv {

struct RaisedEvent {
  std::int32_t kind = 0;
  std::int32_t object = -1;
  std::int32_t event = 0;
  std::int32_t map = -1;
  std::int32_t related = -1;
  friend bool operator==(const RaisedEvent&, const RaisedEvent&) = default;
};

struct FakeDamage {
  std::int32_t map = -1;
  Box box;  // the shape's box at the given place
  std::int32_t attacker = -1;
  std::int32_t item = -1;
  bool hitFriends = false;
  std::int32_t amount = 0;
  std::int32_t projectile = -1;
  float rotationZ = 0.0f;
};

struct FakeWeaponFire {
  std::int32_t map = -1;
  std::int32_t actor = -1;
  std::int32_t area = -1;
  float angle = 0.0f;
};

struct FakeCall {  // a call of up to four index arguments
  std::int32_t a = -1, b = -1, c = -1, d = -1;
  friend bool operator==(const FakeCall&, const FakeCall&) = default;
};

class FakeCharacterWorld {
 public:
  FakeCharacterWorld() = default;
  ~FakeCharacterWorld();
  FakeCharacterWorld(const FakeCharacterWorld&) = delete;
  FakeCharacterWorld& operator=(const FakeCharacterWorld&) = delete;

  void Install();

  // Blocking geometry: cells of cellSize pixels (x, y; 0 to cellHeight high)
  // and boxes of map pixels.
  std::int32_t cellSize = 32;
  std::int32_t cellHeight = 32;
  std::set<std::pair<std::int32_t, std::int32_t>> solidCells;
  std::vector<Box> solidBoxes;
  // A character met blocks when its solid byte is set; zones and doors only list.
  bool charactersBlock = true;

  // Hit lists.
  std::vector<std::int32_t> characterHits, zoneHits, doorHits;

  // Answers.
  float floorHeight = 0.0f;                               // UpdateCharacterFloorHeight writes it
  std::set<std::int32_t> notCollidable;                   // characters IsCharacterCollidable refuses
  std::function<std::int32_t(const Actor&)> motionState;  // CharacterMotionState; unset: 0
  std::function<void(std::int32_t map, std::int32_t actor)> updateMovement;  // UpdateCharacterMovement
  std::int32_t posePicked = 0;                                               // SelectActorPose
  std::int32_t drawDirection = 0;                                            // ActorDrawDirection
  bool damageHitsSolid = false;                                              // ApplyAreaDamage's answer
  std::vector<bool> damageAnswers;  // answers of the first ApplyAreaDamage calls, then damageHitsSolid

  // Recorders.
  std::int32_t moveTests = 0;    // TestActorMove calls
  std::vector<bool> moveTestsSkippingCharacters;  // the skip-characters flag of every TestActorMove
  std::vector<Box> testedBoxes;  // the box of every TestActorMove and TestCharacterStep
  std::int32_t stepTests = 0;
  std::vector<RaisedEvent> events;
  std::vector<TriggerRun> triggerRuns;
  std::vector<FakeDamage> damage;
  std::vector<FakeWeaponFire> weaponFires;
  std::vector<FakeCall> doorsOpened;         // map, door, opener
  std::vector<FakeCall> pickUpsTaken;        // map, actor, pick-up
  std::vector<FakeCall> positionsSet;        // actor, from map, to map, index answered
  std::vector<FakeCall> collisionResets;     // map, actor
  std::vector<FakeCall> characterRefShifts;  // map, actor, delta, compacting
  std::vector<FakeCall> fieldRefShifts;      // map, field, delta, compacting
  std::vector<FakeCall> reloads;             // map, bits 1 skipEntry, 2 spareNewest, 4 loadFlag
  std::int32_t motionClears = 0;
  std::int32_t effectExpiries = 0;

  // The box of a shape at a place, as the tests see it.
  static Box PlacedBox(const CollisionShape& shape, const ShapePlacement& placement);
  // A one-box shape from left, top, front to right, bottom, back (exclusive).
  static CollisionShape BoxShape(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                                 std::int32_t front = 0, std::int32_t back = 32);
  // Only the events of a code, or of an object.
  std::vector<RaisedEvent> EventsOf(std::int32_t event) const;

  bool BoxBlocked(std::int32_t map, const Box& box, std::int32_t self, std::int32_t ignoredActor,
                  bool collectHits, bool skipCharacters);
};

}  // namespace kiv
