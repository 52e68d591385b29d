// Tile-layer drawing, recorded through the batcher and device seams.
#include "render/tile_drawing.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "core/math_util.h"
#include "core/tile_random.h"
#include "mathkiv/colors.h"
#include "render/tile_map_fixture.h"

namespace kiv {
namespace {

using test::DeviceCall;
using test::kBottomLeft;
using test::kBottomRight;
using test::kTopLeft;
using test::kTopRight;
using test::RecordedKind;
using test::RecordedQuad;

class TileDrawingTest : public test::TileMapTest {
 protected:
  TileLayerArgs Args(int group, bool shadow = false) const {
    TileLayerArgs args;
    args.map = 0;
    args.group = group;
    args.shadowPass = shadow;
    args.wholeMap = true;
    return args;
  }
};

TEST_F(TileDrawingTest, OrderIsLayersDownRowsUpColumnsAcross) {
  gameData.tileSets.push_back(test::MakeTileSet(1));
  Map& map = MakeMap(3, 2, 2, {0});
  for (int z = 0; z < 2; ++z)
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) Put(map, 0, x, y, z, 1, 0);
  DrawTileLayer(Args(0));
  std::vector<std::tuple<float, float, float>> got;
  for (const ColoredVertex& v : TopLefts()) got.emplace_back(v.x, v.y, v.z);
  std::vector<std::tuple<float, float, float>> want;
  for (int z = 1; z >= 0; --z)
    for (int y = 1; y >= 0; --y)
      for (int x = 0; x < 3; ++x) want.emplace_back(32.0f * x, 32.0f * y, 32.0f * z);
  EXPECT_EQ(got, want);
  EXPECT_EQ(gameData.currentActivity, "Drawing Tiles 0");
}

TEST_F(TileDrawingTest, VisibleWindowLimitsTheCells) {
  gameData.tileSets.push_back(test::MakeTileSet(1));
  Map& map = MakeMap(20, 20, 3, {0});
  for (int z = 0; z < 3; ++z)
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) Put(map, 0, x, y, z, 1, 0);
  TileLayerArgs args = Args(0);
  args.wholeMap = false;
  args.window = {10, 5, 2, 2, 2, 0, 64, 64};  // half width 1 cell, height 2 cells
  DrawTileLayer(args);
  std::set<int> columns, rows, layers;
  for (const ColoredVertex& v : TopLefts()) {
    columns.insert(static_cast<int>(v.x) / 32);
    rows.insert(static_cast<int>(v.y) / 32);
    layers.insert(static_cast<int>(v.z) / 32);
  }
  EXPECT_EQ(*columns.begin(), 8);   // 10 - 1 - 1
  EXPECT_EQ(*columns.rbegin(), 14);  // 10 + 2 + 1 + 1
  EXPECT_EQ(*rows.begin(), 4);      // 5 - 1
  EXPECT_EQ(*rows.rbegin(), 10);    // 5 + 2 + 2 + 1
  EXPECT_EQ(*layers.begin(), 0);    // 2 - 2
  EXPECT_EQ(*layers.rbegin(), 2);   // 2 + 0
}

TEST_F(TileDrawingTest, EmptyCellsAndMissingSetsDrawNothing) {
  gameData.tileSets.push_back(test::MakeTileSet(1));
  Map& map = MakeMap(3, 1, 1, {0, -1, 5});
  Put(map, 0, 0, 0, 0, 0, 0);  // slot 0
  Put(map, 0, 1, 0, 0, 2, 0);  // set -1
  Put(map, 0, 2, 0, 0, 3, 0);  // set beyond the table
  DrawTileLayer(Args(0));
  EXPECT_TRUE(recorder.quads.empty());
  EXPECT_EQ(recorder.Count(RecordedKind::kBind), 0u);
}

