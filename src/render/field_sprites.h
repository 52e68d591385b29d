#pragma once
// What the drawing of interface fields hands to sprite drawing, and the one
// place it does so, so that the numbers each field kind derives can be
// watched without drawing.
#include <cstdint>

#include "data/sprite_records.h"
#include "render/map_view.h"

namespace kiv {

struct FieldSprite {
  std::int32_t spriteSet = -1;
  std::int32_t clock = 0;
  SpriteInstance* instance = nullptr;
  float x = 0.0f, y = 0.0f;
  float scaleX = 1.0f, scaleY = 1.0f;
  std::uint32_t colour = 0;   // after the map's ambient colour
  std::uint32_t second = 0;   // the field's second sprite colour
  float rotation = 0.0f;
  float u1 = 0.0f, v1 = 0.0f, u2 = 1.0f, v2 = 1.0f;
};

// Draws one field sprite at screen position (x, y): z 0, scale z 1, no
// mirroring, light colour -1, screen drawing, animating.
void DrawFieldSprite(const FieldSprite& sprite, const MapView& view);

// Replaces the drawing of field sprites (nullptr restores it).
using FieldSpriteDrawer = void (*)(const FieldSprite& sprite, const MapView& view);
void SetFieldSpriteDrawer(FieldSpriteDrawer drawer);

}  // namespace kiv
