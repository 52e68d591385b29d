// Light maps on tiny maps, checked against colours worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "data/game_data.h"
#include "data/sector_grid.h"
#include "mathkiv/colors.h"
#include "render/light_maps.h"
#include "render/map_data_hooks.h"

namespace kiv {
namespace {

constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;
constexpr float kFullTurn = 6.2831855f;

struct Segment {
  LineSegment segment;
  float z = 0.0f;
};

class LightMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    mapDataHooks.Reset();
    mapDataHooks.LightBlocked = [this](std::int32_t, const LineSegment& segment, float z) {
      traces.push_back({segment, z});
      return blockAtX >= 0 && std::min(segment.x1, segment.x2) < blockAtX && blockAtX < std::max(segment.x1, segment.x2);
    };
  }
  void TearDown() override {
    gameData.Reset();
    mapDataHooks.Reset();
  }

  // A map of columns x rows tiles in `layers` layers with its sector grid.
  std::int32_t MakeMap(int columns, int rows, int layers, std::uint32_t ambient) {
    const std::int32_t index = gameData.maps.Append();
    Map& m = gameData.maps[index];
    m.width = columns - 1;
    m.height = rows - 1;
    m.layerCount = layers - 1;
    m.ambientColor = ambient;
    BuildSectorGrid(m);
    return index;
  }
  static Light MakeLight(float x, float y, float z, std::int32_t radius, std::uint8_t r, std::uint8_t g,
                         std::uint8_t b, float edge) {
    Light l;
    l.enabled = 1;
    l.x = x, l.y = y, l.z = z;
    l.radius = radius;
    l.horizontalFrom = 0.0f, l.horizontalTo = kFullTurn;
    l.verticalFrom = 0.0f, l.verticalTo = kFullTurn;
    l.red = r, l.green = g, l.blue = b;
    l.edgeIntensity = edge;
    l.nearestBlockedSquared = static_cast<float>(radius) * static_cast<float>(radius) + 1.0f;
    return l;
  }
  std::int32_t AddLight(std::int32_t map, const Light& light) {
    Map& m = gameData.maps[map];
    m.lights.push_back(light);
    const auto index = static_cast<std::int32_t>(m.lights.size()) - 1;
    SectorGridAddLight(m, index, light.x, light.y, light.z, light.radius, false);
    return index;
  }
  Map& M(std::int32_t map) { return gameData.maps[map]; }

  std::vector<Segment> traces;
  std::int32_t blockAtX = -1;  // a closed door across the map at this x
};

TEST_F(LightMapTest, WithoutLightsEveryCornerHasTheAmbientColourAlphaIncluded) {
  const std::int32_t map = MakeMap(3, 2, 2, 0x80102030u);
  GenerateLighting(map, -1, true);
  const Map& m = M(map);
  // Corners 0..W + 1, 0..H + 1, 0..L + 1 of a map of last indexes 2, 1, 1.
  EXPECT_EQ(m.lightGrid.columns, 4);
  EXPECT_EQ(m.lightGrid.rows, 3);
  EXPECT_EQ(m.lightGrid.layers, 3);
  for (const std::uint32_t c : m.lightGrid.cells) EXPECT_EQ(c, 0x80102030u);
  for (const auto& list : m.cellLights.cells) EXPECT_EQ(list, (std::array<std::int32_t, 4>{-1, -1, -1, -1}));
}

