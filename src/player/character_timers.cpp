#include "player/character_timers.h"

#include <cstddef>

#include "core/angles.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "mathkiv/collision.h"
#include "player/character_fields.h"
#include "player/character_system_fields.h"

namespace kiv {

namespace {

constexpr float kHopGravity = 0.0006272f;  // pixels per ms squared

void CountDown(std::int32_t& timer, std::int32_t t) {
  if (timer <= 0) return;
  timer -= t;
  if (timer < 0) timer = 0;
}

void AdvanceHop(Actor& a, std::int32_t t) {
  if (a.hopTime <= 0) return;
  const auto ms = static_cast<float>(t);
  a.hopTime -= t;
  a.hopSpeed -= kHopGravity * ms;
  a.hopHeight += a.hopSpeed * ms;
  if (a.hopHeight <= 0.0f) {
    a.hopHeight = 0.0f;
    // Landing while falling bounces back at half the speed.
    if (a.hopSpeed < 0.0f) a.hopSpeed *= -0.5f;
  }
}

}  // namespace

void AdvanceCharacterTimers(Actor& a, std::int32_t t, std::int32_t worldStep, std::int32_t motion) {
  AdvanceHop(a, t);
  if (LifeTime(a) >= 0) LifeTime(a) += t;
  if (ScriptPose(a) != 0) {
    a.customPoseTime += t;
    if (ScriptPoseDuration(a) >= 0 && ScriptPoseDuration(a) < a.customPoseTime) ScriptPose(a) = 0;
  }
  // Forward and backward motion poses: rising and falling.
  if (motion == -1) {
    a.risePoseTime = 0;
    a.fallPoseTime += t;
  } else if (motion == 1) {
    a.risePoseTime += t;
    a.fallPoseTime = 0;
  } else {
    a.risePoseTime = 0;
    a.fallPoseTime = 0;
  }
  CountDown(a.deathTimer, t);
  if (Interval(a) > 0) {
    IntervalElapsed(a) += worldStep;
    if (Interval(a) < IntervalElapsed(a)) {
      IntervalElapsed(a) = 0;
      if (IntervalRepeat(a) == 0) Interval(a) = 0;
    }
  }
  a.idleTime += t;
  CountDown(a.hurtTime, t);
  // Equipment waits may run below 0: a weapon that waited long enough fires at once.
  for (InventoryEntry& entry : a.equipment)
    if (entry.fireWait > 0) entry.fireWait -= t;
}

Box MeleeStrikeBox(const Box& footprint, std::int32_t direction, std::int32_t forward, std::int32_t backward,
                   std::int32_t sideways) {
  Box b = footprint;
  switch (direction) {
    case 0:  // Left
      b.left -= forward;
      b.top -= sideways;
      b.right += backward;
      b.bottom += sideways;
      break;
    case 1:
    case 2:
    case 3:  // LeftUp, Up, RightUp
      b.left -= sideways;
      b.top -= forward;
      b.right += sideways;
      b.bottom += backward;
      break;
    case 4:  // Right
      b.left -= backward;
      b.top -= sideways;
      b.right += forward;
      b.bottom += sideways;
      break;
    default:  // RightDown, Down, LeftDown
      b.left -= sideways;
      b.top -= backward;
      b.right += sideways;
      b.bottom += forward;
      break;
  }
  return b;
}

bool AdvanceMeleeAttack(Actor& a, std::int32_t t, std::int32_t& item, Box& box) {
  if (a.attackTimer <= 0) return false;
  const std::int32_t old = a.attackTimer;
  a.attackTimer -= t;
  if (a.attackArea < 0 || static_cast<std::size_t>(a.attackArea) >= a.equipment.size()) return false;
  item = a.equipment[static_cast<std::size_t>(a.attackArea)].item;
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return false;
  const Item& held = gameData.items[static_cast<std::size_t>(item)];
  if (ItemReach(held) <= 0) return false;
  const float whole = a.speedFactor * static_cast<float>(ItemFireDelay(held));
  // An attack of no length has no middle to cross: it never strikes.
  if (whole == 0.0f) return false;
  const float before = (whole - static_cast<float>(old)) / whole;
  const float after = (whole - static_cast<float>(a.attackTimer)) / whole;
  if (!(before < 0.5f && after >= 0.5f)) return false;
  Box footprint;
  const ShapePlacement placement{a.x, a.y, a.z, 0.0f, a.rotationY, a.heading, a.scaleX, a.scaleY, a.scaleZ};
  GetCollisionRect(footprint, a.collisionShape, placement, kRectPlaced);
  box = MeleeStrikeBox(footprint, AngleToDirection(a.heading), ItemReach(held), ItemReachBackward(held),
                       ItemReachSideways(held));
  return true;
}

void UpdateCharacterAnchor(Actor& a, std::int32_t gridSize, std::int32_t gridOrigin) {
  if (gridSize == 0) return;
  const auto snap = [&](float v) {
    return RoundToLong((static_cast<double>(v) - gridOrigin) / gridSize) * gridSize + gridOrigin;
  };
  a.gridHeading = a.heading;
  a.gridX = snap(a.x);
  a.gridY = snap(a.y);
}

}  // namespace kiv
