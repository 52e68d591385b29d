// Placing the weather of a map at density 1 for clouds and rain on a
// 1920 x 1080 screen (2,025 clouds and 2,025 drops, each drawing its values
// and starting its sprite), against filling as many particles with the same
// number of plain draws of the shared generator in the same run. The ratio of
// the two is the placement's own cost over the generator's.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/random.h"
#include "data/game_data.h"
#include "data/map_weather_fields.h"
#include "media/graphics.h"
#include "render/weather_placement.h"
#include "support/weather_sprite_set.h"

namespace kiv {
namespace {

void SetUpMap() {
  gameData.Reset();
  gameData.maps.Append();
  graphics.videoWidth = 1920;
  graphics.videoHeight = 1080;
  const std::int32_t set = test::AddWeatherSpriteSet();
  Map& m = gameData.maps[0];
  CloudDensity(m) = 1.0f;
  RainDensity(m) = 1.0f;
  for (std::size_t k = 0; k < 3; ++k) CloudSpriteSet(m, k) = k == 1 ? -1 : set;
  RainSpriteSet(m) = set;
  CloudSpeedFrom(m) = 0.01f, CloudSpeedTo(m) = 0.05f;
  CloudAlphaFrom(m) = 64, CloudAlphaTo(m) = 192;
  CloudVariation(m) = 0.25f;
  CloudMirrorA(m) = 1, CloudMirrorB(m) = 1;
  RainSpeedFrom(m) = 0.1f, RainSpeedTo(m) = 0.2f;
  RainAlphaFrom(m) = 100, RainAlphaTo(m) = 200;
  RainSizeVariation(m) = 0.5f;
  RainSway(m) = 0.25f;
  RandomSeed(1);
}

void BM_InitMapWeather(benchmark::State& state) {
  SetUpMap();
  for (auto _ : state) {
    InitMapWeather(0);
    benchmark::DoNotOptimize(gameData.maps[0].clouds.data());
  }
  state.counters["clouds"] = static_cast<double>(gameData.maps[0].clouds.size());
  state.counters["drops"] = static_cast<double>(gameData.maps[0].rainDrops.size());
}
BENCHMARK(BM_InitMapWeather)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

// The baseline: as many particles, ten draws each (about what placing one
// takes), written into plain lists.
void BM_PlainDrawsForAsManyParticles(benchmark::State& state) {
  SetUpMap();
  std::vector<CloudParticle> clouds(2025);
  std::vector<RainParticle> drops(2025);
  for (auto _ : state) {
    for (CloudParticle& c : clouds) {
      c.x = static_cast<float>(RandomNext());
      c.y = static_cast<float>(RandomNext());
      c.speed = static_cast<float>(RandomNext());
      c.variation = static_cast<float>(RandomNext());
      for (int i = 0; i < 6; ++i) c.color += static_cast<std::uint32_t>(RandomNext() * 255);
    }
    for (RainParticle& d : drops) {
      d.x = static_cast<float>(RandomNext());
      d.y = static_cast<float>(RandomNext());
      d.speed = static_cast<float>(RandomNext());
      d.size = static_cast<float>(RandomNext());
      for (int i = 0; i < 3; ++i) d.color += static_cast<std::uint32_t>(RandomNext() * 255);
    }
    benchmark::DoNotOptimize(clouds.data());
    benchmark::DoNotOptimize(drops.data());
  }
}
BENCHMARK(BM_PlainDrawsForAsManyParticles)->MinWarmUpTime(0.5)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiv
