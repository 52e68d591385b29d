#include "data/sprite_instance.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/angles.h"
#include "core/error.h"
#include "core/math_util.h"
#include "core/random.h"
#include "data/game_data.h"

namespace kiv {

namespace {

constexpr std::int32_t kFirstDirection = 4;
constexpr std::uint8_t kSetFlagFacingOnly = 4;  // only direction 4 is looked for
constexpr std::int32_t kLayerFlagNotLargest = 0x10;
constexpr std::int32_t kScanOrder[kDirectionCount] = {4, 5, 6, 7, 0, 1, 2, 3};

[[noreturn]] void RaiseOutOfRange(const std::string& what) {
  RaiseError(kErrIndex, "Subscript out of range: " + what + ".");
}

void CollectSlot(SpriteSet& set, std::int32_t value) {
  if (IndexSetAddIfNew(value)) set.usedValues.push_back(value);
}

std::int32_t EmissionLimit(const SpriteLayer& layer) {
  const std::int32_t low = layer.emissionLimitMin;
  const std::int32_t high = layer.emissionLimitMax;
  if (low <= 0 && high <= 0) return -1;
  const double r = RandomSingle();
  const double limit = std::floor(r * (static_cast<double>(high) - low + 1.0) + low);
  return static_cast<std::int32_t>(std::clamp(limit, -2147483648.0, 2147483647.0));
}

}  // namespace

void MarkMirroredDirections(SpritePose& pose) {
  pose.mirrorMask = 0;
  for (std::int32_t d = 0; d < kDirectionCount; ++d) {
    const std::int32_t m = DirectionMirror(d);
    if (m < 0 || m >= kDirectionCount) continue;
    if (pose.directions[static_cast<std::size_t>(d)].layers.empty() &&
        !pose.directions[static_cast<std::size_t>(m)].layers.empty())
      pose.mirrorMask |= DirectionBit(d);
  }
}

void SummarizeSpriteSet(SpriteSet& set) {
  set.usedValues.clear();
  set.largestLayerValue = 0;
  IndexSetReset();
  for (const SpritePose& pose : set.poses) {
    for (const SpriteDirection& direction : pose.directions) {
      for (const SpriteLayer& layer : direction.layers) {
        CollectSlot(set, layer.slot);
        if ((layer.flags & kLayerFlagNotLargest) == 0)
          set.largestLayerValue = std::max(set.largestLayerValue, layer.value);
      }
      for (const SlotEntry& slot : direction.slots)
        if (slot.used) CollectSlot(set, slot.value);
    }
  }
  CollectSlot(set, set.slot);
}

void FindSpriteDirection(std::int32_t spriteSet, std::int32_t& pose, std::int32_t& direction) {
  if (spriteSet < 0 || static_cast<std::size_t>(spriteSet) >= gameData.spriteSets.size())
    RaiseOutOfRange("sprite set " + std::to_string(spriteSet));
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(spriteSet)];
  pose = 0;
  direction = kFirstDirection;
  const bool facingOnly = (set.flags & kSetFlagFacingOnly) != 0;
  for (std::size_t e = 0; e < set.poses.size(); ++e) {
    const auto& directions = set.poses[e].directions;
    if (facingOnly) {
      if (!directions[kFirstDirection].layers.empty()) {
        pose = static_cast<std::int32_t>(e);
        return;
      }
      continue;
    }
    for (std::int32_t d : kScanOrder) {
      if (!directions[static_cast<std::size_t>(d)].layers.empty()) {
        pose = static_cast<std::int32_t>(e);
        direction = d;
        return;
      }
    }
  }
}

void InitSpriteFrameDelays(SpriteInstance& instance, const SpriteDirection& direction) {
  if (!direction.frames.empty() && !direction.builtFrames.empty() &&
      !direction.builtFrames[0].parts.empty()) {
    const std::vector<FramePart>& parts = direction.builtFrames[0].parts;
    std::vector<PartState> states(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const FramePart& part = parts[i];
      if (part.kind != kPartLayer) continue;  // keeps the limit -1
      if (part.index < 0 || static_cast<std::size_t>(part.index) >= direction.layers.size())
        RaiseOutOfRange("sprite layer " + std::to_string(part.index));
      states[i].emissionLimit = EmissionLimit(direction.layers[static_cast<std::size_t>(part.index)]);
    }
    instance.partStates = std::move(states);
  }
  instance.started = true;
}

void SetObjectSprite(SpriteInstance& instance, std::int32_t spriteSet) {
  if (spriteSet < 0) return;
  std::int32_t pose = 0;
  std::int32_t direction = 0;
  FindSpriteDirection(spriteSet, pose, direction);
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(spriteSet)];
  if (static_cast<std::size_t>(pose) >= set.poses.size())
    RaiseOutOfRange("sprite pose " + std::to_string(pose));
  InitSpriteFrameDelays(
      instance, set.poses[static_cast<std::size_t>(pose)].directions[static_cast<std::size_t>(direction)]);
}

}  // namespace kiv
