#include "render/weather_placement.h"

#include <cmath>
#include <utility>

#include "core/error.h"
#include "core/math_util.h"
#include "core/random.h"
#include "data/game_data.h"
#include "data/map_weather_fields.h"
#include "data/sprite_instance.h"
#include "data/sprite_set_extent.h"
#include "media/graphics.h"

namespace kiv {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// One draw of the shared generator as the program's Single.
float Rnd() { return static_cast<float>(RandomNext()); }

template <typename T>
void PutInOrder(T& from, T& to) {
  if (from > to) std::swap(from, to);
}

// Last index of a particle list: density x (W / 32) x (H / 32) - 1, halves to even.
std::int32_t LastParticleIndex(float density) {
  const double last =
      static_cast<double>(density) * (graphics.videoWidth / 32.0) * (graphics.videoHeight / 32.0) - 1.0;
  if (!(last > -2147483648.5 && last < 2147483647.5)) RaiseError(kErrOverflow, "Overflow");
  const std::int32_t index = RoundToLong(last);
  if (index >= kMaxWeatherParticles) RaiseError(kErrOutOfMemory, kOutOfMemoryText);
  return index;
}

// A random alpha in from..to (from <= to) laid over the colour. The range's
// size is taken before the mask, so every value of the range can come out.
std::uint32_t WithRandomAlpha(std::uint32_t color, std::uint8_t from, std::uint8_t to) {
  const std::int32_t span = ((to - from) & 255) + 1;
  const auto alpha = static_cast<std::uint32_t>(std::floor(static_cast<double>(Rnd()) * span + from));
  return (color & 0x00FFFFFFu) | ((alpha & 255u) << 24);
}

float RandomPosition(std::int32_t screen, const SpriteExtent& extent, bool vertical) {
  const std::int32_t size = vertical ? extent.height : extent.width;
  const std::int32_t offset = vertical ? extent.top : extent.left;
  return static_cast<float>(static_cast<double>(Rnd()) * (screen + size) + offset);
}

void PlaceClouds(Map& map) {
  map.clouds.clear();
  bool anySet = false;
  for (std::size_t k = 0; k < 3; ++k) anySet = anySet || CloudSpriteSet(map, k) >= 0;
  if (!anySet) return;
  const std::int32_t last = LastParticleIndex(CloudDensity(map));
  if (last < 0) return;
  OutOfMemoryAsError([&] { map.clouds.resize(static_cast<std::size_t>(last) + 1); });
  for (CloudParticle& cloud : map.clouds) {
    // Sets not given (-1) and sets not found (-2) are drawn again.
    std::int32_t set = -1;
    while (set < 0) set = CloudSpriteSet(map, static_cast<std::size_t>(std::floor(Rnd() * 3.0f)));
    const SpriteExtent extent = SpriteSetExtent(set);
    cloud.x = RandomPosition(graphics.videoWidth, extent, false);
    cloud.y = RandomPosition(graphics.videoHeight, extent, true);
    cloud.speed = CloudSpeedFrom(map) + (CloudSpeedTo(map) - CloudSpeedFrom(map)) * Rnd();
    cloud.age = 0;
    cloud.spriteSet = set;
    SetObjectSprite(cloud.sprite, set);
    cloud.color = WithRandomAlpha(map.ambientColor, CloudAlphaFrom(map), CloudAlphaTo(map));
    cloud.variation = 1.0f - Rnd() * CloudVariation(map);
    cloud.mirrorA = CloudMirrorA(map) != 0 ? static_cast<std::uint8_t>(RoundToLong(Rnd())) : 0;
    cloud.mirrorB = CloudMirrorB(map) != 0 ? static_cast<std::uint8_t>(RoundToLong(Rnd())) : 0;
  }
}

void PlaceRain(Map& map) {
  map.rainDrops.clear();
  const std::int32_t set = RainSpriteSet(map);
  if (set < 0) return;
  const std::int32_t last = LastParticleIndex(RainDensity(map));
  if (last < 0) return;
  OutOfMemoryAsError([&] { map.rainDrops.resize(static_cast<std::size_t>(last) + 1); });
  const SpriteExtent extent = SpriteSetExtent(set);
  for (RainParticle& drop : map.rainDrops) {
    drop.x = RandomPosition(graphics.videoWidth, extent, false);
    drop.y = RandomPosition(graphics.videoHeight, extent, true);
    drop.speed = RainSpeedFrom(map) + (RainSpeedTo(map) - RainSpeedFrom(map)) * Rnd();
    drop.age = 0;
    SetObjectSprite(drop.sprite, set);
    drop.color = WithRandomAlpha(map.ambientColor, RainAlphaFrom(map), RainAlphaTo(map));
    drop.size = 1.0f - Rnd() * RainSizeVariation(map);
    drop.sway = static_cast<float>(static_cast<double>(Rnd()) * kTwoPi * RainSway(map));
  }
}

}  // namespace

void InitMapWeather(std::int32_t mapIndex) {
  if (mapIndex < 0 || mapIndex > gameData.maps.LastIndex()) return;
  Map& map = gameData.maps[mapIndex];
  PutInOrder(RainSpeedFrom(map), RainSpeedTo(map));
  PutInOrder(RainAlphaFrom(map), RainAlphaTo(map));
  PutInOrder(CloudSpeedFrom(map), CloudSpeedTo(map));
  PutInOrder(CloudAlphaFrom(map), CloudAlphaTo(map));
  PlaceClouds(map);
  PlaceRain(map);
}

}  // namespace kiv
