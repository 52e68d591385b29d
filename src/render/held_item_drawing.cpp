#include <cstdint>

#include "data/game_data.h"
#include "data/item_fields.h"
#include "mathkiv/colors.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "render/door_drawing.h"

namespace kiv {

namespace {

const Item* ItemAt(std::int32_t item) {
  if (item < 0 || item >= static_cast<std::int32_t>(gameData.items.size())) return nullptr;
  return &gameData.items[static_cast<std::size_t>(item)];
}

}  // namespace

std::int32_t NearestItemImage(std::int32_t item, std::int32_t direction) {
  const Item* record = ItemAt(item);
  if (record == nullptr) return -1;
  for (std::int32_t k = 0; k <= 4; ++k) {
    for (const std::int32_t d : {(direction - k + 8) % 8, (direction + k) % 8}) {
      if (d >= 0 && ItemImagePresent(record->images[static_cast<std::size_t>(d)])) return d;
    }
  }
  return -1;
}

void DrawHeldItem(const FramePart& holdingPoint, std::int32_t direction, std::int32_t item, float x, float y,
                  float z, float scaleX, float scaleY, float scaleZ, std::uint32_t colour, std::uint32_t lightColour,
                  std::uint32_t pickColour) {
  const std::int32_t d = NearestItemImage(item, ((direction % 8) + 8) % 8);
  if (d < 0) return;
  const Item& record = *ItemAt(item);
  const ItemImageEntry& image = record.images[static_cast<std::size_t>(d)];
  CurrentDrawDevice().SetTexture(0, image.texture);
  const std::uint32_t c = ItemUnlit(record) ? colour : ColorModulate(colour, lightColour);
  const std::uint32_t final = ColorModulate(holdingPoint.color, c);
  const float w = scaleX * holdingPoint.scaleX * static_cast<float>(ItemImageWidth(image));
  const float h = scaleY * holdingPoint.scaleY * static_cast<float>(ItemImageHeight(image));
  const float left = x + scaleX * static_cast<float>(holdingPoint.x) - w / 2;
  const float top = y + scaleY * static_cast<float>(holdingPoint.y) - h / 2;
  const float depth = z + scaleZ * static_cast<float>(holdingPoint.z);
  const Quaternion& q = holdingPoint.rotation;
  QuadAdd3DQuaternion(left, top, depth, w, h, 0, q.x, q.y, q.z, q.w, 0, 0, 1, 1, final, pickColour, 1, 1);
  QuadBatchFlushColored3D();
}

}  // namespace kiv
