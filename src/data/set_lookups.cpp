#include "data/set_lookups.h"

#include "data/game_data.h"
#include "data/sprite_instance.h"

namespace kiv {

namespace {

template <typename Table>
const typename Table::value_type* RecordAt(const Table& table, std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(table.size())) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

}  // namespace

bool SpriteSetFirstCollisionShape(std::int32_t spriteSet, CollisionShape& shape) {
  const SpriteSet* set = RecordAt(gameData.spriteSets, spriteSet);
  if (set == nullptr) return false;
  std::int32_t pose = 0;
  std::int32_t direction = 4;
  FindSpriteDirection(spriteSet, pose, direction);
  if (pose < 0 || pose >= static_cast<std::int32_t>(set->poses.size())) return false;
  shape = set->poses[static_cast<std::size_t>(pose)].directions[static_cast<std::size_t>(direction)].collision;
  return true;
}

std::int32_t ItemPickUpSize(std::int32_t item) {
  const Item* record = RecordAt(gameData.items, item);
  return record == nullptr ? 0 : record->valueC;
}

std::int32_t FontSetLineHeight(std::int32_t fontSet) {
  const FontSet* record = RecordAt(gameData.fontSets, fontSet);
  return record == nullptr ? 0 : record->lineHeight;
}

bool TileSetHasWallFlag(std::int32_t tileSet) {
  const TileSet* record = RecordAt(gameData.tileSets, tileSet);
  return record != nullptr && (record->flags & 1) != 0;
}

}  // namespace kiv
