// Clouds move along the wind, raindrops fall and drift about it; both wrap
// around the screen by the extent of their sprite.
#include <cmath>

#include "core/random.h"
#include "data/game_data.h"
#include "data/map_weather_fields.h"
#include "data/sprite_instance.h"
#include "data/sprite_set_extent.h"
#include "media/graphics.h"
#include "player/shell_state.h"
#include "player/world_object_systems.h"

namespace kiv {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRainPixelsPerSpeed = 50.0;

// Ages grow with the tick and wrap rather than overflow.
std::int32_t Aged(std::int32_t age, std::int32_t elapsed) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(age) + static_cast<std::uint32_t>(elapsed));
}

// Brings a particle that has left the screen back in at the opposite edge,
// each axis by itself; every axis that wraps restarts the animation.
void WrapParticle(float& x, float& y, const SpriteExtent& e, SpriteInstance& sprite, std::int32_t set) {
  const double w = graphics.videoWidth;
  const double h = graphics.videoHeight;
  if (x + e.right < 0.0f) {
    x = static_cast<float>(x + e.right + w - e.left);
    SetObjectSprite(sprite, set);
  } else if (x + e.left > w) {
    x = static_cast<float>(x + e.left - w - e.right);
    SetObjectSprite(sprite, set);
  }
  if (y + e.bottom < 0.0f) {
    y = static_cast<float>(y + e.bottom + h - e.top);
    SetObjectSprite(sprite, set);
  } else if (y + e.top > h) {
    y = static_cast<float>(y + e.top - h - e.bottom);
    SetObjectSprite(sprite, set);
  }
}

Map* MapAt(std::int32_t map) {
  if (map < 0 || map > gameData.maps.LastIndex()) return nullptr;
  return &gameData.maps[map];
}

}  // namespace

void CloudSystem(std::int32_t mapIndex) {
  Map* map = MapAt(mapIndex);
  if (map == nullptr) return;
  const std::int32_t t = shell.frameElapsed;
  const double wind = WindDirection(*map);
  for (CloudParticle& cloud : map->clouds) {
    cloud.age = Aged(cloud.age, t);
    if (cloud.speed == 0.0f) continue;
    cloud.x = static_cast<float>(cloud.x + cloud.speed * std::cos(wind) * t);
    cloud.y = static_cast<float>(cloud.y + cloud.speed * std::sin(wind) * t);
    if (cloud.spriteSet < 0) continue;
    WrapParticle(cloud.x, cloud.y, SpriteSetExtent(cloud.spriteSet), cloud.sprite, cloud.spriteSet);
  }
}

void RainSystem(std::int32_t mapIndex) {
  Map* map = MapAt(mapIndex);
  if (map == nullptr) return;
  const std::int32_t t = shell.frameElapsed;
  const std::int32_t set = RainSpriteSet(*map);
  // A map without a rain sprite set wraps its drops by an empty extent.
  SpriteExtent extent;
  if (set >= 0) extent = SpriteSetExtent(set);
  const double wind = WindDirection(*map);
  const double sway = RainSway(*map);
  for (RainParticle& drop : map->rainDrops) {
    drop.age = Aged(drop.age, t);
    if (drop.speed == 0.0f) continue;
    const double r = static_cast<float>(RandomNext());
    const double drift = wind + (0.5 - r) * 2.0 * kPi * sway * (t / 10);
    drop.x = static_cast<float>(drop.x + drop.speed * std::cos(drift) * kRainPixelsPerSpeed * t);
    drop.y = static_cast<float>(drop.y + drop.speed * kRainPixelsPerSpeed * t);
    const double r2 = static_cast<float>(RandomNext());
    drop.sway = static_cast<float>(drop.sway + kPi / 8.0 * r2 * sway * t);
    WrapParticle(drop.x, drop.y, extent, drop.sprite, set);
  }
}

}  // namespace kiv