// Intensity = current x (1 - (1 - edge) x d / radius); each light's share is
// rounded half to even on its own; components saturate at 0 and 255.
TEST_F(LightMapTest, ColoursFollowDistanceIntensityAndSaturation) {
  struct LightSpec {
    float x;
    std::uint8_t red;
    float edge;
    float current;
    bool subtractive;
  };
  struct Case {
    const char* name;
    std::uint32_t ambient;
    std::vector<LightSpec> lights;  // at (x, 64, 0), radius 64, green = red / 2, blue = red / 5
    float pointX;                   // the point is (pointX, 64, 0)
    std::uint32_t expected;
  };
  const std::vector<Case> cases = {
      {"on the light: the full colour", 0xFF000000u, {{100, 200, 0.5f, 1.0f, false}}, 100, 0xFFC86428u},
      {"on the light, half the current intensity", 0xFF000000u, {{100, 200, 0.5f, 0.5f, false}}, 100, 0xFF643214u},
      {"at the radius: times the edge intensity", 0xFF000000u, {{100, 200, 0.5f, 1.0f, false}}, 164, 0xFF643214u},
      {"at the radius, both factors", 0xFF000000u, {{100, 200, 0.5f, 0.5f, false}}, 36, 0xFF32190Au},
      {"past the radius: ambient", 0xFF010203u, {{100, 200, 0.5f, 1.0f, false}}, 165, 0xFF010203u},
      {"two lights saturate at 255", 0x40000000u,
       {{100, 200, 1.0f, 1.0f, false}, {100, 200, 1.0f, 1.0f, false}}, 100, 0x40FFC850u},
      {"a subtractive light saturates at 0", 0xFF404040u, {{100, 200, 1.0f, 1.0f, true}}, 100, 0xFF000018u},
      {"a subtractive light takes its share", 0xFFC86428u, {{100, 100, 1.0f, 1.0f, true}}, 100, 0xFF643214u},
      // 0.5 of 1, twice: each share rounds to 0 on its own.
      {"each share rounds half to even (down)", 0xFF000000u,
       {{100, 1, 0.5f, 1.0f, false}, {100, 1, 0.5f, 1.0f, false}}, 164, 0xFF000000u},
      // 1.5 -> 2, then 2 + 1.5 -> 4.
      {"each share rounds half to even (up)", 0xFF000000u,
       {{100, 3, 0.5f, 1.0f, false}, {100, 3, 0.5f, 1.0f, false}}, 164, 0xFF040000u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.Reset();
    const std::int32_t map = MakeMap(8, 4, 1, c.ambient);
    for (const LightSpec& s : c.lights) {
      Light l = MakeLight(s.x, 64, 0, 64, s.red, static_cast<std::uint8_t>(s.red / 2),
                          static_cast<std::uint8_t>(s.red / 5), s.edge);
      l.currentIntensity = s.current;
      l.subtractive = s.subtractive ? 1 : 0;
      AddLight(map, l);
    }
    EXPECT_EQ(LightColorAt(map, c.pointX, 64, 0, kNoColour), c.expected);
    EXPECT_EQ(LightColorAt(map, c.pointX, 64, 0, 0xFF808080u), ColorModulate(c.expected, 0xFF808080u));
  }
}

TEST_F(LightMapTest, AngleRangesWrapThroughZeroAndTheVerticalAngleIsNegated) {
  struct Case {
    const char* name;
    float hFrom, hTo, vFrom, vTo;
    float angle;  // horizontal direction of the point from the light
    float dz;     // height of the point above the light
    bool lit;
  };
  const std::vector<Case> cases = {
      {"6.0 in 5.5..0.5", 5.5f, 0.5f, 0.0f, kFullTurn, 6.0f, 0.0f, true},
      {"0.2 in 5.5..0.5", 5.5f, 0.5f, 0.0f, kFullTurn, 0.2f, 0.0f, true},
      {"3.0 not in 5.5..0.5", 5.5f, 0.5f, 0.0f, kFullTurn, 3.0f, 0.0f, false},
      {"3.0 in 2.5..3.5", 2.5f, 3.5f, 0.0f, kFullTurn, 3.0f, 0.0f, true},
      {"6.0 not in 2.5..3.5", 2.5f, 3.5f, 0.0f, kFullTurn, 6.0f, 0.0f, false},
      // Below and ahead of the light: the direction's angle is -pi/4, negated pi/4.
      {"below: pi/4 in 0..1", 0.0f, kFullTurn, 0.0f, 1.0f, 0.0f, -20.0f, true},
      {"above: 2 pi - pi/4 not in 0..1", 0.0f, kFullTurn, 0.0f, 1.0f, 0.0f, 20.0f, false},
      {"above: 2 pi - pi/4 in 5..6", 0.0f, kFullTurn, 5.0f, 6.0f, 0.0f, 20.0f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.Reset();
    const std::int32_t map = MakeMap(10, 10, 3, 0xFF000000u);
    Light l = MakeLight(160, 160, 40, 100, 200, 200, 200, 1.0f);
    l.horizontalFrom = c.hFrom, l.horizontalTo = c.hTo, l.verticalFrom = c.vFrom, l.verticalTo = c.vTo;
    AddLight(map, l);
    const float px = 160 + 20 * std::cos(c.angle), py = 160 + 20 * std::sin(c.angle);
    EXPECT_EQ(LightColorAt(map, px, py, 40 + c.dz, kNoColour), c.lit ? 0xFFC8C8C8u : 0xFF000000u);
  }
}

TEST_F(LightMapTest, AClosedDoorBlocksALightsShareAndLowersItsNearestBlockedDistance) {
  const std::int32_t map = MakeMap(10, 4, 2, 0xFF000000u);
  AddLight(map, MakeLight(10.5f, 20.5f, 33, 200, 200, 0, 0, 1.0f));
  AddLight(map, MakeLight(250, 20, 33, 200, 0, 0, 200, 1.0f));
  blockAtX = 90;
  // The segment ends one pixel towards the light, every coordinate rounded half to even.
  EXPECT_EQ(LightColorAt(map, 100.5f, 50, 33, kNoColour), 0xFF0000C8u);
  ASSERT_EQ(traces.size(), 2u);
  EXPECT_EQ(traces[0].segment.x1, 10);
  EXPECT_EQ(traces[0].segment.y1, 20);
  EXPECT_EQ(traces[0].segment.x2, 100);
  EXPECT_EQ(traces[0].segment.y2, 49);
  EXPECT_EQ(traces[0].z, 33.0f);
  const float d2 = 90.0f * 90.0f + 29.5f * 29.5f;
  EXPECT_FLOAT_EQ(M(map).lights[0].nearestBlockedSquared, d2 - 2048.0f);
  EXPECT_FLOAT_EQ(M(map).lights[1].nearestBlockedSquared, 40001.0f);
  // A point on the first light's side of the door is lit by it alone.
  EXPECT_EQ(LightColorAt(map, 80, 20.5f, 33, kNoColour), 0xFFC80000u);
  // A farther blocked point does not raise the nearest blocked distance.
  EXPECT_EQ(LightColorAt(map, 150, 20.5f, 33, kNoColour), 0xFF0000C8u);
  EXPECT_FLOAT_EQ(M(map).lights[0].nearestBlockedSquared, d2 - 2048.0f);
}

TEST_F(LightMapTest, PointsNearerThanTheClearDistanceSkipTheTrace) {
  const std::int32_t map = MakeMap(10, 4, 2, 0xFF000000u);
  Light l = MakeLight(10, 20, 0, 200, 200, 0, 0, 1.0f);
  l.clearDistanceSquared = 100.0f * 100.0f;
  AddLight(map, l);
  blockAtX = 50;
  EXPECT_EQ(LightColorAt(map, 100, 20, 0, kNoColour), 0xFFC80000u);  // 90 away: no trace
  EXPECT_TRUE(traces.empty());
  EXPECT_EQ(LightColorAt(map, 120, 20, 0, kNoColour), 0xFF000000u);  // 110 away: traced, blocked
  EXPECT_EQ(traces.size(), 1u);
}

// A light of radius 0 reaches nothing, instead of 0 / 0 in its intensity.
TEST_F(LightMapTest, ALightOfRadiusZeroGivesNoLight) {
  const std::int32_t map = MakeMap(4, 4, 1, 0xFF102030u);
  AddLight(map, MakeLight(32, 32, 0, 0, 200, 200, 200, 0.5f));
  EXPECT_EQ(LightColorAt(map, 32, 32, 0, kNoColour), 0xFF102030u);
  std::array<std::int32_t, 4> list{};
  BuildCellLightList(map, 48, 48, 16, list);
  EXPECT_EQ(list, (std::array<std::int32_t, 4>{-1, -1, -1, -1}));
}

TEST_F(LightMapTest, UnknownMapsAndMapsWithoutTilesGiveTheColourUnchanged) {
  const std::int32_t map = MakeMap(4, 4, 1, 0xFF102030u);
  EXPECT_EQ(LightColorAt(-1, 0, 0, 0, 0x12345678u), 0x12345678u);
  EXPECT_EQ(LightColorAt(map + 1, 0, 0, 0, 0x12345678u), 0x12345678u);
  M(map).layerCount = -1;
  EXPECT_EQ(LightColorAt(map, 0, 0, 0, 0x12345678u), 0x12345678u);
}

// The far corners sample one pixel inside the map: a 10 x 8-tile map of 3
// layers has last corner indexes 10, 8 and 3, sampled at 319, 255 and 95.
TEST_F(LightMapTest, FarCornersSampleOnePixelInside) {
  const std::int32_t map = MakeMap(10, 8, 3, 0xFF000000u);
  // Each light reaches exactly the pixel before the far edge of its axis.
  AddLight(map, MakeLight(255, 0, 0, 64, 200, 0, 0, 1.0f));
  AddLight(map, MakeLight(0, 191, 0, 64, 0, 200, 0, 1.0f));
  AddLight(map, MakeLight(0, 0, 31, 64, 0, 0, 200, 1.0f));
  GenerateLighting(map, -1, true);
  const Map& m = M(map);
  EXPECT_EQ(m.lightGrid.columns - 1, 10);
  EXPECT_EQ(m.lightGrid.rows - 1, 8);
  EXPECT_EQ(m.lightGrid.layers - 1, 3);
  EXPECT_EQ(m.lightGrid.At(10, 0, 0), LightColorAt(map, 319, 0, 0, kNoColour));
  EXPECT_EQ(m.lightGrid.At(10, 0, 0) & 0x00FF0000u, 0x00C80000u);
  EXPECT_EQ(m.lightGrid.At(0, 8, 0) & 0x0000FF00u, 0x0000C800u);
  EXPECT_EQ(m.lightGrid.At(0, 0, 3) & 0x000000FFu, 0x000000C8u);
  EXPECT_EQ(m.lightGrid.At(9, 0, 0), LightColorAt(map, 288, 0, 0, kNoColour));
}

TEST_F(LightMapTest, OneLightRecomputesOnlyTheCornersOfItsBoxWithinItsRadius) {
  const std::int32_t map = MakeMap(10, 10, 2, 0xFF000000u);
  const std::int32_t light = AddLight(map, MakeLight(160, 160, 16, 40, 200, 0, 0, 1.0f));
  GenerateLighting(map, -1, true);
  Map& m = M(map);
  EXPECT_EQ(m.cellLights.At(5, 5, 0), (std::array<std::int32_t, 4>{light, -1, -1, -1}));
  for (std::uint32_t& c : m.lightGrid.cells) c = 0x12345678u;
  for (auto& list : m.cellLights.cells) list = {7, 7, 7, 7};
  GenerateLighting(map, light, false);
  // Its box: columns and rows 3..8 (floor(120 / 32) to ceiling(200 / 32) + 1), every level.
  for (std::int32_t i = 0; i <= 10; ++i)
    for (std::int32_t j = 0; j <= 10; ++j)
      for (std::int32_t k = 0; k <= 2; ++k) {
        const double dx = 32.0 * i - 160, dy = 32.0 * j - 160;
        const bool inBox = i >= 3 && i <= 8 && j >= 3 && j <= 8;
        const bool recomputed = inBox && dx * dx + dy * dy <= 40.0 * 40.0;
        if (recomputed)
          EXPECT_EQ(m.lightGrid.At(i, j, k), LightColorAt(map, 32.0f * i, 32.0f * j, 32.0f * k, kNoColour));
        else
          EXPECT_EQ(m.lightGrid.At(i, j, k), 0x12345678u) << i << ", " << j << ", " << k;
      }
  for (const auto& list : m.cellLights.cells) EXPECT_EQ(list, (std::array<std::int32_t, 4>{7, 7, 7, 7}));
  // Asked to, it rebuilds the cell lists two cells beyond its box.
  GenerateLighting(map, light, true);
  for (std::int32_t i = 0; i <= 9; ++i)
    for (std::int32_t j = 0; j <= 9; ++j) {
      const bool rebuilt = i >= 1 && j >= 1;  // box 3..8, less 2
      EXPECT_EQ(m.cellLights.At(i, j, 0)[0] != 7, rebuilt) << i << ", " << j;
    }
}

TEST_F(LightMapTest, CellListsReachARadiusFurtherKeepFourAndNeverNoteBlocks) {
  const std::int32_t map = MakeMap(4, 4, 1, 0xFF000000u);
  // The cell centre (48, 48, 16) lies 27.7 from (32, 32, 0): within 10 + 32.
  const std::int32_t nearLight = AddLight(map, MakeLight(32, 32, 0, 10, 10, 10, 10, 1.0f));
  std::array<std::int32_t, 4> list{};
  BuildCellLightList(map, 48, 48, 16, list);
  EXPECT_EQ(list, (std::array<std::int32_t, 4>{nearLight, -1, -1, -1}));
  EXPECT_EQ(LightColorAt(map, 48, 48, 16, kNoColour), 0xFF000000u);  // beyond its own radius
  // A blocked light is left out and keeps its nearest blocked distance.
  blockAtX = 70;
  const std::int32_t blocked = AddLight(map, MakeLight(100, 48, 16, 100, 10, 10, 10, 1.0f));
  BuildCellLightList(map, 48, 48, 16, list);
  EXPECT_EQ(list, (std::array<std::int32_t, 4>{nearLight, -1, -1, -1}));
  EXPECT_FLOAT_EQ(M(map).lights[static_cast<std::size_t>(blocked)].nearestBlockedSquared, 10001.0f);
  blockAtX = -1;
  // Six lights reach: the first four found, in the sector's order.
  for (int k = 0; k < 4; ++k) AddLight(map, MakeLight(40.0f + k, 40, 0, 50, 10, 10, 10, 1.0f));
  BuildCellLightList(map, 48, 48, 16, list);
  EXPECT_EQ(list, (std::array<std::int32_t, 4>{0, 1, 2, 3}));
}

TEST_F(LightMapTest, MapsHeldOnlyByIdentifierAreNotLit) {
  const std::int32_t kept = MakeMap(4, 4, 1, 0xFF000000u);
  const std::int32_t loaded = MakeMap(2, 2, 1, 0xFF000000u);
  M(kept).keptById = true;
  GenerateLighting(-1, -1, true);
  EXPECT_TRUE(M(kept).lightGrid.cells.empty());
  EXPECT_EQ(M(loaded).lightGrid.cells.size(), 3u * 3u * 2u);
}

}  // namespace
}  // namespace kiv