TEST_F(TileDrawingTest, GroundCornersTakeTheLightGridAndShareTints) {
  TileSet set = test::MakeTileSet(1);
  set.tiles[0].colorA = 0xFF000000;
  set.tiles[0].colorB = 0xFFFFFFFF;
  gameData.tileSets.push_back(set);
  Map& map = MakeMap(2, 1, 1, {0});
  Put(map, 0, 0, 0, 0, 1, 0);
  Put(map, 0, 1, 0, 0, 1, 0);
  DrawTileLayer(Args(0));
  ASSERT_EQ(recorder.quads.size(), 2u);
  auto expected = [](int x, int y, int z) {
    const std::uint32_t tint = ColorLerp(0xFF000000, 0xFFFFFFFF, TileRandom(0, x, y, z, 0));
    return ColorModulate(test::CornerLight(x, y, z), tint);
  };
  const RecordedQuad& left = recorder.quads[0];
  const RecordedQuad& right = recorder.quads[1];
  EXPECT_EQ(left.Vertex<ColoredVertex>(kTopLeft).diffuse, expected(0, 0, 0));
  EXPECT_EQ(left.Vertex<ColoredVertex>(kTopRight).diffuse, expected(1, 0, 0));
  EXPECT_EQ(left.Vertex<ColoredVertex>(kBottomLeft).diffuse, expected(0, 1, 0));
  EXPECT_EQ(left.Vertex<ColoredVertex>(kBottomRight).diffuse, expected(1, 1, 0));
  // The shared edge has the same colours in both cells.
  EXPECT_EQ(left.Vertex<ColoredVertex>(kTopRight).diffuse, right.Vertex<ColoredVertex>(kTopLeft).diffuse);
  EXPECT_EQ(left.Vertex<ColoredVertex>(kBottomRight).diffuse, right.Vertex<ColoredVertex>(kBottomLeft).diffuse);
}

TEST_F(TileDrawingTest, WallFacesFollowTheFaceTable) {
  gameData.tileSets.push_back(test::MakeTileSet(1, true));
  Map& map = MakeMap(3, 3, 2, {0});
  Put(map, 0, 1, 1, 0, 1, 0);
  struct Corner {
    float x, y, z;
  };
  struct Case {
    int is3D;
    std::vector<std::array<Corner, 2>> faces;  // top-left and bottom-right corner of each face
  };
  const Case cases[] = {
      {0, {{{{32, 64, 32}, {64, 64, 0}}}}},
      {1,
       {{{{32, 64, 32}, {64, 64, 0}}},
        {{{32, 32, 32}, {32, 64, 0}}},
        {{{64, 32, 32}, {32, 32, 0}}},
        {{{64, 64, 32}, {64, 32, 0}}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.is3D);
    recorder.Clear();
    TileLayerArgs args = Args(0);
    args.is3D = c.is3D;
    DrawTileLayer(args);
    ASSERT_EQ(recorder.quads.size(), c.faces.size());
    for (std::size_t f = 0; f < c.faces.size(); ++f) {
      const ColoredVertex tl = recorder.quads[f].Vertex<ColoredVertex>(kTopLeft);
      const ColoredVertex br = recorder.quads[f].Vertex<ColoredVertex>(kBottomRight);
      EXPECT_EQ(std::make_tuple(tl.x, tl.y, tl.z), std::make_tuple(c.faces[f][0].x, c.faces[f][0].y, c.faces[f][0].z))
          << f;
      EXPECT_EQ(std::make_tuple(br.x, br.y, br.z), std::make_tuple(c.faces[f][1].x, c.faces[f][1].y, c.faces[f][1].z))
          << f;
    }
    // A wall's top corners are lit from one row and one layer further.
    const ColoredVertex tl = recorder.quads[0].Vertex<ColoredVertex>(kTopLeft);
    EXPECT_EQ(tl.diffuse, test::CornerLight(1, 2, 1));
    EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(kBottomLeft).diffuse, test::CornerLight(1, 2, 0));
  }
}

TEST_F(TileDrawingTest, FlipModesTurnAndFlipTheTextureCorners) {
  struct Case {
    std::uint8_t flipMode;
    std::uint8_t tileByte;
    std::array<std::pair<float, float>, 4> corners;  // top-left, top-right, bottom-right, bottom-left
  };
  // Image 0 spans u 0 .. 0.125, v 0 .. 1.
  constexpr float R = 0.125f;
  const Case cases[] = {
      {0, 0x00, {{{0, 0}, {R, 0}, {R, 1}, {0, 1}}}},
      {1, 0x40, {{{R, 0}, {0, 0}, {0, 1}, {R, 1}}}},  // horizontal flip
      {1, 0x80, {{{0, 1}, {R, 1}, {R, 0}, {0, 0}}}},  // vertical flip
      {2, 0x40, {{{0, 0}, {0, 1}, {R, 1}, {R, 0}}}},  // one turn: P0, P3, P2, P1
      {2, 0x80, {{{R, 1}, {0, 1}, {0, 0}, {R, 0}}}},  // two turns: P2, P3, P0, P1
      {2, 0xC0, {{{R, 1}, {R, 0}, {0, 0}, {0, 1}}}},  // three turns: P2, P1, P0, P3
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.flipMode} << " " << int{c.tileByte});
    gameData.Reset();
    gameData.tileSets.push_back(test::MakeTileSet(1, false, c.flipMode));
    Map& map = MakeMap(1, 1, 1, {0});
    Put(map, 0, 0, 0, 0, 1, c.tileByte);
    recorder.Clear();
    DrawTileLayer(Args(0));
    ASSERT_EQ(recorder.quads.size(), 1u);
    const test::QuadCorner order[] = {kTopLeft, kTopRight, kBottomRight, kBottomLeft};
    for (int k = 0; k < 4; ++k) {
      const ColoredVertex v = recorder.quads[0].Vertex<ColoredVertex>(order[k]);
      EXPECT_EQ(std::make_pair(v.tu, v.tv), c.corners[static_cast<std::size_t>(k)]) << k;
    }
  }
}

