// What a view field lays over the map it shows, after the map itself: its
// screen sprites fading in and out, its transition and its flash.
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "data/field_record.h"
#include "data/game_data.h"
#include "data/map_record.h"
#include "data/sprite_set_queries.h"
#include "mathkiv/colors.h"
#include "render/draw_helpers.h"
#include "render/map_top_drawing.h"
#include "render/sprite_drawing.h"

namespace kiv {

namespace {

constexpr std::int32_t kScreenDrawing = 2;
constexpr std::int32_t kFadeOverlay = -4;
constexpr std::uint32_t kNoLight = 0xFFFFFFFF;

// A screen sprite entry as the view keeps it: the sprite set, its place and
// anchor (Singles), its colour, then its clock, fade time and fade-out start.
std::int32_t ScreenSpriteSet(const FieldRuntimeEntry& e) { return e.values[0]; }
float ScreenSpriteX(const FieldRuntimeEntry& e) { return std::bit_cast<float>(e.values[1]); }
float ScreenSpriteY(const FieldRuntimeEntry& e) { return std::bit_cast<float>(e.values[2]); }
float ScreenSpriteAnchorX(const FieldRuntimeEntry& e) { return std::bit_cast<float>(e.values[3]); }
float ScreenSpriteAnchorY(const FieldRuntimeEntry& e) { return std::bit_cast<float>(e.values[4]); }
std::uint32_t ScreenSpriteColourOf(const FieldRuntimeEntry& e) { return static_cast<std::uint32_t>(e.values[5]); }
std::int32_t ScreenSpriteClock(const FieldRuntimeEntry& e) { return e.values[6]; }
std::int32_t ScreenSpriteFadeTime(const FieldRuntimeEntry& e) { return e.values[7]; }
std::int32_t ScreenSpriteFadeOutStart(const FieldRuntimeEntry& e) { return e.values[8]; }

Field* ViewFieldOf(const MapDrawStep& step) {
  if (step.parentMap < 0 || step.parentMap > gameData.maps.LastIndex()) return nullptr;
  Map& parent = gameData.maps[step.parentMap];
  if (step.viewField < 0 || step.viewField >= static_cast<std::int32_t>(parent.fields.size())) return nullptr;
  return &parent.fields[static_cast<std::size_t>(step.viewField)];
}

void DrawScreenSprites(Field& field, const MapView& view) {
  const auto setCount = static_cast<std::int32_t>(gameData.spriteSets.size());
  for (FieldRuntimeEntry& entry : field.runtimeEntries) {
    const std::int32_t set = ScreenSpriteSet(entry);
    if (set < 0 || set >= setCount) continue;
    const std::uint32_t colour = ScreenSpriteColour(ScreenSpriteColourOf(entry), ScreenSpriteClock(entry),
                                                    ScreenSpriteFadeTime(entry), ScreenSpriteFadeOutStart(entry));
    // The anchor places the sprite by a share of its frame size.
    const float x = ScreenSpriteX(entry) + ScreenSpriteAnchorX(entry) * static_cast<float>(SpriteSetSizeX(set));
    const float y = ScreenSpriteY(entry) + ScreenSpriteAnchorY(entry) * static_cast<float>(SpriteSetSizeY(set));
    DrawSprite(set, ScreenSpriteClock(entry), entry.sprite, view, x, y, 0, 1, 1, 1, false, false, colour, kNoLight, 0,
               0.0f, kScreenDrawing, 0.0f, 0.0f, 1.0f, 1.0f, true);
  }
}

}  // namespace

std::uint32_t ScreenSpriteColour(std::uint32_t colour, std::int32_t clock, std::int32_t fadeTime,
                                 std::int32_t fadeOutStart) {
  if (fadeOutStart < 0) {
    // A fade-in of no length has ended before the first frame.
    if (fadeTime <= 0 || clock > fadeTime) return colour;
    return ColorLerp(colour & 0x00FFFFFFu, colour,
                     static_cast<float>(static_cast<double>(clock) / static_cast<double>(fadeTime)));
  }
  const double length = static_cast<double>(fadeTime) - fadeOutStart;
  // A fade-out of no length is over at once; ColorLerp keeps the share in 0..1,
  // so the sprite is plain before the fade-out starts and gone after it.
  const double share = length > 0 ? (static_cast<double>(clock) - fadeOutStart) / length : 1.0;
  return ColorLerp(colour, 0x00FFFFFFu, static_cast<float>(share));
}

float TransitionAmount(std::uint8_t direction, std::int32_t elapsed, std::int32_t duration) {
  if (duration == 0) return -1.0f;
  const double share = static_cast<double>(elapsed) / static_cast<double>(duration);
  if (direction == 1) return static_cast<float>(share);
  if (direction == 2) return static_cast<float>(1.0 - share);
  return -1.0f;
}

float FlashAmount(std::int32_t count, std::int32_t elapsed, std::int32_t duration) {
  if (duration <= 0) return 0.0f;
  // elapsed x count / duration rather than elapsed / (duration / count): a
  // count of 0 gives no flash instead of a division by zero.
  const double turns = static_cast<double>(elapsed) * count / static_cast<double>(duration);
  return static_cast<float>((1.0 - std::cos(2.0 * std::numbers::pi * turns)) / 2.0);
}

void DrawViewOverlays(const MapDrawStep& step) {
  Field* field = ViewFieldOf(step);
  if (field == nullptr || step.view == nullptr) return;
  DrawScreenSprites(*field, *step.view);
  const FieldView& view = field->view;
  const float amount = TransitionAmount(view.transitionMode, view.transitionElapsed, view.transitionDuration);
  if (amount >= 0.0f) DrawScreenOverlay(view.transitionKind, view.transitionColor, amount);
  if (view.flashDuration > 0)
    DrawScreenOverlay(kFadeOverlay, view.flashColor, FlashAmount(view.flashCount, view.flashElapsed, view.flashDuration));
}

}  // namespace kiv
