#include "data/sprite_set_queries.h"

#include <algorithm>
#include <string>

#include "core/angles.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"

namespace kiv {

namespace {

[[noreturn]] void RaiseOutOfRange(const std::string& what) {
  RaiseError(kErrIndex, "Subscript out of range: " + what + ".");
}

const SpriteSet& SetAt(std::int32_t spriteSet) {
  if (spriteSet < 0 || static_cast<std::size_t>(spriteSet) >= gameData.spriteSets.size())
    RaiseOutOfRange("sprite set " + std::to_string(spriteSet));
  return gameData.spriteSets[static_cast<std::size_t>(spriteSet)];
}

// The first usable direction of a set, or null when the set has no poses.
const SpriteDirection* FirstDirection(std::int32_t spriteSet) {
  const SpriteSet& set = SetAt(spriteSet);
  if (set.poses.empty()) return nullptr;
  std::int32_t pose = 0;
  std::int32_t direction = 4;
  FindSpriteDirection(spriteSet, pose, direction);
  return &set.poses[static_cast<std::size_t>(pose)].directions[static_cast<std::size_t>(direction)];
}

std::int32_t DirectionDuration(const SpriteDirection& d) {
  const std::int64_t length = static_cast<std::int64_t>(DirectionLastFrame(d) + 1) * d.frameDuration;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(length, INT32_MIN, INT32_MAX));
}

}  // namespace

std::int32_t SpriteDirectionDuration(std::int32_t spriteSet, std::int32_t pose, std::int32_t direction) {
  const SpriteSet& set = SetAt(spriteSet);
  if (pose < 0 || static_cast<std::size_t>(pose) >= set.poses.size())
    RaiseOutOfRange("sprite pose " + std::to_string(pose));
  if (direction < 0 || direction >= kDirectionCount)
    RaiseOutOfRange("sprite direction " + std::to_string(direction));
  const SpritePose& p = set.poses[static_cast<std::size_t>(pose)];
  std::int32_t shown = direction;
  if ((p.mirrorMask & DirectionBit(direction)) != 0) {
    const std::int32_t mirror = DirectionMirror(direction);
    if (mirror >= 0 && mirror < kDirectionCount) shown = mirror;
  }
  return DirectionDuration(p.directions[static_cast<std::size_t>(shown)]);
}

std::int32_t SpriteSetDuration(std::int32_t spriteSet) {
  if (spriteSet < 0) return 0;
  const SpriteSet& set = SetAt(spriteSet);
  if (set.poses.empty()) return 0;
  std::int32_t pose = 0;
  std::int32_t direction = 4;
  FindSpriteDirection(spriteSet, pose, direction);
  return SpriteDirectionDuration(spriteSet, pose, direction);
}

std::int32_t SpriteSetSizeX(std::int32_t spriteSet) {
  const SpriteDirection* d = FirstDirection(spriteSet);
  return d == nullptr ? 0 : d->sizeX;
}

std::int32_t SpriteSetSizeY(std::int32_t spriteSet) {
  const SpriteDirection* d = FirstDirection(spriteSet);
  return d == nullptr ? 0 : d->sizeY;
}

std::int32_t SpriteSetFrameDuration(std::int32_t spriteSet) {
  const SpriteDirection* d = FirstDirection(spriteSet);
  return d == nullptr ? 0 : d->frameDuration;
}

float SpriteSetRadius(std::int32_t spriteSet) {
  const SpriteDirection* d = FirstDirection(spriteSet);
  return d == nullptr ? 0.0f : d->radius;
}

float SpriteSetTrailFactor(std::int32_t spriteSet) { return SpriteSetRadius(spriteSet); }

CollisionShape SpriteSetCollisionShape(std::int32_t spriteSet) {
  const SpriteDirection* d = FirstDirection(spriteSet);
  return d == nullptr ? CollisionShape{} : d->collision;
}

}  // namespace kiv