TEST_F(TileDrawingTest, RandomVariationFollowsTheCellSalts) {
  TileSet set = test::MakeTileSet(1);
  Tile& tile = set.tiles[0];
  tile.scatterX = 10;
  tile.scatterY = 10;
  tile.randomFlipA = 1;
  tile.randomTurn = 1;
  tile.shape = 0;
  gameData.tileSets.push_back(set);
  Map& map = MakeMap(16, 16, 1, {0});
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) Put(map, 1, x, y, 0, 1, 0);
  DrawTileLayer(Args(1));
  const std::vector<ColoredVertex> first = TopLefts();
  ASSERT_EQ(first.size(), 256u);
  int flips = 0;
  std::size_t i = 0;
  for (int y = 15; y >= 0; --y) {
    for (int x = 0; x < 16; ++x, ++i) {
      SCOPED_TRACE(testing::Message() << x << " " << y);
      const float rx = TileRandom(0, x, y, 0, 1);
      const int px = RoundToLong((0.5 - 2.0 * rx) * 10 + 32.0 * x);
      // The lying quad's left edge is px + 16 - 16.
      const int dx = px - 32 * x;
      EXPECT_GE(dx, -15);
      EXPECT_LE(dx, 5);
      // With a turn the top-left vertex may hold another corner; only the position is checked.
      const ColoredVertex& v = first[i];
      const bool flipped = RoundToLong(TileRandom(0, x, y, 0, 5)) != 0;
      const int turns = RoundToLong(3.0 * TileRandom(0, x, y, 0, 7));
      flips += flipped;
      EXPECT_FLOAT_EQ(v.x, static_cast<float>(px));
      (void)turns;
    }
  }
  EXPECT_GT(flips, 0);
  EXPECT_LT(flips, 256);
  // The same map drawn again gives the same quads.
  const std::vector<RecordedQuad> quads = recorder.quads;
  recorder.Clear();
  DrawTileLayer(Args(1));
  ASSERT_EQ(recorder.quads.size(), quads.size());
  for (std::size_t q = 0; q < quads.size(); ++q) EXPECT_EQ(recorder.quads[q].bytes, quads[q].bytes) << q;
}

