#include "support/fake_character_world.h"

#include <algorithm>
#include <cmath>

#include "data/game_data.h"
#include "player/shell_state.h"

namespace kiv {

namespace {

// Boxes share space on all three axes; touching faces do not count.
bool Overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom && a.front < b.back &&
         b.front < a.back;
}

std::int32_t Floor(float v) { return static_cast<std::int32_t>(std::floor(v)); }

// The speed approach rule as the character movement uses it.
void Approach(float input, float& v, float maxPositive, float limitNegative, float acceleration,
              float deceleration, float relaxDown, float relaxUp, float t) {
  if (input != 0.0f) {
    const float target = input > 0.0f ? input * maxPositive : -input * limitNegative;
    if (acceleration == 0.0f) {
      v = target;
    } else if (input > 0.0f) {
      if (v < target) v = std::min(target, v + acceleration * t);
    } else if (v > target) {
      v = std::max(target, v + deceleration * t);
    }
    return;
  }
  if (acceleration == 0.0f) {
    v = 0.0f;
  } else if (v > 0.0f) {
    v = std::max(0.0f, v + relaxDown * t);
  } else if (v < 0.0f) {
    v = std::min(0.0f, v + relaxUp * t);
  }
}

}  // namespace

FakeCharacterWorld::~FakeCharacterWorld() { characterWorld.Reset(); }

Box FakeCharacterWorld::PlacedBox(const CollisionShape& shape, const ShapePlacement& p) {
  if (shape.rectangles.empty()) {
    const std::int32_t x = Floor(p.x), y = Floor(p.y), z = Floor(p.z);
    return Box{x, y, x, y, z, z};
  }
  Box out{};
  bool first = true;
  for (const CollisionBox& r : shape.rectangles) {
    const Box b{Floor(static_cast<float>(r.left) * p.scaleX + p.x),
                Floor(static_cast<float>(r.top) * p.scaleY + p.y),
                Floor(static_cast<float>(r.right) * p.scaleX + p.x),
                Floor(static_cast<float>(r.bottom) * p.scaleY + p.y),
                Floor(static_cast<float>(r.front) * p.scaleZ + p.z),
                Floor(static_cast<float>(r.back) * p.scaleZ + p.z)};
    if (first) {
      out = b;
      first = false;
    } else {
      out = Box{std::min(out.left, b.left),     std::min(out.top, b.top),     std::max(out.right, b.right),
                std::max(out.bottom, b.bottom), std::min(out.front, b.front), std::max(out.back, b.back)};
    }
  }
  return out;
}

CollisionShape FakeCharacterWorld::BoxShape(std::int32_t left, std::int32_t top, std::int32_t right,
                                            std::int32_t bottom, std::int32_t front, std::int32_t back) {
  CollisionShape shape;
  CollisionBox b;
  b.left = left;
  b.top = top;
  b.right = right;
  b.bottom = bottom;
  b.front = front;
  b.back = back;
  shape.rectangles.push_back(b);
  return shape;
}

std::vector<RaisedEvent> FakeCharacterWorld::EventsOf(std::int32_t event) const {
  std::vector<RaisedEvent> out;
  for (const RaisedEvent& e : events)
    if (e.event == event) out.push_back(e);
  return out;
}

