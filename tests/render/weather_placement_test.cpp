// Placing clouds and rain: how many from the densities and the screen, the
// ranges put in order, which sprite sets clouds take, and every value drawn
// from the shared generator in its order.
#include "render/weather_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "core/error.h"
#include "core/random.h"
#include "data/game_data.h"
#include "data/map_weather_fields.h"
#include "media/graphics.h"
#include "support/weather_sprite_set.h"

namespace kiv {
namespace {

constexpr std::uint64_t kSeed = 2026;

class WeatherPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    graphics.videoWidth = 800;
    graphics.videoHeight = 600;
    RandomSeed(kSeed);
    gameData.maps.Append();
    set_ = test::AddWeatherSpriteSet();
    Map& m = M();
    m.ambientColor = 0x80102030;
    for (std::size_t k = 0; k < 3; ++k) CloudSpriteSet(m, k) = -1;
    RainSpriteSet(m) = -1;
  }
  void TearDown() override {
    graphics.videoWidth = 800;
    graphics.videoHeight = 600;
  }
  Map& M() { return gameData.maps[0]; }
  std::int32_t set_ = -1;
};

// Last index = density x (W / 32) x (H / 32) - 1, halves to even; the same
// rule for clouds and rain.
TEST_F(WeatherPlacementTest, CountFollowsDensityAndScreenHalvesToEven) {
  struct Case {
    float density;
    std::int32_t width, height;
    std::size_t count;
  };
  const Case cases[] = {
      {0.0f, 800, 600, 0},      {0.0008f, 800, 600, 0},  // -0.625 rounds to -1
      {0.1f, 800, 600, 47},                             // 45.875 rounds to 46
      {1.75f, 64, 32, 3},                               // 2.5 rounds to 2
      {2.25f, 64, 32, 5},                               // 3.5 rounds to 4
      {1.0f, 1920, 1080, 2025},                         // 2024
      {-3.0f, 800, 600, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.density);
    graphics.videoWidth = c.width;
    graphics.videoHeight = c.height;
    CloudSpriteSet(M(), 0) = set_;
    RainSpriteSet(M()) = set_;
    CloudDensity(M()) = c.density;
    RainDensity(M()) = c.density;
    InitMapWeather(0);
    EXPECT_EQ(M().clouds.size(), c.count);
    EXPECT_EQ(M().rainDrops.size(), c.count);
  }
}

TEST_F(WeatherPlacementTest, NoParticlesWithoutSpriteSets) {
  CloudDensity(M()) = 1.0f;
  RainDensity(M()) = 1.0f;
  M().clouds.resize(3);
  M().rainDrops.resize(3);
  InitMapWeather(0);  // every set -1: the old lists go, nothing new comes
  EXPECT_TRUE(M().clouds.empty());
  EXPECT_TRUE(M().rainDrops.empty());
}

TEST_F(WeatherPlacementTest, RangesArePutInOrderAndStoredBack) {
  CloudSpeedFrom(M()) = 0.5f, CloudSpeedTo(M()) = 0.25f;
  CloudAlphaFrom(M()) = 200, CloudAlphaTo(M()) = 100;
  RainSpeedFrom(M()) = 3.0f, RainSpeedTo(M()) = 1.0f;
  RainAlphaFrom(M()) = 9, RainAlphaTo(M()) = 8;
  InitMapWeather(0);
  EXPECT_EQ(CloudSpeedFrom(M()), 0.25f);
  EXPECT_EQ(CloudSpeedTo(M()), 0.5f);
  EXPECT_EQ(CloudAlphaFrom(M()), 100);
  EXPECT_EQ(CloudAlphaTo(M()), 200);
  EXPECT_EQ(RainSpeedFrom(M()), 1.0f);
  EXPECT_EQ(RainSpeedTo(M()), 3.0f);
  EXPECT_EQ(RainAlphaFrom(M()), 8);
  EXPECT_EQ(RainAlphaTo(M()), 9);
}

