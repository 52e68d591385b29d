#include "render/field_sprites.h"

#include "render/sprite_drawing.h"

namespace kiv {

namespace {

constexpr std::uint32_t kNoLight = 0xFFFFFFFF;
constexpr std::int32_t kScreenDrawing = 2;

void DrawWithSpriteSet(const FieldSprite& s, const MapView& view) {
  SpriteInstance spare;
  SpriteInstance& instance = s.instance != nullptr ? *s.instance : spare;
  DrawSprite(s.spriteSet, s.clock, instance, view, s.x, s.y, 0.0f, s.scaleX, s.scaleY, 1.0f, false, false, s.colour,
             kNoLight, s.second, s.rotation, kScreenDrawing, s.u1, s.v1, s.u2, s.v2, true);
}

FieldSpriteDrawer drawer = DrawWithSpriteSet;

}  // namespace

void DrawFieldSprite(const FieldSprite& sprite, const MapView& view) { drawer(sprite, view); }

void SetFieldSpriteDrawer(FieldSpriteDrawer replacement) {
  drawer = replacement != nullptr ? replacement : DrawWithSpriteSet;
}

}  // namespace kiv