TEST_F(TileDrawingTest, HalfwayRandomValuesRoundToEven) {
  // r = 0.5 rounds to 0 (no flip); 3 x 0.5 = 1.5 rounds to 2 turns.
  EXPECT_EQ(RoundToLong(0.5), 0);
  EXPECT_EQ(RoundToLong(1.5), 2);
  EXPECT_EQ(RoundToLong((0.5 - 2.0 * 0.75) * 10 + 0.0), -10);
}

TEST_F(TileDrawingTest, ObjectShapesPlaceTheirQuads) {
  struct Case {
    std::uint8_t shape;
    std::int32_t height;
    std::uint32_t depthLayer;
    std::vector<std::array<float, 6>> quads;  // top-left x y z, bottom-right x y z
  };
  // Cell (1, 1, 0), image 32 x 32, no jitter: px = py = 32.
  const Case cases[] = {
      {0, 0, 1, {{32, 32, 0, 64, 64, 0}}},
      {1, 8, 3, {{32, 40, 8, 64, 72, 8}}},
      {2, 0, 1, {{32, 64, 32, 64, 64, 0}}},
      {4, 0, 1, {{32, 64, 16, 64, 64, 0}, {32, 48, 16, 64, 64, 16}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.shape});
    gameData.Reset();
    TileSet set = test::MakeTileSet(1);
    set.tiles[0].shape = c.shape;
    set.tiles[0].valueC = c.height;
    gameData.tileSets.push_back(set);
    Map& map = MakeMap(3, 3, 1, {0});
    Put(map, 1, 1, 1, 0, 1, 0);
    recorder.Clear();
    DrawTileLayer(Args(1));
    ASSERT_EQ(recorder.quads.size(), c.quads.size());
    for (std::size_t q = 0; q < c.quads.size(); ++q) {
      const ColoredVertex tl = recorder.quads[q].Vertex<ColoredVertex>(kTopLeft);
      const ColoredVertex br = recorder.quads[q].Vertex<ColoredVertex>(kBottomRight);
      EXPECT_EQ((std::array<float, 6>{tl.x, tl.y, tl.z, br.x, br.y, br.z}), c.quads[q]) << q;
    }
    const auto layers = recorder.Calls(DeviceCall::kDepthLayer);
    ASSERT_GE(layers.size(), 2u);
    EXPECT_EQ(layers.front().value, c.depthLayer);
    EXPECT_EQ(layers.back().value, 0u);
  }
}

TEST_F(TileDrawingTest, ShapeThreeFindsTheWallBelow) {
  TileSet objects = test::MakeTileSet(1);
  objects.tiles[0].shape = 3;
  objects.tiles[0].valueC = 5;
  gameData.tileSets.push_back(objects);
  gameData.tileSets.push_back(test::MakeTileSet(1, true));
  Map& map = MakeMap(3, 4, 3, {0, 1});
  Put(map, 2, 1, 0, 0, 1, 0);  // upper object at (1, 0, 0)
  Put(map, 0, 1, 2, 2, 2, 0);  // a wall two rows and two layers further
  DrawTileLayer(Args(2));
  ASSERT_EQ(recorder.quads.size(), 1u);
  // h = 64: the upright quad stands at y = 0 + 64 + 32, z = 64 (its top at 96).
  const ColoredVertex tl = recorder.quads[0].Vertex<ColoredVertex>(kTopLeft);
  EXPECT_EQ(std::make_tuple(tl.y, tl.z), std::make_tuple(96.0f, 96.0f));
  // Without the wall the tile's own height counts.
  recorder.Clear();
  Put(map, 0, 1, 2, 2, 0, 0);
  DrawTileLayer(Args(2));
  ASSERT_EQ(recorder.quads.size(), 1u);
  EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(kTopLeft).y, 37.0f);
}