// Sets not given (-1) and references not found (-2) are drawn again, so every
// cloud takes the one set that is there.
TEST_F(WeatherPlacementTest, OnlyTheGivenCloudSetIsUsed) {
  const std::int32_t other[] = {-1, -2};
  for (std::int32_t missing : other) {
    SCOPED_TRACE(missing);
    CloudSpriteSet(M(), 0) = missing;
    CloudSpriteSet(M(), 1) = set_;
    CloudSpriteSet(M(), 2) = missing;
    CloudDensity(M()) = 0.1f;
    InitMapWeather(0);
    ASSERT_EQ(M().clouds.size(), 47u);
    for (const CloudParticle& c : M().clouds) EXPECT_EQ(c.spriteSet, set_);
  }
}

TEST_F(WeatherPlacementTest, RainWithoutSpriteSetGivesNoDrops) {
  RainDensity(M()) = 5.0f;
  InitMapWeather(0);
  EXPECT_TRUE(M().rainDrops.empty());
}

// The alpha of a 100..200 range takes values all over the range (the range's
// size is worked out before the mask of 255, not after).
TEST_F(WeatherPlacementTest, AlphasSpreadOverTheirRange) {
  CloudSpriteSet(M(), 0) = set_;
  RainSpriteSet(M()) = set_;
  CloudDensity(M()) = 1.0f;
  RainDensity(M()) = 1.0f;
  CloudAlphaFrom(M()) = 200, CloudAlphaTo(M()) = 100;
  RainAlphaFrom(M()) = 100, RainAlphaTo(M()) = 200;
  InitMapWeather(0);
  const auto check = [](const std::vector<std::uint32_t>& colors) {
    std::set<std::uint32_t> alphas;
    for (std::uint32_t c : colors) {
      EXPECT_EQ(c & 0xFFFFFFu, 0x102030u);
      alphas.insert(c >> 24);
    }
    ASSERT_FALSE(alphas.empty());
    EXPECT_EQ(*alphas.begin(), 100u);
    EXPECT_EQ(*alphas.rbegin(), 200u);
    EXPECT_GT(alphas.size(), 90u);  // of the 101 values, over 2025 draws
  };
  std::vector<std::uint32_t> colors;
  for (const CloudParticle& c : M().clouds) colors.push_back(c.color);
  check(colors);
  colors.clear();
  for (const RainParticle& d : M().rainDrops) colors.push_back(d.color);
  check(colors);
}

