#include "world/actor_pose.h"

#include <algorithm>

#include "core/angles.h"
#include "core/math_util.h"
#include "data/game_data.h"
#include "data/item_fields.h"
#include "data/project_state.h"
#include "data/sprite_set_queries.h"
#include "world/relations.h"

namespace kiv {

namespace {

constexpr std::uint8_t kFacingMask = 0x14;
constexpr std::uint8_t kFacingOnly = 0x04;
constexpr std::int32_t kStateOne = 1;
constexpr std::int32_t kStateDead = 3;

const SpriteSet* SetOf(std::int32_t spriteSet) {
  if (spriteSet < 0 || static_cast<std::size_t>(spriteSet) >= gameData.spriteSets.size()) return nullptr;
  return &gameData.spriteSets[static_cast<std::size_t>(spriteSet)];
}

const SpritePose* PoseOf(const SpriteSet& set, std::int32_t pose) {
  if (pose < 0 || static_cast<std::size_t>(pose) >= set.poses.size()) return nullptr;
  return &set.poses[static_cast<std::size_t>(pose)];
}

bool HasFrames(const SpritePose& pose, std::int32_t direction) {
  if (direction < 0 || direction >= kDirectionCount) return false;
  return DirectionLastFrame(pose.directions[static_cast<std::size_t>(direction)]) != -1;
}

// The direction whose records draw `direction`: its mirror when the pose's
// mask says so. Up and Down have no mirror, so a mask bit on them is ignored.
std::int32_t DrawnDirection(const SpritePose& pose, std::int32_t direction) {
  if ((pose.mirrorMask & DirectionBit(direction)) == 0) return direction;
  const std::int32_t mirror = DirectionMirror(direction);
  return mirror >= 0 && mirror < kDirectionCount ? mirror : direction;
}

bool DirectionShowable(const SpritePose& pose, std::int32_t direction) {
  if (HasFrames(pose, direction)) return true;
  if ((pose.mirrorMask & DirectionBit(direction)) == 0) return false;
  return HasFrames(pose, DirectionMirror(direction));
}

bool FrameHasTag(const SpriteDirection& direction, const SpriteFrame& frame, std::int32_t tag) {
  for (const FramePart& part : frame.parts) {
    if (part.kind != kPartLayer || part.index < 0) continue;
    if (static_cast<std::size_t>(part.index) >= direction.layers.size()) continue;
    if (direction.layers[static_cast<std::size_t>(part.index)].slot == tag) return true;
  }
  return false;
}

const Item* ItemOf(std::int32_t item) {
  if (item < 0 || static_cast<std::size_t>(item) >= gameData.items.size()) return nullptr;
  return &gameData.items[static_cast<std::size_t>(item)];
}

std::int32_t Duration(std::int32_t spriteSet, std::int32_t pose, std::int32_t direction) {
  const SpriteSet* set = SetOf(spriteSet);
  if (set == nullptr || PoseOf(*set, pose) == nullptr) return 0;
  return SpriteDirectionDuration(spriteSet, pose, direction);
}

// The attack and carry poses of the equipped items; returns the item of the
// last area examined (-1 none).
std::int32_t ChooseWeaponPose(const Actor& actor, std::int32_t spriteSet, std::int32_t tag, std::int32_t direction,
                              std::int32_t& pose) {
  const auto tryPose = [&](std::int32_t p) { return TryPose(p, spriteSet, tag, direction, pose); };
  bool carry = false;
  const auto tryCarry = [&](std::int32_t p) {
    if (!carry) carry = tryPose(p);
  };
  const bool attacking = actor.attackTimer > 0;
  std::int32_t lastItem = -1;
  const std::size_t areas = std::min(projectState.equipmentAreas.size(), actor.equipment.size());
  for (std::size_t area = 0; area < areas; ++area) {
    const std::int32_t index = actor.equipment[area].item;
    const Item* item = ItemOf(index);
    if (item == nullptr) continue;
    lastItem = index;
    if (ItemReach(*item) < 1 && ItemProjectileCount(*item) < 1) {
      tryCarry(8);
    } else if (ItemAttackPoseFlag5(*item) == 1) {
      if (attacking && tryPose(5)) break;
      tryCarry(8);
    } else if (ItemReach(*item) < 1) {
      if (ItemAttackPoseFlag4(*item) == 1 && ItemAmmoItem(*item) == -1) {
        if (attacking && tryPose(4)) break;
        tryCarry(8);
      } else {
        if (attacking && tryPose(3)) break;
        tryCarry(6);
      }
    } else {
      if (attacking && tryPose(2)) break;
      tryCarry(7);
    }
  }
  return lastItem;
}

std::int32_t PoseTime(std::int32_t map, const Actor& actor, std::int32_t spriteSet, std::int32_t pose,
                      std::int32_t lastItem) {
  (void)map;
  if (actor.state == kStateDead && pose != kPoseDead) return 0;
  const std::int32_t drawn = ActorDrawDirection(actor);
  if (pose >= 2 && pose <= 5) {
    const Item* item = ItemOf(lastItem);
    if (item == nullptr) return 0;
    const double whole = static_cast<double>(actor.speedFactor) * ItemFireDelay(*item);
    // An attack of no length shows its first frame.
    if (whole == 0.0) return 0;
    return RoundToLong((whole - actor.attackTimer) / whole * Duration(spriteSet, pose, drawn));
  }
  switch (pose) {
    case kPoseIdle:
      return actor.idleTime;
    case kPoseRise:
      return actor.risePoseTime;
    case kPoseFall:
      return actor.fallPoseTime;
    case kPoseHurt:
      return Duration(spriteSet, pose, drawn) - actor.hurtTime;
    case kPoseDead:
      return Duration(spriteSet, pose, drawn) - actor.deathTimer;
    default:
      break;
  }
  if (pose >= kFirstCustomPose) return actor.customPoseTime;
  return RoundToLong(static_cast<double>(actor.speed) / 0.2 * actor.walkTime);
}

}  // namespace

std::int32_t ActorDrawDirection(const Actor& actor) {
  std::int32_t wanted = actor.state == kStateOne ? 6 : AngleToDirection(actor.heading);
  const SpriteSet* set = actor.parts.empty() ? nullptr : SetOf(actor.parts[0].spriteSet);
  if (set == nullptr) return wanted;
  const bool facingOnly = (set->flags & kFacingMask) == kFacingOnly;
  if (facingOnly) wanted = 4;
  const std::int32_t start = wanted;
  std::int32_t searched = actor.state == kStateDead ? kPoseDead : kPoseDefault;
  for (;;) {
    std::int32_t candidate = start;
    const SpritePose* pose = PoseOf(*set, searched);
    do {
      if (pose != nullptr && DirectionShowable(*pose, candidate)) return candidate;
      if (facingOnly) break;
      candidate = (candidate + 7) % 8;
    } while (candidate != start);
    if (searched == kPoseDefault) return start;
    searched = kPoseDefault;
  }
}

bool TryPose(std::int32_t pose, std::int32_t spriteSet, std::int32_t tag, std::int32_t direction,
             std::int32_t& chosenPose) {
  const SpriteSet* set = SetOf(spriteSet);
  if (set == nullptr || direction < 0 || direction >= kDirectionCount) return false;
  const SpritePose* record = PoseOf(*set, pose);
  if (record == nullptr) return false;
  const SpriteDirection& drawn = record->directions[static_cast<std::size_t>(DrawnDirection(*record, direction))];
  const std::int32_t lastFrame = DirectionLastFrame(drawn);
  bool qualifies = false;
  if (tag == kAnyTag) {
    qualifies = lastFrame >= 0;
  } else {
    for (std::int32_t f = 0; f <= lastFrame && !qualifies; ++f)
      qualifies = FrameHasTag(drawn, drawn.builtFrames[static_cast<std::size_t>(f)], tag);
    for (std::size_t k = 0; k < drawn.slots.size() && !qualifies; ++k)
      qualifies = drawn.slots[k].used && drawn.slots[k].value == tag;
  }
  if (qualifies) chosenPose = pose;
  return qualifies;
}

void SelectActorPose(std::int32_t map, const Actor& actor, std::int32_t spriteSet, std::int32_t tag,
                     std::int32_t direction, std::int32_t& pose, std::int32_t& poseTime) {
  const auto tryPose = [&](std::int32_t p) { return TryPose(p, spriteSet, tag, direction, pose); };
  std::int32_t lastItem = -1;
  if (!tryPose(kPoseIdle)) {
    pose = kPoseDefault;
  } else if (actor.walkTime != 0) {
    tryPose(kPoseDefault);
  }
  const SpriteSet* set = SetOf(spriteSet);
  if (actor.state == kStateDead) {
    tryPose(kPoseDead);
  } else if (actor.pose != 0) {
    const std::int32_t last = set == nullptr ? -1 : SafeUBound(set->poses);
    for (std::int32_t p = kFirstCustomPose; p <= last; ++p)
      if (set->poses[static_cast<std::size_t>(p)].name == actor.pose) tryPose(p);
  } else {
    const std::int32_t motion =
        map >= -1 && map <= gameData.maps.LastIndex() ? CharacterMotionState(gameData.maps[map], actor) : 0;
    if (motion == -1) tryPose(kPoseFall);
    if (motion == 1) tryPose(kPoseRise);
    if (actor.state == kStateOne) tryPose(kPoseState1);
    lastItem = ChooseWeaponPose(actor, spriteSet, tag, direction, pose);
    if (actor.hurtTime > 0) tryPose(kPoseHurt);
  }
  poseTime = std::max(0, PoseTime(map, actor, spriteSet, pose, lastItem));
}

}  // namespace kiv