TEST_F(TileDrawingTest, BindsAndFlushesOnlyWhenTheTextureChanges) {
  gameData.tileSets.push_back(test::MakeTileSet(2));
  gameData.tileSets.push_back(test::MakeTileSet(1));
  Map& map = MakeMap(5, 1, 1, {0, 1});
  // set 0 image 0, set 0 image 0, set 0 image 1, set 1 image 0, set 1 image 0
  Put(map, 0, 0, 0, 0, 1, 0);
  Put(map, 0, 1, 0, 0, 1, 0);
  Put(map, 0, 2, 0, 0, 1, 1);
  Put(map, 0, 3, 0, 0, 2, 0);
  Put(map, 0, 4, 0, 0, 2, 0);
  DrawTileLayer(Args(0));
  EXPECT_EQ(recorder.Count(RecordedKind::kBind), 3u);
  std::vector<std::size_t> flushSizes;
  for (const auto& e : recorder.events)
    if (e.kind == RecordedKind::kFlush) flushSizes.push_back(e.quadCount);
  EXPECT_EQ(flushSizes, (std::vector<std::size_t>{2, 1, 2}));
  // Afterwards the states are as at set-up, with depth layer 0.
  const auto shaders = recorder.Calls(DeviceCall::kVertexShader);
  ASSERT_FALSE(shaders.empty());
  EXPECT_EQ(shaders.back().value, kColoredVertexFormat);
  EXPECT_EQ(recorder.Calls(DeviceCall::kDepthLayer).back().value, 0u);
  EXPECT_EQ(recorder.renderStates[gfx::kRsCullMode], gfx::kCullCcw);
  EXPECT_EQ(recorder.renderStates[gfx::kRsLighting], 0u);
}

TEST_F(TileDrawingTest, DepthLayerSwitchesOnlyOnAChange) {
  TileSet set = test::MakeTileSet(2);
  set.tiles[0].shape = 1;
  set.tiles[1].shape = 0;
  gameData.tileSets.push_back(set);
  Map& map = MakeMap(4, 1, 1, {0});
  Put(map, 1, 0, 0, 0, 1, 0);
  Put(map, 1, 1, 0, 0, 1, 0);
  Put(map, 1, 2, 0, 0, 1, 1);
  Put(map, 1, 3, 0, 0, 1, 1);
  DrawTileLayer(Args(1));
  std::vector<std::uint32_t> layers;
  for (const auto& e : recorder.Calls(DeviceCall::kDepthLayer)) layers.push_back(e.value);
  EXPECT_EQ(layers, (std::vector<std::uint32_t>{3, 1, 0}));
  EXPECT_EQ(gameData.currentActivity, "Drawing Tiles 1");
}

TEST_F(TileDrawingTest, TransitionsDrawQuartersAndOverlays) {
  TileSet set = test::MakeTileSet(4);
  TerraformRule rule;
  rule.tiles.fill(-1);
  rule.tiles[1] = 2;       // quarter 0, code 0x11: image 2
  rule.tiles[15 + 0] = 3;  // quarter 1, code 0x01: image 3
  rule.byteL = 1;
  set.tiles[0].terraformRules.push_back(rule);
  gameData.tileSets.push_back(set);
  Map& map = MakeMap(1, 1, 1, {0});
  Put(map, 0, 0, 0, 0, 1, 0);
  TileLayerGroup& ground = map.tileLayerGroups[0];
  struct Case {
    std::uint8_t q0, q1;
    std::size_t baseQuads, overlays;
  };
  const Case cases[] = {
      {0x11, 0x01, 4, 2},  // four base quarters, then overlays on quarters 0 and 1
      {255, 0x01, 0, 1},   // 255 drops the base; quarter 1 keeps its overlay (255's own entry is missing)
      {0, 0, 1, 0},        // no code: one plain quad
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.q0} << " " << int{c.q1});
    ground.terraform.At(0, 0, 0, 0, 0) = c.q0;
    ground.terraform.At(1, 0, 0, 0, 0) = c.q1;
    recorder.Clear();
    DrawTileLayer(Args(0));
    ASSERT_EQ(recorder.quads.size(), c.baseQuads + c.overlays);
    if (c.baseQuads == 4) {
      // Quarter 3 of the base: from the centre to the bottom-right corner.
      const ColoredVertex tl = recorder.quads[3].Vertex<ColoredVertex>(kTopLeft);
      EXPECT_EQ(std::make_tuple(tl.x, tl.y), std::make_tuple(16.0f, 16.0f));
      EXPECT_EQ(std::make_pair(tl.tu, tl.tv), std::make_pair(0.0625f, 0.5f));
    }
    if (c.overlays == 2) {
      const RecordedQuad& overlay0 = recorder.quads[4];
      const RecordedQuad& overlay1 = recorder.quads[5];
      EXPECT_EQ(overlay0.Vertex<ColoredVertex>(kTopLeft).tu, 2.0f / 8);  // image 2, whole rectangle
      EXPECT_EQ(overlay0.Vertex<ColoredVertex>(kBottomRight).tu, 3.0f / 8);
      EXPECT_EQ(overlay1.Vertex<ColoredVertex>(kTopLeft).x, 16.0f);
      EXPECT_EQ(overlay1.Vertex<ColoredVertex>(kTopLeft).tu, 3.0f / 8);
    }
  }
}

