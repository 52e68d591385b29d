// Clouds and rain of a map, drawn flat over the screen after the map went
// into 2-D; the Cloud and Rain systems move them in screen pixels.
#include <cmath>
#include <cstdint>

#include "data/game_data.h"
#include "data/map_record.h"
#include "data/map_weather_fields.h"
#include "render/map_top_drawing.h"
#include "render/sprite_drawing.h"
#include "state/game_state.h"

namespace kiv {

namespace {

constexpr std::int32_t kScreenDrawing = 2;
constexpr std::uint32_t kNoLight = 0xFFFFFFFF;

bool SpriteSetExists(std::int32_t set) {
  return set >= 0 && set < static_cast<std::int32_t>(gameData.spriteSets.size());
}

Map* WeatherMap(const MapDrawStep& step) {
  if (step.map < 0 || step.map > gameData.maps.LastIndex() || step.view == nullptr) return nullptr;
  if (renderHooks.PickPassMode() != 0) return nullptr;
  Map& map = gameData.maps[step.map];
  return map.isInterface ? nullptr : &map;
}

}  // namespace

void DrawClouds(const MapDrawStep& step) {
  Map* map = WeatherMap(step);
  if (map == nullptr) return;
  gameData.currentActivity = "Drawing Clouds";
  const bool animate = gameState.paused == 0;
  for (CloudParticle& cloud : map->clouds) {
    if (!SpriteSetExists(cloud.spriteSet)) continue;
    DrawSprite(cloud.spriteSet, cloud.age, cloud.sprite, *step.view, cloud.x, cloud.y, 0, 1, 1, 1, cloud.mirrorA != 0,
               cloud.mirrorB != 0, cloud.color, kNoLight, 0, 0.0f, kScreenDrawing, 0.0f, 0.0f, 1.0f, 1.0f, animate);
  }
}

void DrawRain(const MapDrawStep& step) {
  Map* map = WeatherMap(step);
  if (map == nullptr) return;
  gameData.currentActivity = "Drawing Rain";
  const std::int32_t set = RainSpriteSet(*map);
  if (!SpriteSetExists(set)) return;
  const bool animate = gameState.paused == 0;
  // Drops lean with the wind: a wind along x tilts them most, one along y not at all.
  const float lean = static_cast<float>(std::atan(std::cos(static_cast<double>(WindDirection(*map)))));
  for (RainParticle& drop : map->rainDrops) {
    DrawSprite(set, drop.age, drop.sprite, *step.view, drop.x, drop.y, 0, drop.size, drop.size, drop.size, false,
               false, drop.color, kNoLight, 0, drop.sway - lean, kScreenDrawing, 0.0f, 0.0f, 1.0f, 1.0f, animate);
  }
}

}  // namespace kiv
