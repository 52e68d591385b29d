#include "data/sprite_set_extent.h"

#include <string>

#include "core/error.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"

namespace kiv {

SpriteExtent SpriteSetExtent(std::int32_t spriteSet) {
  if (spriteSet < 0 || static_cast<std::size_t>(spriteSet) >= gameData.spriteSets.size())
    RaiseError(kErrIndex, "Subscript out of range: sprite set " + std::to_string(spriteSet) + ".");
  const SpriteSet& set = gameData.spriteSets[static_cast<std::size_t>(spriteSet)];
  SpriteExtent extent;
  if (set.poses.empty()) return extent;
  std::int32_t pose = 0;
  std::int32_t direction = 4;
  FindSpriteDirection(spriteSet, pose, direction);
  const SpriteDirection& d = set.poses[static_cast<std::size_t>(pose)].directions[static_cast<std::size_t>(direction)];
  extent.left = d.minX;
  extent.top = d.minY;
  extent.right = d.maxX;
  extent.bottom = d.maxY;
  extent.width = d.sizeX;
  extent.height = d.sizeY;
  return extent;
}

}  // namespace kiv
