#include <gtest/gtest.h>

#include <algorithm>

#include "core/math_util.h"
#include "core/tile_random.h"
#include "mathkiv/collision.h"
#include "mathkiv/path_search.h"
#include "state/project_settings_block.h"
#include "support/world_builder.h"
#include "world/tile_collision.h"

namespace kiv {
namespace {

std::vector<const TileCollisionEntry*> EntriesOf(const Map& m, std::int32_t x, std::int32_t y, std::int32_t d) {
  std::vector<const TileCollisionEntry*> out;
  for (const TileCollisionEntry& e : m.tileCollisionEntries)
    if (e.inUse && e.cellX == x && e.cellY == y && e.cellLayer == d) out.push_back(&e);
  return out;
}

std::size_t SectorEntryCount(const Map& m) {
  std::size_t n = 0;
  for (const SectorCell& c : m.sectorGrid.cells) n += c.tileEntries.size();
  return n;
}

TEST(TileCollision, GroundHeightsAreTheLowestCornerOfEachPoint) {
  test::WorldBuilder w(3, 3, 0, 16);  // two points per tile side
  w.SetCornerHeight(1, 1, 40.0f);
  w.SetCornerHeight(2, 1, 40.0f);
  w.SetCornerHeight(1, 2, 40.0f);
  w.SetCornerHeight(2, 2, 40.0f);
  UpdateTileCollision(w.map(), -1, -1, -1);
  const ByteGrid3& g = w.M().staticCollision;
  EXPECT_EQ(g.At(2, 2, 0), 40);  // tile (1, 1): all its corners at 40
  EXPECT_EQ(g.At(3, 3, 0), 40);
  // Tile (0, 0): only its far corner is raised; the point nearest it samples 0 at its near corner.
  EXPECT_EQ(g.At(1, 1, 0), 10);
  EXPECT_EQ(g.At(0, 0, 0), 0);
  // Tile (2, 2): only its near corner is raised.
  EXPECT_EQ(g.At(4, 4, 0), 10);
  EXPECT_EQ(g.At(5, 5, 0), 0);
}

TEST(TileCollision, GroundHigherThan255IsKeptAt255) {
  test::WorldBuilder w(1, 1, 0, 32);
  for (int cx = 0; cx <= 2; ++cx)
    for (int cy = 0; cy <= 2; ++cy) w.SetCornerHeight(cx, cy, 400.0f);
  UpdateTileCollision(w.map(), -1, -1, -1);
  EXPECT_EQ(w.M().staticCollision.At(0, 0, 0), 255);
}

TEST(TileCollision, LowGroundWithGroundBlockGivesAGroundOnlyEntry) {
  test::WorldBuilder w(3, 3, 0);
  const std::int32_t blocking = w.AddTileSet(false, 1.0f);
  const std::int32_t plain = w.AddTileSet(false, 0.0f);
  w.SetTile(0, 1, 1, 0, blocking);
  w.SetTile(0, 2, 1, 0, plain);
  UpdateTileCollision(w.map(), -1, -1, -1);
  auto entries = EntriesOf(w.M(), 1, 1, 0);
  ASSERT_EQ(entries.size(), 2u);  // the ground-only block and the floor plate
  const auto groundOnly = std::count_if(entries.begin(), entries.end(), [](auto* e) { return e->groundOnly != 0; });
  EXPECT_EQ(groundOnly, 1);
  EXPECT_EQ(EntriesOf(w.M(), 2, 1, 0).size(), 1u);
}

TEST(TileCollision, WallColumnsFollowTallWalls) {
  struct Case {
    bool tall;
    std::int32_t lastLayer;
    std::int32_t wallLayer;
    std::vector<std::int32_t> layers;
  };
  const Case cases[] = {
      {true, 8, 5, {5, 6, 7, 8}},
      {false, 8, 5, {5}},
      {true, 12, 2, {2, 3, 4, 5, 6, 7, 8, 9}},
  };
  for (const Case& c : cases) {
    test::WorldBuilder w(1, 1, c.lastLayer);
    storedProjectSettings.flags[5] = c.tall ? -1 : 0;
    const std::int32_t wall = w.AddTileSet(true);
    w.SetTile(0, 0, 0, c.wallLayer, wall);
    UpdateTileCollision(w.map(), -1, -1, -1);
    std::vector<std::int32_t> layers;
    for (const TileCollisionEntry* e : EntriesOf(w.M(), 0, 0, c.wallLayer)) layers.push_back(e->z / 32);
    std::sort(layers.begin(), layers.end());
    EXPECT_EQ(layers, c.layers) << c.tall << " " << c.lastLayer;
  }
}

TEST(TileCollision, FloorPlatesExceptOnFlatGroundAndAboveWalls) {
  test::WorldBuilder w(2, 0, 2);
  const std::int32_t floor = w.AddTileSet(false);
  const std::int32_t wall = w.AddTileSet(true);
  w.SetTile(0, 0, 0, 0, floor);
  w.SetTile(0, 1, 0, 0, wall);
  w.SetTile(0, 1, 0, 1, floor);  // above a wall: no plate
  w.SetTile(0, 2, 0, 1, floor);
  UpdateTileCollision(w.map(), -1, -1, -1);
  EXPECT_EQ(EntriesOf(w.M(), 0, 0, 0).size(), 1u);
  EXPECT_EQ(EntriesOf(w.M(), 1, 0, 1).size(), 0u);
  ASSERT_EQ(EntriesOf(w.M(), 2, 0, 1).size(), 1u);
  EXPECT_EQ(EntriesOf(w.M(), 2, 0, 1)[0]->box, (Box{64, 0, 96, 32, 32, 32}));
  w.M().flags[2] = 1;  // flat ground: no plates on layer 0
  UpdateTileCollision(w.map(), -1, -1, -1);
  EXPECT_EQ(EntriesOf(w.M(), 0, 0, 0).size(), 0u);
  EXPECT_EQ(EntriesOf(w.M(), 2, 0, 1).size(), 1u);
}

TEST(TileCollision, FlippedObjectTileCoversItsOwnTileOneTileFurtherOn) {
  test::WorldBuilder w(3, 3, 0);
  // A shape in the left half of the tile: flipped, it lies in the right half.
  const std::int32_t set = w.AddTileSet(false, 0.0f, test::MakeBoxShape(Box{0, 0, 16, 32, 0, 32}), 1);
  w.SetTile(1, 1, 1, 0, set, 0x00);
  w.SetTile(1, 2, 1, 0, set, 0x40);  // bit 6 flips x
  UpdateTileCollision(w.map(), -1, -1, -1);
  const auto plain = EntriesOf(w.M(), 1, 1, 0);
  const auto flipped = EntriesOf(w.M(), 2, 1, 0);
  ASSERT_EQ(plain.size(), 1u);
  ASSERT_EQ(flipped.size(), 1u);
  EXPECT_EQ(plain[0]->x, 32);
  EXPECT_EQ(flipped[0]->x, 96);
  EXPECT_EQ(flipped[0]->box, (Box{80, 32, 96, 64, 0, 32}));
  EXPECT_EQ(w.M().staticCollision.At(5, 2, 1), 1);  // right half of tile (2, 1), above ground
  EXPECT_EQ(w.M().staticCollision.At(4, 2, 1), 0);
}

TEST(TileCollision, ObjectJitterFlipAndTurnMatchTileDrawing) {
  test::WorldBuilder w(7, 7, 0);
  const std::int32_t set = w.AddTileSet(false, 0.0f, test::MakeBoxShape(Box{0, 0, 8, 8, 0, 8}));
  Tile& tile = w.TileOfSet(set);
  tile.scatterX = 10;
  tile.scatterY = 6;
  tile.randomFlipA = 1;
  tile.randomFlipB = 1;
  tile.randomTurn = 1;
  for (int x = 0; x <= 7; ++x) w.SetTile(1, x, 3, 0, set);
  UpdateTileCollision(w.map(), -1, -1, -1);
  for (int x = 0; x <= 7; ++x) {
    const auto entries = EntriesOf(w.M(), x, 3, 0);
    ASSERT_EQ(entries.size(), 1u);
    const TileCollisionEntry& e = *entries[0];
    auto r = [&](int salt) { return static_cast<double>(TileRandom(w.map(), x, 3, 0, salt)); };
    const bool flipX = RoundToLong(r(5)) != 0, flipY = RoundToLong(r(6)) != 0;
    EXPECT_EQ(e.x - (flipX ? 32 : 0), RoundToLong((0.5 - 2.0 * r(1)) * 10 + 32.0 * x));
    EXPECT_EQ(e.y - (flipY ? 32 : 0), RoundToLong((0.5 - 2.0 * r(2)) * 6 + 96.0));
    EXPECT_EQ(e.shape.flipX != 0, flipX);
    EXPECT_EQ(e.shape.flipY != 0, flipY);
    EXPECT_EQ(e.quarterTurns, RoundToLong(3.0 * r(7)));
    // The entry is tested turned, as its box was taken.
    Box placed;
    GetCollisionRect(placed, e.shape, TileEntryPlacement(e), kRectPlaced);
    EXPECT_EQ(placed, e.box) << x;
  }
}

TEST(TileCollision, RebuildingOneCellTwiceKeepsTheSameEntriesAndTheNeighbours) {
  test::WorldBuilder w(5, 5, 1);
  const std::int32_t wall = w.AddTileSet(true);
  const std::int32_t object = w.AddTileSet(false, 0.0f, test::MakeBoxShape(Box{4, 4, 28, 28, 0, 16}));
  w.SetTile(0, 2, 2, 0, wall);
  w.SetTile(0, 3, 2, 0, wall);
  w.SetTile(1, 2, 2, 1, object);
  UpdateTileCollision(w.map(), -1, -1, -1);
  const auto grid = w.M().staticCollision.cells;
  const std::size_t sectors = SectorEntryCount(w.M());
  for (int k = 0; k < 2; ++k) {
    UpdateTileCollision(w.map(), 2, 2, 0);
    UpdateTileCollision(w.map(), 2, 2, 1);
  }
  EXPECT_EQ(SectorEntryCount(w.M()), sectors);
  EXPECT_EQ(EntriesOf(w.M(), 2, 2, 0).size(), 1u);
  EXPECT_EQ(EntriesOf(w.M(), 3, 2, 0).size(), 1u);
  EXPECT_EQ(EntriesOf(w.M(), 2, 2, 1).size(), 1u);
  EXPECT_EQ(w.M().staticCollision.cells, grid);
}

TEST(TileCollision, RemovedObjectLeavesNoStaleCollision) {
  test::WorldBuilder w(9, 9, 0);
  // A shape reaching two sectors beyond its own tile.
  const std::int32_t big = w.AddTileSet(false, 0.0f, test::MakeBoxShape(Box{0, 0, 300, 32, 0, 16}));
  w.SetTile(1, 0, 0, 0, big);
  UpdateTileCollision(w.map(), -1, -1, -1);
  EXPECT_EQ(w.M().staticCollision.At(17, 0, 1), 1);  // pixel 280 of a 16-px grid
  w.M().tileLayerGroups[1].slotGrid.At(0, 0, 0) = 0;
  UpdateTileCollision(w.map(), 0, 0, 0);
  EXPECT_EQ(SectorEntryCount(w.M()), 0u);
  EXPECT_EQ(w.M().staticCollision.At(17, 0, 1), 0);
}

TEST(TileCollision, WallOnAOneLayerMapStopsPathFinding) {
  test::WorldBuilder w(4, 0, 0, 32);
  const std::int32_t wall = w.AddTileSet(true);
  w.SetTile(0, 2, 0, 0, wall);
  UpdateTileCollision(w.map(), -1, -1, -1);
  Map& m = w.M();
  EXPECT_EQ(m.staticCollision.At(2, 0, 1), 1);
  const ConstCollisionGridView grid(m.staticCollision.cells, m.staticCollision.columns, m.staticCollision.rows,
                                    m.staticCollision.layers);
  const auto route = AIFindPath(grid, 16, 16, 0, 144, 16, 0, Box{-8, -8, 8, 8, 0, 24}, 0, 0);
  EXPECT_TRUE(route.empty());
}

TEST(TileCollision, ShapeHasParts) {
  CollisionShape shape;
  EXPECT_FALSE(ShapeHasParts(shape));
  shape.extras.emplace_back();
  EXPECT_TRUE(ShapeHasParts(shape));
}

}  // namespace
}  // namespace kiv
