#pragma once
// A sprite set for weather tests: one pose whose direction 4 has one layer,
// an extent of left -16, top -8, right 16, bottom 8 (32 x 16), and a built
// first frame whose layer part draws its emission limit (one random draw)
// when an object starts showing the set.
#include <cstdint>

#include "data/game_data.h"

namespace kiv::test {

inline constexpr std::int32_t kWeatherEmissionMin = 1;
inline constexpr std::int32_t kWeatherEmissionMax = 5;

inline std::int32_t AddWeatherSpriteSet() {
  SpriteSet set;
  set.poses.emplace_back();
  SpriteDirection& d = set.poses[0].directions[4];
  SpriteLayer layer;
  layer.emissionLimitMin = kWeatherEmissionMin;
  layer.emissionLimitMax = kWeatherEmissionMax;
  d.layers.push_back(layer);
  FramePart part;
  part.kind = kPartLayer;
  part.index = 0;
  d.frames.emplace_back();
  d.frames[0].parts.push_back(part);
  d.builtFrames = d.frames;
  d.frameDuration = 100;
  d.minX = -16;
  d.minY = -8;
  d.maxX = 16;
  d.maxY = 8;
  d.sizeX = 32;
  d.sizeY = 16;
  gameData.spriteSets.push_back(set);
  return static_cast<std::int32_t>(gameData.spriteSets.size()) - 1;
}

}  // namespace kiv::test
