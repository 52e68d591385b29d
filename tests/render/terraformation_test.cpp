// Automatic tiling and pit heights on small hand-made grids, checked against
// bytes and heights worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "core/log.h"
#include "data/game_data.h"
#include "render/terraformation.h"
#include "support/temp_dir.h"

namespace kiv {
namespace {

TerraformRule Rule(std::int32_t tileSet, std::uint8_t tile) {
  TerraformRule rule;
  rule.tileSet = tileSet;
  rule.byteM = tile;
  return rule;
}

// A tile set of `count` plain tiles (no rules, flat).
TileSet PlainSet(int count, bool wall = false, std::uint8_t cellFormat = 0) {
  TileSet set;
  set.flags = wall ? 1 : 0;
  set.cellFormat = cellFormat;
  set.tiles.resize(static_cast<std::size_t>(count));
  return set;
}

using Quarters = std::array<std::uint8_t, 4>;

class TerraformTest : public ::testing::Test {
 protected:
  void SetUp() override { gameData.Reset(); }
  void TearDown() override { gameData.Reset(); }

  // A map of columns x rows x layers cells; slot s + 1 names tile set s.
  std::int32_t MakeMap(int columns, int rows, int layers) {
    const std::int32_t index = gameData.maps.Append();
    Map& map = gameData.maps[index];
    map.width = columns - 1;
    map.height = rows - 1;
    map.layerCount = layers - 1;
    TileLayerGroup& g = map.tileLayerGroups[0];
    for (std::int32_t s = 0; s < static_cast<std::int32_t>(gameData.tileSets.size()); ++s) g.slotTileSets.push_back(s);
    g.slotCount = static_cast<std::uint8_t>(g.slotTileSets.size());
    g.slotGrid.Make(columns, rows, layers);
    g.tileGrid.Make(columns, rows, layers);
    return index;
  }
  Map& M(std::int32_t index) { return gameData.maps[index]; }
  void Put(std::int32_t map, int x, int y, int layer, int tileSet, std::uint8_t tile) {
    TileLayerGroup& g = M(map).tileLayerGroups[0];
    g.slotGrid.At(x, y, layer) = static_cast<std::uint8_t>(tileSet + 1);
    g.tileGrid.At(x, y, layer) = tile;
  }
  Quarters Side(std::int32_t map, int x, int y, int layer, int side) {
    Quarters q{};
    for (int k = 0; k < 4; ++k) q[static_cast<std::size_t>(k)] = M(map).tileLayerGroups[0].terraform.At(k, side, x, y, layer);
    return q;
  }
  float Height(std::int32_t map, int x, int y) {
    const Map& m = M(map);
    return m.heightGrid[static_cast<std::size_t>(y) * static_cast<std::size_t>(m.width + 2) + static_cast<std::size_t>(x)];
  }
};

TEST_F(TerraformTest, WithoutRulesOrDepthPiecesAreZeroAndTheFloorIsMarkedUnlessFlat) {
  gameData.tileSets = {PlainSet(2)};
  for (const bool flat : {false, true}) {
    const std::int32_t map = MakeMap(3, 2, 2);
    M(map).flags[2] = flat ? 1 : 0;
    Put(map, 0, 0, 0, 0, 1);
    Put(map, 1, 0, 0, 0, 0);
    GenerateTerraformation(map);
    const Map& m = M(map);
    EXPECT_EQ(m.tileLayerGroups[0].terraform.cells.size(), 3u * 2u * 2u * 16u);
    EXPECT_TRUE(std::all_of(m.tileLayerGroups[0].terraform.cells.begin(), m.tileLayerGroups[0].terraform.cells.end(),
                            [](std::uint8_t b) { return b == 0; }));
    ASSERT_EQ(m.heightGrid.size(), 4u * 3u);
    for (const float h : m.heightGrid) {
      if (flat)
        EXPECT_EQ(h, 0.0f);
      else
        EXPECT_EQ(std::bit_cast<std::uint32_t>(h), 0xFF7FFFFDu);
    }
  }
}

// Pit heights: corners touching a flat tile are 0; all depth 1 gives -48;
// otherwise the mean of (sunk depth + 1) / tile depth times 48.
TEST_F(TerraformTest, PitsSinkFromTheirRimInwards) {
  struct Case {
    const char* name;
    float depth;
    int size;  // a size x size block at (1, 1) in a map of size + 2 cells
    std::vector<std::array<float, 3>> corners;  // x, y, height
  };
  const std::vector<Case> cases = {
      // Its neighbours are flat, so a lone deep tile sinks one level only.
      {"single tile of depth 2", 2.0f, 1, {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}, {2, 2, 0}, {0, 0, 0}}},
      {"3 x 3 of depth 1", 1.0f, 3, {{1, 1, 0}, {2, 1, 0}, {4, 2, 0}, {2, 2, -48}, {3, 3, -48}, {2, 3, -48}}},
      // The centre sinks to -2, the ring stays at -1: (-1/2 + 0 + 0 + 0) x 12.
      {"3 x 3 of depth 2", 2.0f, 3, {{1, 1, 0}, {2, 2, -6}, {3, 2, -6}, {3, 3, -6}, {2, 3, -6}}},
      // Levels -1, -2, -3: an inner corner has the centre and three of the ring.
      {"5 x 5 of depth 3", 3.0f, 5, {{3, 3, -20}, {2, 2, -4}, {1, 1, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.Reset();
    gameData.tileSets = {PlainSet(2)};
    gameData.tileSets[0].tiles[1].valueD = c.depth;
    const std::int32_t map = MakeMap(c.size + 2, c.size + 2, 1);
    for (int x = 0; x < c.size + 2; ++x)
      for (int y = 0; y < c.size + 2; ++y) Put(map, x, y, 0, 0, 0);
    for (int x = 1; x <= c.size; ++x)
      for (int y = 1; y <= c.size; ++y) Put(map, x, y, 0, 0, 1);
    GenerateTerraformation(map);
    for (const auto& corner : c.corners)
      EXPECT_FLOAT_EQ(Height(map, static_cast<int>(corner[0]), static_cast<int>(corner[1])), corner[2])
          << corner[0] << ", " << corner[1];
  }
}

TEST_F(TerraformTest, BorderCornersCopyTheirInnerNeighbours) {
  gameData.tileSets = {PlainSet(1)};
  gameData.tileSets[0].tiles[0].valueD = 1.0f;
  const std::int32_t map = MakeMap(2, 2, 1);  // every tile of depth 1: the one inner corner is -48
  for (int x = 0; x < 2; ++x)
    for (int y = 0; y < 2; ++y) Put(map, x, y, 0, 0, 0);
  GenerateTerraformation(map);
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) EXPECT_EQ(Height(map, x, y), -48.0f) << x << ", " << y;
}

// The decision list, on the centre of a 3 x 3 map whose tile has one rule of
// tile set -1 (so every differing neighbour counts and the rule is always
// found at position 0): the byte is kind x 16 + 1 per quarter.
TEST_F(TerraformTest, TheDecisionListChoosesEachQuartersPiece) {
  struct Case {
    const char* name;
    std::vector<int> differing;  // directions 0 Left .. 7 LeftDown
    std::array<int, 4> kinds;    // quarters top-left, top-right, bottom-left, bottom-right
  };
  const std::vector<Case> cases = {
      {"every straight neighbour", {0, 2, 4, 6}, {0, 0, 0, 0}},
      {"all eight", {0, 1, 2, 3, 4, 5, 6, 7}, {0, 0, 0, 0}},
      {"LeftUp alone", {1}, {6, 6, 6, 6}},
      {"RightUp alone", {3}, {7, 7, 7, 7}},
      {"LeftDown alone", {7}, {8, 8, 8, 8}},
      {"RightDown alone", {5}, {9, 9, 9, 9}},
      {"Left and Up", {0, 1, 2}, {1, 1, 1, 1}},
      {"Right and Up", {2, 3, 4}, {2, 2, 2, 2}},
      {"Left and Down", {0, 6, 7}, {3, 3, 3, 3}},
      {"Right and Down", {4, 5, 6}, {4, 4, 4, 4}},
      {"Left", {0}, {11, 11, 11, 11}},
      {"Left with LeftUp", {0, 1, 7}, {11, 11, 11, 11}},
      {"Right", {4}, {13, 13, 13, 13}},
      {"Up", {2}, {12, 12, 12, 12}},
      {"Down", {6}, {14, 14, 14, 14}},
      {"Left and Right", {0, 4}, {11, 13, 11, 13}},
      {"Left and RightUp", {0, 3}, {11, 5, 11, 7}},
      {"LeftUp and RightDown", {1, 5}, {5, 9, 6, 5}},
      {"RightUp and LeftDown", {3, 7}, {8, 5, 5, 7}},
      {"LeftUp and LeftDown", {1, 7}, {5, 8, 5, 6}},
  };
  static constexpr std::array<int, 8> kDx{-1, -1, 0, 1, 1, 1, 0, -1};
  static constexpr std::array<int, 8> kDy{0, -1, -1, -1, 0, 1, 1, 1};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.Reset();
    gameData.tileSets = {PlainSet(1), PlainSet(1)};
    gameData.tileSets[0].tiles[0].terraformRules = {Rule(-1, 0)};
    const std::int32_t map = MakeMap(3, 3, 1);
    for (int x = 0; x < 3; ++x)
      for (int y = 0; y < 3; ++y) Put(map, x, y, 0, 0, 0);
    for (const int d : c.differing) Put(map, 1 + kDx[static_cast<std::size_t>(d)], 1 + kDy[static_cast<std::size_t>(d)], 0, 1, 0);
    GenerateTerraformation(map);
    Quarters expected{};
    for (std::size_t q = 0; q < 4; ++q) expected[q] = static_cast<std::uint8_t>(c.kinds[q] * 16 + 1);
    for (int side = 0; side < 4; ++side) EXPECT_EQ(Side(map, 1, 1, 0, side), expected) << "side " << side;
  }
}

// Which rule a quarter takes, and which neighbours count as different.
TEST_F(TerraformTest, RulesDecideWhatDiffersAndWhichImagesAQuarterTakes) {
  struct Case {
    const char* name;
    std::vector<TerraformRule> rules;
    // Neighbour tiles of the centre by direction 0..7: {tile set, tile}; set -1 empty.
    std::array<std::array<int, 2>, 8> around;
    Quarters expected;
  };
  const std::array<int, 2> same{0, 0};
  const std::vector<Case> cases = {
      {"only Left differs, named by the first rule", {Rule(1, 0), Rule(1, 1)},
       {{{1, 0}, same, same, same, same, same, same, same}}, {177, 177, 177, 177}},
      {"every straight one differs: each quarter from its own corner",
       {Rule(1, 0), Rule(1, 1), Rule(1, 2), Rule(1, 3), Rule(1, 4)},
       {{{1, 0}, {1, 1}, {1, 0}, {1, 2}, {1, 0}, {1, 3}, {1, 0}, {1, 4}}}, {2, 3, 5, 4}},
      {"straight ones differ, corners same: the counter-clockwise straight one", {Rule(1, 5), Rule(1, 0)},
       {{{1, 0}, same, {1, 0}, same, {1, 0}, same, {1, 0}, same}}, {2, 2, 2, 2}},
      {"differing neighbours no rule names", {Rule(1, 7)},
       {{{1, 0}, {1, 1}, {1, 0}, {1, 2}, {1, 0}, {1, 3}, {1, 0}, {1, 4}}}, {0, 0, 0, 0}},
      {"a rule of tile set -1 takes an empty neighbour", {Rule(1, 3), Rule(-1, 0)},
       {{{-1, 0}, same, same, same, same, same, same, same}}, {178, 178, 178, 178}},
      {"and any differing neighbour after it", {Rule(-1, 0), Rule(1, 0)},
       {{same, same, same, same, {1, 0}, same, same, same}}, {210, 210, 210, 210}},
      {"a neighbour named before the -1 rule takes its own rule", {Rule(1, 0), Rule(-1, 0)},
       {{same, same, same, same, {1, 0}, same, same, same}}, {209, 209, 209, 209}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gameData.Reset();
    gameData.tileSets = {PlainSet(1), PlainSet(8)};
    gameData.tileSets[0].tiles[0].terraformRules = c.rules;
    const std::int32_t map = MakeMap(3, 3, 1);
    static constexpr std::array<int, 8> kDx{-1, -1, 0, 1, 1, 1, 0, -1};
    static constexpr std::array<int, 8> kDy{0, -1, -1, -1, 0, 1, 1, 1};
    Put(map, 1, 1, 0, 0, 0);
    for (std::size_t d = 0; d < 8; ++d)
      if (c.around[d][0] >= 0)
        Put(map, 1 + kDx[d], 1 + kDy[d], 0, c.around[d][0], static_cast<std::uint8_t>(c.around[d][1]));
    GenerateTerraformation(map);
    EXPECT_EQ(Side(map, 1, 1, 0, 0), c.expected);
    EXPECT_EQ(Side(map, 1, 1, 0, 3), c.expected);
  }
}

TEST_F(TerraformTest, NeighboursOutsideTheMapDifferOnlyUnderTheEdgeFlag) {
  for (const bool edge : {false, true}) {
    gameData.Reset();
    gameData.tileSets = {PlainSet(1)};
    Tile& tile = gameData.tileSets[0].tiles[0];
    tile.terraformRules = {Rule(-1, 0)};
    tile.byteK = edge ? 1 : 0;
    const std::int32_t map = MakeMap(1, 1, 1);
    Put(map, 0, 0, 0, 0, 0);
    GenerateTerraformation(map);
    // All eight outside: every straight neighbour differs, kind 0 from the -1 rule.
    EXPECT_EQ(Side(map, 0, 0, 0, 0), (edge ? Quarters{1, 1, 1, 1} : Quarters{0, 0, 0, 0})) << edge;
  }
}

TEST_F(TerraformTest, TileNumbersLoseTheirTopBitsUnderTheUpperBitsFlag) {
  for (const std::uint8_t format : {0, 1, 2}) {
    gameData.Reset();
    gameData.tileSets = {PlainSet(2, false, format)};
    gameData.tileSets[0].tiles[0].terraformRules = {Rule(0, 1)};
    const std::int32_t map = MakeMap(3, 3, 1);
    for (int x = 0; x < 3; ++x)
      for (int y = 0; y < 3; ++y) Put(map, x, y, 0, 0, 0x80);  // tile 0 with flags, or tile 128
    Put(map, 0, 1, 0, 0, 0x41);                                 // tile 1 with a flag, or tile 65
    GenerateTerraformation(map);
    // Tile 128 does not exist: the plain grid is left as made.
    EXPECT_EQ(Side(map, 1, 1, 0, 0), (format != 0 ? Quarters{177, 177, 177, 177} : Quarters{0, 0, 0, 0}))
        << int(format);
  }
}

TEST_F(TerraformTest, WallFacesLookAtTheirVerticalPlaneAndHideAgainstWalls) {
  gameData.tileSets = {PlainSet(1, true)};
  gameData.tileSets[0].tiles[0].terraformRules = {Rule(-1, 0)};
  const std::int32_t map = MakeMap(3, 3, 3);
  // A column of walls with one more to the west of the middle one.
  Put(map, 1, 1, 0, 0, 0);
  Put(map, 1, 1, 1, 0, 0);
  Put(map, 1, 1, 2, 0, 0);
  Put(map, 0, 1, 1, 0, 0);
  GenerateTerraformation(map);
  // South face: up and down the column are the same, the west one too.
  EXPECT_EQ(Side(map, 1, 1, 1, 0), (Quarters{81, 209, 81, 209}));
  // West face: the joining wall hides it.
  EXPECT_EQ(Side(map, 1, 1, 1, 1), (Quarters{255, 255, 255, 255}));
  // North face: seen from the north, the west wall is on its right.
  EXPECT_EQ(Side(map, 1, 1, 1, 2), (Quarters{177, 81, 177, 81}));
  // East face: only its left and right (north and south) cells differ.
  EXPECT_EQ(Side(map, 1, 1, 1, 3), (Quarters{177, 209, 177, 209}));
  // The west wall's east side joins the middle one.
  EXPECT_EQ(Side(map, 0, 1, 1, 3), (Quarters{255, 255, 255, 255}));
}

TEST_F(TerraformTest, AWallBesideAWallOnItsEastGets255OnSide3) {
  gameData.tileSets = {PlainSet(1, true)};
  gameData.tileSets[0].tiles[0].terraformRules = {Rule(-1, 0)};
  const std::int32_t map = MakeMap(3, 1, 1);
  Put(map, 0, 0, 0, 0, 0);
  Put(map, 1, 0, 0, 0, 0);
  GenerateTerraformation(map);
  EXPECT_EQ(Side(map, 0, 0, 0, 3), (Quarters{255, 255, 255, 255}));
  EXPECT_NE(Side(map, 0, 0, 0, 0), (Quarters{255, 255, 255, 255}));
  EXPECT_EQ(Side(map, 1, 0, 0, 1), (Quarters{255, 255, 255, 255}));
  EXPECT_NE(Side(map, 1, 0, 0, 3), (Quarters{255, 255, 255, 255}));
}

TEST_F(TerraformTest, TerraformAreaRederivesOnlyTheCellsAroundAndKeepsTheHeights) {
  gameData.tileSets = {PlainSet(1), PlainSet(1)};
  gameData.tileSets[0].tiles[0].terraformRules = {Rule(-1, 0)};
  const std::int32_t map = MakeMap(3, 3, 3);
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y)
      for (int z = 0; z < 3; ++z) Put(map, x, y, z, 0, 0);
  M(map).tileLayerGroups[0].terraform.Make(3, 3, 3);
  M(map).heightGrid.assign(16, 7.0f);
  // Every cell has outside neighbours: with the edge flag each gets pieces.
  gameData.tileSets[0].tiles[0].byteK = 1;
  TerraformArea(map, 0, 0, 0);
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y)
      for (int z = 0; z < 3; ++z) {
        // The middle column has all its neighbours inside and alike: no pieces.
        const bool pieces = x <= 1 && y <= 1 && z <= 1 && !(x == 1 && y == 1);
        EXPECT_EQ(Side(map, x, y, z, 0) != (Quarters{0, 0, 0, 0}), pieces) << x << y << z;
      }
  EXPECT_TRUE(std::all_of(M(map).heightGrid.begin(), M(map).heightGrid.end(), [](float h) { return h == 7.0f; }));
}

// A rule at the 16th place or later cannot be stored in four bits: it is left
// out of the choice (and reported once per tile set), never spilled into the kind.
TEST_F(TerraformTest, RulesPastTheFifteenthAreLeftOutOfTheChoice) {
  test::TempDir dir;
  LogOpen(dir.File("log.txt"));
  gameData.tileSets = {PlainSet(1), PlainSet(1)};
  std::vector<TerraformRule> rules(15, Rule(1, 9));
  rules.push_back(Rule(1, 0));  // position 15: names the Left neighbour
  gameData.tileSets[0].tiles[0].terraformRules = rules;
  const std::int32_t map = MakeMap(4, 3, 1);
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 3; ++y) Put(map, x, y, 0, 0, 0);
  Put(map, 0, 1, 0, 1, 0);
  GenerateTerraformation(map);
  LogClose();
  EXPECT_EQ(Side(map, 1, 1, 0, 0), (Quarters{0, 0, 0, 0}));
  const ByteList log = test::ReadTestFile(dir.File("log.txt"));
  const std::string text(log.begin(), log.end());
  std::size_t lines = 0;
  for (std::size_t at = text.find("tile set 0"); at != std::string::npos; at = text.find("tile set 0", at + 1)) ++lines;
  EXPECT_EQ(lines, 1u) << text;
}

}  // namespace
}  // namespace kiv