TEST_F(TileDrawingTest, ModeTwoBorrowsTheFirstDifferingNeighbour) {
  TileSet set = test::MakeTileSet(3);
  TerraformRule rule;
  rule.tiles.fill(-1);
  rule.byteL = 2;
  set.tiles[0].terraformRules.push_back(rule);
  gameData.tileSets.push_back(set);
  Map& map = MakeMap(3, 3, 1, {0});
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) Put(map, 0, x, y, 0, 1, 0);
  Put(map, 0, 0, 2, 0, 1, 2);  // (x-1, y+1): third in the order
  Put(map, 0, 2, 0, 0, 1, 1);  // (x+1, y-1): later in the order
  map.tileLayerGroups[0].terraform.At(0, 0, 1, 1, 0) = 0x01;
  DrawTileLayer(Args(0));
  // Cells are drawn row 2, 1, 0; the middle cell's quads follow row 2's three.
  ASSERT_EQ(recorder.quads.size(), 3u + 1u + 4u + 1u + 3u);
  const RecordedQuad& borrowed = recorder.quads[4];
  EXPECT_EQ(borrowed.Vertex<ColoredVertex>(kTopLeft).tu, 2.0f / 8);  // tile 2's image
  EXPECT_EQ(borrowed.Vertex<ColoredVertex>(kTopLeft).x, 32.0f);
  // The cell's own set is bound again afterwards: the next cell's image 0 binds anew.
  const RecordedQuad& after = recorder.quads[8];
  EXPECT_EQ(after.Vertex<ColoredVertex>(kTopLeft).tu, 0.0f);
}

