// Pick-ups lying on a map: the item's picture and icons for money and the two
// further amounts, or the pick-up's own sprite set.
#include <cstdint>
#include <utility>

#include "data/game_data.h"
#include "data/map_record.h"
#include "media/draw_device.h"
#include "media/quad_batcher.h"
#include "platform/gfx/d3d_types.h"
#include "render/map_object_drawing.h"
#include "render/sprite_drawing.h"
#include "state/game_state.h"

namespace kiv {

namespace {

constexpr std::int32_t kPickUpDepthLayer = 2;
constexpr float kImageMargin = 24;    // culling margin of a pick-up without a sprite
constexpr float kSpriteMargin = 256;  // and with one
constexpr float kFlatLift = 4;        // a flat picture lies this far above the pick-up
constexpr float kIconSize = 48;       // icons are cells of 48 x 48 pixels
constexpr std::int32_t kIconTexture = 1;  // the system texture of 4 x 4 icon cells
constexpr float kIconCell = 0.25f;

// One picture of the pick-up: flat on the map in a view without perspective,
// standing upright in a perspective view; (u1, v1)-(u2, v2) already mirrored.
void AddPicture(float left, float y, float z, float size, bool upright, float u1, float v1, float u2, float v2,
                std::uint32_t colour, std::uint32_t second) {
  if (upright) {
    QuadAddFlat3D(left, y + size / 2, z, size, 0, size, u1, v1, u2, v2, colour, second);
  } else {
    QuadAddFlat3D(left, y - size / 2, z + kFlatLift, size, size, 0, u1, v1, u2, v2, colour, second);
  }
}

// The texture range of (u1, v1)-(u2, v2) flipped by the pick-up's mirror bytes.
struct Range {
  float u1, v1, u2, v2;
};
Range Mirrored(const PickUp& p, float u1, float v1, float u2, float v2) {
  Range r{u1, v1, u2, v2};
  if (p.mirrorH != 0) std::swap(r.u1, r.u2);
  if (p.mirrorV != 0) std::swap(r.v1, r.v2);
  return r;
}

void DrawPictures(std::int32_t map, const PickUp& p, const MapView& view) {
  DrawDevice& device = CurrentDrawDevice();
  device.SetTextureStageState(0, gfx::kTssMinFilter, gfx::kTexfLinear);
  const std::uint32_t colour = p.fullBright != 0 ? p.color : renderHooks.LightColorAt(map, p.x, p.y, 0, p.color);
  const bool upright = view.perspective;
  const std::int32_t item = p.items[0].item;
  if (item >= 0 && item < static_cast<std::int32_t>(gameData.items.size())) {
    const Item& record = gameData.items[static_cast<std::size_t>(item)];
    const auto size = static_cast<float>(ItemPictureSize(record));
    device.SetTexture(0, record.pictureTexture);
    const Range r = Mirrored(p, 0, 0, 1, 1);
    AddPicture(p.x - size / 2, p.y, p.z, size, upright, r.u1, r.v1, r.u2, r.v2, colour, p.secondColor);
    // The icons below take another texture: the picture is drawn with its own first.
    QuadBatchFlushColored3D();
  }
  // Icons in cells (column, row) of the system texture.
  struct Icon {
    bool shown;
    float column, row;
  };
  const Icon icons[] = {{p.values3[0] > 0, 3, 0}, {p.money > 0, 2, 0}, {p.values3[1] > 0, 2, 1}};
  bool anyIcon = false;
  for (const Icon& icon : icons) anyIcon = anyIcon || icon.shown;
  if (anyIcon) {
    device.SetTexture(0, renderHooks.SystemTexture(kIconTexture));
    for (const Icon& icon : icons) {
      if (!icon.shown) continue;
      const float u = icon.column * kIconCell, v = icon.row * kIconCell;
      const Range r = Mirrored(p, u, v, u + kIconCell, v + kIconCell);
      AddPicture(p.x - kIconSize / 2, p.y, p.z, kIconSize, upright, r.u1, r.v1, r.u2, r.v2, colour, p.secondColor);
    }
  }
  QuadBatchFlushColored3D();
  device.SetTextureStageState(0, gfx::kTssMinFilter, gfx::kTexfPoint);
}

}  // namespace

void DrawPickUps(const MapDrawStep& step) {
  const std::int32_t map = step.map;
  if (map < 0 || map > gameData.maps.LastIndex() || step.view == nullptr) return;
  // Pick-ups are never picked: they stay out of the pick image.
  if (renderHooks.PickPassMode() != 0) return;
  Map& record = gameData.maps[map];
  DrawDevice& device = CurrentDrawDevice();
  device.SetDepthLayer(kPickUpDepthLayer);
  const bool animate = gameState.paused == 0;
  for (PickUp& p : record.pickUps) {
    const bool hasSprite = p.spriteSet >= 0;
    // A taken pick-up shows only its taken animation, while its countdown runs.
    if (p.hidden != 0 || (p.Taken() && !hasSprite)) continue;
    if (!hasSprite) {
      if (OutsideVisibleRect(p.x, p.y, kImageMargin, kImageMargin, kImageMargin, kImageMargin, step.visibleRect))
        continue;
      DrawPictures(map, p, *step.view);
      continue;
    }
    if (OutsideVisibleRect(p.x, p.y, kSpriteMargin, kSpriteMargin, kSpriteMargin, kSpriteMargin, step.visibleRect))
      continue;
    device.SetRenderState(gfx::kRsCullMode, gfx::kCullNone);
    const std::uint32_t light = p.fullBright != 0 ? 0xFFFFFFFFu : renderHooks.LightColorAt(map, p.x, p.y, 0, 0xFFFFFFFFu);
    DrawSprite(p.spriteSet, PickUpClock(p), p.sprite, *step.view, p.x, p.y, p.z, 1, 1, 1, p.mirrorH != 0,
               p.mirrorV != 0, p.color, light, p.secondColor, 0.0f, 0, 0.0f, 0.0f, 1.0f, 1.0f, animate);
    device.SetRenderState(gfx::kRsCullMode, gfx::kCullCcw);
  }
  device.SetDepthLayer(0);
}

}  // namespace kiv