bool FakeCharacterWorld::BoxBlocked(std::int32_t map, const Box& box, std::int32_t self,
                                    std::int32_t ignoredActor, bool collectHits, bool skipCharacters) {
  testedBoxes.push_back(box);
  bool blocked = false;
  for (const Box& b : solidBoxes) blocked = blocked || Overlap(box, b);
  for (const auto& [col, row] : solidCells) {
    const Box cell{col * cellSize, row * cellSize, (col + 1) * cellSize, (row + 1) * cellSize, 0, cellHeight};
    blocked = blocked || Overlap(box, cell);
  }
  const Map& m = gameData.maps[map];
  for (std::size_t z = 0; z < m.zones.size(); ++z) {
    if (m.zones[z].Disabled() != 0) continue;
    if (Overlap(box, PlacedBox(m.zones[z].shape, ShapePlacement{})) && collectHits)
      zoneHits.push_back(static_cast<std::int32_t>(z));
  }
  if (!skipCharacters) {
    for (std::size_t k = 0; k < m.actors.size(); ++k) {
      const auto index = static_cast<std::int32_t>(k);
      const Actor& a = m.actors[k];
      if (index == self || index == ignoredActor || a.removed != 0 || notCollidable.count(index) != 0)
        continue;
      const ShapePlacement at{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
      if (!Overlap(box, PlacedBox(a.collisionShape, at))) continue;
      if (collectHits) characterHits.push_back(index);
      if (charactersBlock && a.solidToTouch != 0) blocked = true;
    }
  }
  for (std::size_t d = 0; d < m.doors.size(); ++d) {
    const Door& door = m.doors[d];
    if (door.Inactive() != 0) continue;
    const ShapePlacement at{door.x, door.y, door.z};
    if (Overlap(box, PlacedBox(door.collisionShape, at)) && collectHits)
      doorHits.push_back(static_cast<std::int32_t>(d));
  }
  return blocked;
}

void FakeCharacterWorld::Install() {
  CharacterWorldHooks& w = characterWorld;
  w.TestActorMove = [this](std::int32_t map, const CollisionShape& shape, const ShapePlacement& placement,
                           std::int32_t self, std::int32_t ignoredActor, std::int32_t, bool collectHits,
                           bool skipCharacters) {
    ++moveTests;
    moveTestsSkippingCharacters.push_back(skipCharacters);
    return BoxBlocked(map, PlacedBox(shape, placement), self, ignoredActor, collectHits, skipCharacters);
  };
  w.TestCharacterStep = [this](std::int32_t map, std::int32_t actor, std::int32_t direction, float distance,
                               Box& swept, bool, float heightChange, bool, bool collectHits) {
    ++stepTests;
    const Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
    static constexpr int kDx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    static constexpr int kDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};
    const int d = std::clamp(direction, 0, 7);
    const ShapePlacement from{a.x, a.y, a.z + heightChange, 0.0f, 0.0f, 0.0f, a.scaleX, a.scaleY, a.scaleZ};
    ShapePlacement to = from;
    to.x += static_cast<float>(kDx[d]) * distance;
    to.y += static_cast<float>(kDy[d]) * distance;
    const Box b0 = PlacedBox(a.collisionShape, from);
    const Box b1 = PlacedBox(a.collisionShape, to);
    swept = Box{std::min(b0.left, b1.left),     std::min(b0.top, b1.top),     std::max(b0.right, b1.right),
                std::max(b0.bottom, b1.bottom), std::min(b0.front, b1.front), std::max(b0.back, b1.back)};
    return BoxBlocked(map, swept, actor, -1, collectHits, false);
  };
  w.ClearHitLists = [this] {
    characterHits.clear();
    zoneHits.clear();
    doorHits.clear();
  };
  w.HitList = [this](std::int32_t list) -> const std::vector<std::int32_t>& {
    return list == kCharacterHitList ? characterHits : list == kZoneHitList ? zoneHits : doorHits;
  };
  w.ActorHeading = [](std::int32_t map, std::int32_t actor) {
    return gameData.maps[map].actors[static_cast<std::size_t>(actor)].heading;
  };
  w.ResetActorCollision = [this](std::int32_t map, std::int32_t actor) {
    collisionResets.push_back({map, actor});
    gameData.maps[map].actors[static_cast<std::size_t>(actor)].canClimb = 0;
  };
  w.ActorCollisionRectAt = [](const Actor& a, float x, float y, float z, float rx, float ry, float rz,
                              float sx, float sy, float sz, Box& box) {
    box = PlacedBox(a.collisionShape, ShapePlacement{x, y, z, rx, ry, rz, sx, sy, sz});
  };
  w.ActorCollisionRect = [](const Actor& a, Box& box) {
    box = PlacedBox(a.collisionShape, ShapePlacement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX,
                                                     a.scaleY, a.scaleZ});
  };
  w.SetCharacterPosition = [this](std::int32_t actor, std::int32_t fromMap, std::int32_t toMap, bool, bool) {
    std::int32_t index = actor;
    if (toMap != fromMap) {
      auto& from = gameData.maps[fromMap].actors;
      auto& to = gameData.maps[toMap].actors;
      to.push_back(from[static_cast<std::size_t>(actor)]);
      from[static_cast<std::size_t>(actor)].removed = 1;
      index = static_cast<std::int32_t>(to.size()) - 1;
    }
    positionsSet.push_back({actor, fromMap, toMap, index});
    return index;
  };
  w.UpdateCharacterFloorHeight = [this](std::int32_t map, std::int32_t actor) {
    gameData.maps[map].actors[static_cast<std::size_t>(actor)].floorHeight = floorHeight;
  };
  w.IsCharacterCollidable = [this](std::int32_t map, std::int32_t actor, bool allowDead) {
    const Actor& a = gameData.maps[map].actors[static_cast<std::size_t>(actor)];
    if (a.removed != 0 || notCollidable.count(actor) != 0) return false;
    return allowDead || a.state != 3;
  };
  w.IsTeamHostile = [](std::int32_t a, std::int32_t b) { return a >= 0 && b >= 0 && a != b; };
  w.CharacterMotionState = [this](const Map&, const Actor& a) { return motionState ? motionState(a) : 0; };
  w.UpdateCharacterMovement = [this](std::int32_t map, std::int32_t actor) {
    if (updateMovement) updateMovement(map, actor);
  };
  w.ApproachSpeed = [](float input, float& v, float maxForward, float maxBackward, float accelForward,
                       float accelBackward, float decelForward, float decelBackward) {
    Approach(input, v, maxForward, maxBackward, accelForward, accelBackward, decelForward, decelBackward,
             static_cast<float>(shell.frameElapsed));
  };
  w.ClearCharacterMotion = [this](Actor& a) {
    ++motionClears;
    a.movementX = a.movementY = a.movementZ = 0.0f;
    a.keyForward = a.keyTurning = a.keyStrafing = a.keyRising = 0.0f;
  };
  w.TryFireCharacterWeapon = [this](std::int32_t map, std::int32_t actor, std::int32_t area, float angle,
                                    float, bool, bool) {
    weaponFires.push_back({map, actor, area, angle});
  };
  w.ApplyAreaDamage = [this](std::int32_t map, const CollisionShape& shape, float x, float y, float z,
                             float rx, float ry, float rz, std::int32_t attacker, std::int32_t amount,
                             std::int32_t item, std::int32_t projectile, bool hitFriends) {
    damage.push_back({map, PlacedBox(shape, ShapePlacement{x, y, z, rx, ry, rz}), attacker, item, hitFriends,
                      amount, projectile, rz});
    const std::size_t call = damage.size() - 1;
    return call < damageAnswers.size() ? static_cast<bool>(damageAnswers[call]) : damageHitsSolid;
  };
  w.OpenDoor = [this](std::int32_t map, std::int32_t door, float, std::int32_t opener) {
    doorsOpened.push_back({map, door, opener});
  };
  w.TakePickUp = [this](std::int32_t map, std::int32_t actor, std::int32_t pickUp) {
    pickUpsTaken.push_back({map, actor, pickUp});
  };
  w.ExpireEffectAnimations = [this](std::vector<Attachment>&, std::int32_t) { ++effectExpiries; };
  w.SelectActorPose = [this](std::int32_t, const Actor&, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t& pose, std::int32_t& poseTime) {
    pose = posePicked;
    poseTime = 0;
  };
  w.ActorDrawDirection = [this](const Actor&) { return drawDirection; };
  w.HasTriggerEvent = [](const std::vector<Trigger>& triggers, std::int32_t event) {
    return std::any_of(triggers.begin(), triggers.end(), [&](const Trigger& t) { return t.event == event; });
  };
  w.RaiseObjectEvent = [this](std::int32_t kind, std::int32_t object, std::int32_t event, std::int32_t map,
                              std::int32_t related) {
    events.push_back({kind, object, event, map, related});
  };
  w.RunTrigger = [this](const TriggerRun& run) {
    triggerRuns.push_back(run);
    return Variant();
  };
  w.ShiftCharacterRefs = [this](std::int32_t map, std::int32_t actor, std::int32_t delta, bool compacting) {
    characterRefShifts.push_back({map, actor, delta, compacting ? 1 : 0});
  };
  w.ShiftFieldRefs = [this](std::int32_t map, std::int32_t field, std::int32_t delta, bool compacting) {
    fieldRefShifts.push_back({map, field, delta, compacting ? 1 : 0});
  };
  w.ReloadMap = [this](std::int32_t map, bool skipEntry, bool spareNewest, bool loadFlag) {
    reloads.push_back({map, (skipEntry ? 1 : 0) | (spareNewest ? 2 : 0) | (loadFlag ? 4 : 0)});
  };
}

}  // namespace kiv