TEST_F(TileDrawingTest, ShadowPassDrawsWallsAndObjectShadows) {
  TileSet objects = test::MakeTileSet(2);
  objects.tiles[0].valueB = 20;  // casts a shadow
  objects.tiles[1].valueB = 0;   // casts none
  gameData.tileSets.push_back(objects);
  gameData.tileSets.push_back(test::MakeTileSet(1, true));
  gameData.tileSets.push_back(test::MakeTileSet(1));
  Map& map = MakeMap(3, 3, 2, {0, 1, 2});
  Put(map, 0, 1, 1, 1, 2, 0);  // wall
  Put(map, 0, 2, 2, 0, 3, 0);  // plain ground: no shadow
  DrawTileLayer(Args(0, true));
  ASSERT_EQ(recorder.quads.size(), 1u);
  ColoredVertex tl = recorder.quads[0].Vertex<ColoredVertex>(kTopLeft);
  ColoredVertex br = recorder.quads[0].Vertex<ColoredVertex>(kBottomRight);
  EXPECT_EQ((std::array<float, 6>{tl.x, tl.y, tl.z, br.x, br.y, br.z}),
            (std::array<float, 6>{32, 32 + 16 + 32, 0, 64, 32 + 16 + 32 + 16, 0}));
  EXPECT_EQ(tl.diffuse, kTileShadowColor);
  EXPECT_EQ(std::make_pair(tl.tu, br.tv), std::make_pair(0.0f, 0.0f));
  EXPECT_EQ(gameData.currentActivity, "Drawing Shadow Tiles 0");

  recorder.Clear();
  Put(map, 1, 0, 0, 0, 1, 0);
  Put(map, 1, 2, 0, 0, 1, 1);
  DrawTileLayer(Args(1, true));
  ASSERT_EQ(recorder.quads.size(), 1u);
  tl = recorder.quads[0].Vertex<ColoredVertex>(kTopLeft);
  br = recorder.quads[0].Vertex<ColoredVertex>(kBottomRight);
  EXPECT_EQ((std::array<float, 6>{tl.x, tl.y, tl.z, br.x, br.y, br.z}),
            (std::array<float, 6>{0, 20, 0, 32, 36, 0}));
  // Upside down: the top edge takes the image's bottom.
  EXPECT_EQ(std::make_pair(tl.tu, tl.tv), std::make_pair(0.0f, 1.0f));
  EXPECT_EQ(std::make_pair(br.tu, br.tv), std::make_pair(0.125f, 0.0f));
  EXPECT_EQ(tl.diffuse, kTileShadowColor);
  EXPECT_EQ(gameData.currentActivity, "Drawing Shadow Tiles 1");
}

TEST_F(TileDrawingTest, AnimatedTilesFollowTheClockAndAStillTimeKeepsTheFirstFrame) {
  struct Case {
    std::int32_t frameTime, clock;
    float u;  // left texture edge of the image drawn
  };
  const Case cases[] = {
      {100, 0, 1.0f / 8},     // frame 0 shows tile 1
      {100, 150, 2.0f / 8},   // frame 1 shows tile 2
      {100, 250, 1.0f / 8},   // wrapped
      {0, 150, 1.0f / 8},     // no frame time: first frame
      {-5, 150, 1.0f / 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frameTime << " " << c.clock);
    gameData.Reset();
    TileSet set = test::MakeTileSet(3);
    set.tiles[0].byteList = {1, 2};
    set.tiles[0].valueE = c.frameTime;
    gameData.tileSets.push_back(set);
    Map& map = MakeMap(1, 1, 1, {0});
    map.animClock = c.clock;
    Put(map, 0, 0, 0, 0, 1, 0);
    recorder.Clear();
    DrawTileLayer(Args(0));
    ASSERT_EQ(recorder.quads.size(), 1u);
    EXPECT_EQ(recorder.quads[0].Vertex<ColoredVertex>(kTopLeft).tu, c.u);
  }
}

TEST_F(TileDrawingTest, LitGroundUsesTheLitBatchAndCellLights) {
  renderHooks.LitBatchOn = [] { return true; };
  gameData.tileSets.push_back(test::MakeTileSet(1));
  gameData.tileSets.push_back(test::MakeTileSet(1, true));
  Map& map = MakeMap(2, 1, 1, {0, 1});
  map.cellLights.Make(2, 1, 1);
  Light light;
  light.radius = 64;
  light.x = 10;
  light.red = 255;
  light.currentIntensity = 1;
  map.lights.push_back(light);
  map.cellLights.At(0, 0, 0) = {0, -1, -1, -1};
  Put(map, 0, 0, 0, 0, 1, 0);
  Put(map, 0, 1, 0, 0, 2, 0);
  DrawTileLayer(Args(0));
  ASSERT_EQ(recorder.quads.size(), 2u);
  EXPECT_EQ(recorder.quads[0].stride, sizeof(LitVertex));
  EXPECT_EQ(recorder.quads[1].stride, sizeof(ColoredVertex));  // the wall keeps its colours
  const auto constants = recorder.Calls(DeviceCall::kVertexConstant, 20);
  ASSERT_FALSE(constants.empty());
  EXPECT_EQ(constants.front().constants[0], 10.0f);
  // Lighting off leaves lit mode.
  recorder.Clear();
  renderHooks.LightingOff = [] { return true; };
  DrawTileLayer(Args(0));
  EXPECT_EQ(recorder.quads[0].stride, sizeof(ColoredVertex));
}