// Every value comes from the shared generator in a fixed order: per cloud the
// set, x, y, speed, the frame delays of its sprite, alpha, variation, mirror A,
// mirror B; per drop x, y, speed, frame delays, alpha, size, sway.
TEST_F(WeatherPlacementTest, DrawsFollowTheRecordedSequence) {
  const std::int32_t second = test::AddWeatherSpriteSet();
  CloudSpriteSet(M(), 0) = set_;
  CloudSpriteSet(M(), 1) = -1;
  CloudSpriteSet(M(), 2) = second;
  RainSpriteSet(M()) = second;
  graphics.videoWidth = 64;
  graphics.videoHeight = 32;
  CloudDensity(M()) = 1.5f;  // last index 2
  RainDensity(M()) = 1.0f;   // last index 1
  CloudSpeedFrom(M()) = 0.25f, CloudSpeedTo(M()) = 0.75f;
  CloudAlphaFrom(M()) = 10, CloudAlphaTo(M()) = 40;
  CloudVariation(M()) = 0.5f;
  CloudMirrorA(M()) = 1, CloudMirrorB(M()) = 1;
  RainSpeedFrom(M()) = 1.0f, RainSpeedTo(M()) = 2.0f;
  RainAlphaFrom(M()) = 0, RainAlphaTo(M()) = 255;
  RainSizeVariation(M()) = 0.25f;
  RainSway(M()) = 0.5f;

  RandomSeed(kSeed);
  std::vector<float> r(200);
  for (float& v : r) v = static_cast<float>(RandomNext());
  RandomSeed(kSeed);
  InitMapWeather(0);

  std::size_t n = 0;
  const auto next = [&] { return r.at(n++); };
  const auto emission = [](float v) {
    return static_cast<std::int32_t>(std::floor(static_cast<double>(v) *
                                                    (test::kWeatherEmissionMax - test::kWeatherEmissionMin + 1) +
                                                test::kWeatherEmissionMin));
  };
  ASSERT_EQ(M().clouds.size(), 3u);
  for (const CloudParticle& c : M().clouds) {
    SCOPED_TRACE(n);
    std::int32_t k = -1;
    while (k < 0 || k == 1) k = static_cast<std::int32_t>(std::floor(next() * 3.0f));
    EXPECT_EQ(c.spriteSet, k == 0 ? set_ : second);
    EXPECT_EQ(c.x, static_cast<float>(static_cast<double>(next()) * (64 + 32) - 16));
    EXPECT_EQ(c.y, static_cast<float>(static_cast<double>(next()) * (32 + 16) - 8));
    EXPECT_EQ(c.speed, 0.25f + 0.5f * next());
    ASSERT_EQ(c.sprite.partStates.size(), 1u);
    EXPECT_EQ(c.sprite.partStates[0].emissionLimit, emission(next()));
    EXPECT_EQ(c.color, (static_cast<std::uint32_t>(std::floor(next() * 31.0 + 10)) << 24) | 0x102030u);
    EXPECT_EQ(c.variation, 1.0f - next() * 0.5f);
    EXPECT_EQ(c.mirrorA, std::nearbyint(next()));
    EXPECT_EQ(c.mirrorB, std::nearbyint(next()));
    EXPECT_EQ(c.age, 0);
  }
  ASSERT_EQ(M().rainDrops.size(), 2u);
  for (const RainParticle& d : M().rainDrops) {
    SCOPED_TRACE(n);
    EXPECT_EQ(d.x, static_cast<float>(static_cast<double>(next()) * (64 + 32) - 16));
    EXPECT_EQ(d.y, static_cast<float>(static_cast<double>(next()) * (32 + 16) - 8));
    EXPECT_EQ(d.speed, 1.0f + 1.0f * next());
    ASSERT_EQ(d.sprite.partStates.size(), 1u);
    EXPECT_EQ(d.sprite.partStates[0].emissionLimit, emission(next()));
    EXPECT_EQ(d.color, (static_cast<std::uint32_t>(std::floor(next() * 256.0)) << 24) | 0x102030u);
    EXPECT_EQ(d.size, 1.0f - next() * 0.25f);
    EXPECT_EQ(d.sway, static_cast<float>(static_cast<double>(next()) * 6.283185307179586 * 0.5));
  }
  // Nothing more was drawn.
  EXPECT_EQ(static_cast<float>(RandomNext()), r.at(n));
}

// Without mirror flags no draw is made for mirroring.
TEST_F(WeatherPlacementTest, MirrorsStayZeroWithoutTheirFlags) {
  CloudSpriteSet(M(), 0) = set_;
  CloudSpriteSet(M(), 1) = set_;
  CloudSpriteSet(M(), 2) = set_;
  graphics.videoWidth = 32;
  graphics.videoHeight = 32;
  CloudDensity(M()) = 1.0f;  // one cloud
  RandomSeed(kSeed);
  std::vector<float> r(10);
  for (float& v : r) v = static_cast<float>(RandomNext());
  RandomSeed(kSeed);
  InitMapWeather(0);
  ASSERT_EQ(M().clouds.size(), 1u);
  EXPECT_EQ(M().clouds[0].mirrorA, 0);
  EXPECT_EQ(M().clouds[0].mirrorB, 0);
  // set, x, y, speed, frame delays, alpha, variation: seven draws.
  EXPECT_EQ(static_cast<float>(RandomNext()), r[7]);
}

// A density whose count no memory could hold is refused as an error, and one
// beyond the Long range as an overflow, instead of taking the program down.
TEST_F(WeatherPlacementTest, HugeDensitiesAreErrors) {
  CloudSpriteSet(M(), 0) = set_;
  const std::pair<float, int> cases[] = {{1e6f, kErrOutOfMemory}, {1e30f, kErrOverflow}};
  for (const auto& [density, number] : cases) {
    SCOPED_TRACE(density);
    CloudDensity(M()) = density;
    try {
      InitMapWeather(0);
      ADD_FAILURE() << "no error";
    } catch (const KivError& e) {
      EXPECT_EQ(e.Number(), number);
    }
  }
}

TEST_F(WeatherPlacementTest, MapsOutsideTheTableAreLeftAlone) {
  InitMapWeather(-1);
  InitMapWeather(5);
  SUCCEED();
}

}  // namespace
}  // namespace kiv