TEST_F(TileDrawingTest, ModelTilesSetTheirWorldMatrix) {
  renderHooks.ModelScale = [] { return 2.0f; };
  TileSet set = test::MakeTileSet(1);
  set.tiles[0].flagG = 2;
  gameData.tileSets.push_back(set);
  Map& map = MakeMap(2, 2, 1, {0});
  Put(map, 1, 1, 1, 0, 1, 0);
  struct Case {
    int is3D;
    bool lit;
  };
  for (const Case c : {Case{0, false}, Case{1, false}, Case{0, true}}) {
    SCOPED_TRACE(testing::Message() << c.is3D << " " << c.lit);
    renderHooks.LitBatchOn = [lit = c.lit] { return lit; };
    recorder.Clear();
    TileLayerArgs args = Args(1);
    args.is3D = c.is3D;
    DrawTileLayer(args);
    EXPECT_TRUE(recorder.quads.empty());  // the model was refused: nothing drawn
    // W = squash x translation(48, 48, 0) x scale 2.
    const float squash = c.is3D == 0 ? 0.75f : 1.0f;
    gfx::Matrix world;
    if (c.lit) {
      const auto rows = recorder.Calls(DeviceCall::kVertexConstant, 8);
      ASSERT_EQ(rows.size(), 1u);
      std::copy(rows[0].constants.begin(), rows[0].constants.end(), &world.m[0][0]);
      const auto transposed = recorder.Calls(DeviceCall::kVertexConstant, 0);
      ASSERT_EQ(transposed.size(), 1u);
      EXPECT_EQ(transposed[0].constants[1], world.m[1][0]);
    } else {
      const auto transforms = recorder.Calls(DeviceCall::kTransform, gfx::kTransformWorld);
      ASSERT_GE(transforms.size(), 2u);
      world = transforms[transforms.size() - 2].matrix;  // the last one restores the view's
    }
    EXPECT_EQ(world.m[0][0], 2.0f);
    EXPECT_EQ(world.m[1][1], 2.0f * squash);
    EXPECT_EQ(world.m[2][2], 2.0f * squash);
    EXPECT_EQ(world.m[3][0], 96.0f);
    EXPECT_EQ(world.m[3][1], 96.0f);
  }
}

TEST(QuarterCorners, SplitAQuadAroundTheAntiDiagonalMean) {
  struct Case {
    int quarter;
    std::array<float, 4> want;
  };
  // a = 0, b = 4, c = 8, d = 100: centre (b + c) / 2 = 6, not the mean of all four.
  const Case cases[] = {{0, {0, 2, 4, 6}}, {1, {2, 4, 6, 52}}, {2, {4, 6, 8, 54}}, {3, {6, 52, 54, 100}},
                        {4, {-1, -1, -1, -1}}, {-1, {-1, -1, -1, -1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quarter);
    std::array<float, 4> out{-1, -1, -1, -1};
    QuarterCorners(c.quarter, 0, 4, 8, 100, out[0], out[1], out[2], out[3]);
    EXPECT_EQ(out, c.want);
    std::array<std::uint32_t, 4> colors{1, 1, 1, 1};
    QuarterColors(c.quarter, 0xFF000000, 0xFF000040, 0xFF000080, 0xFF0000FF, colors[0], colors[1], colors[2],
                  colors[3]);
    if (c.quarter == 3) {
      EXPECT_EQ(colors[0], ColorAverage(0xFF000040, 0xFF000080));
      EXPECT_EQ(colors[3], 0xFF0000FFu);
    }
    if (c.quarter > 3 || c.quarter < 0) {
      EXPECT_EQ(colors, (std::array<std::uint32_t, 4>{1, 1, 1, 1}));
    }
  }
}

}  // namespace
}  // namespace kiv
