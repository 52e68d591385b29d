#include "world/tile_collision.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/log.h"
#include "core/math_util.h"
#include "core/tile_random.h"
#include "data/game_data.h"
#include "data/sector_grid.h"
#include "mathkiv/collision.h"
#include "mathkiv/collision_grid.h"
#include "world/actor_shapes.h"
#include "world/world_settings.h"

namespace kiv {

namespace {

constexpr float kQuarterTurn = 1.5707964f;
constexpr std::int32_t kSector = 128;
constexpr std::int32_t kGroundOnlyReach = 100000;

const TileSet* TileSetAt(const Map& m, std::int32_t group, std::int32_t x, std::int32_t y, std::int32_t d) {
  const TileLayerGroup& g = m.tileLayerGroups[static_cast<std::size_t>(group)];
  if (g.slotGrid.cells.empty() || x >= g.slotGrid.columns || y >= g.slotGrid.rows || d >= g.slotGrid.layers)
    return nullptr;
  const std::uint8_t slot = g.slotGrid.At(x, y, d);
  if (slot == 0 || slot > g.slotTileSets.size()) return nullptr;
  const std::int32_t set = g.slotTileSets[slot - 1u];
  if (set < 0 || static_cast<std::size_t>(set) >= gameData.tileSets.size()) return nullptr;
  return &gameData.tileSets[static_cast<std::size_t>(set)];
}

std::uint8_t TileByteAt(const Map& m, std::int32_t group, std::int32_t x, std::int32_t y, std::int32_t d) {
  const TileLayerGroup& g = m.tileLayerGroups[static_cast<std::size_t>(group)];
  if (g.tileGrid.cells.empty() || x >= g.tileGrid.columns || y >= g.tileGrid.rows || d >= g.tileGrid.layers)
    return 0;
  return g.tileGrid.At(x, y, d);
}

const Tile* TileOf(const TileSet& set, std::int32_t number) {
  if (number < 0 || static_cast<std::size_t>(number) >= set.tiles.size()) return nullptr;
  return &set.tiles[static_cast<std::size_t>(number)];
}

bool IsWallSet(const TileSet* set) { return set != nullptr && (set->flags & 1) != 0; }

CollisionGridView StaticGrid(Map& m) {
  return CollisionGridView{m.staticCollision.cells, m.staticCollision.columns, m.staticCollision.rows,
                           m.staticCollision.layers};
}

Box Union(const Box& a, const Box& b) {
  return Box{std::min(a.left, b.left),   std::min(a.top, b.top),       std::max(a.right, b.right),
             std::max(a.bottom, b.bottom), std::min(a.front, b.front), std::max(a.back, b.back)};
}

// Widens the grid's reach to cover how far the entry's box lies outside the
// sectors it is listed in (it only grows until the whole map is rebuilt).
void NoteEntryReach(SectorGrid& grid, const TileCollisionEntry& e) {
  const std::int64_t k = kSector;
  const std::int64_t past = std::max({static_cast<std::int64_t>(e.sectorLeft) * k - e.box.left,
                                      static_cast<std::int64_t>(e.sectorTop) * k - e.box.top,
                                      static_cast<std::int64_t>(e.sectorFront) * k - e.box.front,
                                      e.box.right - (static_cast<std::int64_t>(e.sectorRight) + 1) * k,
                                      e.box.bottom - (static_cast<std::int64_t>(e.sectorBottom) + 1) * k,
                                      e.box.back - (static_cast<std::int64_t>(e.sectorBack) + 1) * k,
                                      std::int64_t{0}});
  grid.tileEntryReach = static_cast<std::int32_t>(std::max<std::int64_t>(grid.tileEntryReach,
                                                                         std::min<std::int64_t>(past, INT32_MAX / 4)));
}

// Enters an entry into the pool and into the sectors of the given range that exist.
void AddEntry(Map& m, TileCollisionEntry entry, std::int32_t sx0, std::int32_t sx1, std::int32_t sy0,
              std::int32_t sy1, std::int32_t sz0, std::int32_t sz1) {
  entry.inUse = true;
  entry.sectorLeft = std::max(sx0, 0);
  entry.sectorRight = std::min(sx1, m.sectorGrid.columns - 1);
  entry.sectorTop = std::max(sy0, 0);
  entry.sectorBottom = std::min(sy1, m.sectorGrid.rows - 1);
  entry.sectorFront = std::max(sz0, 0);
  entry.sectorBack = std::min(sz1, m.sectorGrid.levels - 1);
  std::int32_t index;
  if (!m.freeTileEntries.empty()) {
    index = m.freeTileEntries.back();
    m.freeTileEntries.pop_back();
    m.tileCollisionEntries[static_cast<std::size_t>(index)] = std::move(entry);
  } else {
    index = static_cast<std::int32_t>(m.tileCollisionEntries.size());
    m.tileCollisionEntries.push_back(std::move(entry));
  }
  const TileCollisionEntry& e = m.tileCollisionEntries[static_cast<std::size_t>(index)];
  NoteEntryReach(m.sectorGrid, e);
  for (std::int32_t sz = e.sectorFront; sz <= e.sectorBack; ++sz)
    for (std::int32_t sy = e.sectorTop; sy <= e.sectorBottom; ++sy)
      for (std::int32_t sx = e.sectorLeft; sx <= e.sectorRight; ++sx)
        m.sectorGrid.At(sx, sy, sz).tileEntries.push_back(index);
}

// A box entry at a tile position, entered into the sector of that position.
void AddBoxEntry(Map& m, const Box& box, std::int32_t x, std::int32_t y, std::int32_t z, bool groundOnly,
                 std::int32_t cx, std::int32_t cy, std::int32_t cd) {
  TileCollisionEntry entry;
  entry.shape = BoxShapeOf(box);
  entry.x = x;
  entry.y = y;
  entry.z = z;
  entry.groundOnly = groundOnly ? 1 : 0;
  entry.cellX = cx;
  entry.cellY = cy;
  entry.cellLayer = cd;
  GetCollisionRect(entry.box, entry.shape, TileEntryPlacement(entry), kRectPlaced);
  AddEntry(m, std::move(entry), x / kSector, x / kSector, y / kSector, y / kSector, z / kSector, z / kSector);
}

struct CellBuild {
  Map& m;
  std::int32_t mapIndex;
  std::int32_t pointsPerTile;
  bool clamped = false;  // a ground height above 255 was stored as 255
};

void BuildGroundHeights(CellBuild& b, std::int32_t x, std::int32_t y) {
  Map& m = b.m;
  const std::int32_t n = b.pointsPerTile;
  bool groundOnlyAdded = false;
  for (std::int32_t j = 0; j < n; ++j)
    for (std::int32_t i = 0; i < n; ++i) {
      float lowest = kNoHeight;
      for (int a = 0; a <= 1; ++a)
        for (int c = 0; c <= 1; ++c) {
          const float fx = static_cast<float>(i + a) / static_cast<float>(n);
          const float fy = static_cast<float>(j + c) / static_cast<float>(n);
          lowest = std::min(lowest, BilinearHeight(m, x, y, fx, fy));
        }
      const std::int32_t px = x * n + i;
      const std::int32_t py = y * n + j;
      std::uint8_t value = 0;
      if (lowest > 0.0f) {
        if (lowest >= 256.0f) b.clamped = true;
        value = static_cast<std::uint8_t>(std::min(lowest, 255.0f));
      } else if (!groundOnlyAdded) {
        const TileSet* set = TileSetAt(m, 0, x, y, 0);
        const Tile* tile = set != nullptr ? TileOf(*set, TileByteAt(m, 0, x, y, 0) & 0x3F) : nullptr;
        if (tile != nullptr && tile->valueD > 0.0f) {
          // One entry stands for every low point of the tile.
          AddBoxEntry(m, Box{0, 0, 32, 32, -kGroundOnlyReach, kGroundOnlyReach}, 32 * x, 32 * y, 0, true, x, y, 0);
          groundOnlyAdded = true;
        }
      }
      if (px < m.staticCollision.columns && py < m.staticCollision.rows && m.staticCollision.layers > 0)
        m.staticCollision.At(px, py, 0) = value;
    }
}

void BuildGroundTile(CellBuild& b, std::int32_t x, std::int32_t y, std::int32_t d) {
  Map& m = b.m;
  const TileSet* set = TileSetAt(m, 0, x, y, d);
  if (set == nullptr) return;
  if (IsWallSet(set)) {
    const std::int32_t tall = TallWalls() ? 7 : 0;
    for (std::int32_t k = 0; k <= tall && d + k <= m.layerCount; ++k)
      AddBoxEntry(m, Box{0, 0, 32, 32, 0, 32}, 32 * x, 32 * y, 32 * (d + k), false, x, y, d);
    return;
  }
  if (m.FlatGround() && d == 0) return;
  if (d > 0 && IsWallSet(TileSetAt(m, 0, x, y, d - 1))) return;
  AddBoxEntry(m, Box{0, 0, 32, 32, 0, 0}, 32 * x, 32 * y, 32 * d, false, x, y, d);
}

void BuildObjectTile(CellBuild& b, std::int32_t x, std::int32_t y, std::int32_t d) {
  Map& m = b.m;
  const TileSet* set = TileSetAt(m, 1, x, y, d);
  if (set == nullptr) return;
  const std::uint8_t tileByte = TileByteAt(m, 1, x, y, d);
  const Tile* tile = TileOf(*set, set->cellFormat != 0 ? (tileByte & 0x3F) : tileByte);
  if (tile == nullptr || !ShapeHasParts(tile->collision)) return;
  auto r = [&](std::int32_t salt) { return static_cast<double>(TileRandom(b.mapIndex, x, y, d, salt)); };
  std::int32_t px = 32 * x, py = 32 * y, pz = 32 * d;
  if (tile->scatterX != 0 || tile->scatterY != 0 || tile->scatterZ != 0) {
    px = RoundToLong((0.5 - 2.0 * r(1)) * tile->scatterX + 32.0 * x);
    py = RoundToLong((0.5 - 2.0 * r(2)) * tile->scatterY + 32.0 * y);
    pz = RoundToLong((0.5 - 2.0 * r(3)) * tile->scatterZ + 32.0 * d);
  }
  bool flipX = tile->randomFlipA != 0 && RoundToLong(r(5)) != 0;
  bool flipY = tile->randomFlipB != 0 && RoundToLong(r(6)) != 0;
  std::int32_t turns = tile->randomTurn != 0 ? RoundToLong(3.0 * r(7)) : 0;
  if (set->cellFormat == 1) {
    flipX ^= (tileByte & 0x40) != 0;
    flipY ^= (tileByte & 0x80) != 0;
  } else if (set->cellFormat == 2) {
    turns = (tileByte / 64 + turns) % 4;
  }
  TileCollisionEntry entry;
  entry.shape = tile->collision;
  entry.shape.transformed = 1;
  entry.shape.flipX = flipX ? 1 : 0;
  entry.shape.flipY = flipY ? 1 : 0;
  // Shapes flip about their origin: one tile further on, the flipped shape covers its tile again.
  entry.x = px + (flipX ? 32 : 0);
  entry.y = py + (flipY ? 32 : 0);
  entry.z = pz;
  entry.quarterTurns = turns;
  entry.cellX = x;
  entry.cellY = y;
  entry.cellLayer = d;
  const ShapePlacement placement{static_cast<float>(entry.x), static_cast<float>(entry.y),
                                 static_cast<float>(entry.z), 0.0f, 0.0f,
                                 static_cast<float>(turns) * kQuarterTurn};
  GetCollisionRect(entry.box, entry.shape, placement, kRectTileEntry);
  ResetCollision(entry.shape);
  const Box box = entry.box;
  AddEntry(m, std::move(entry), box.left / kSector, box.right / kSector, box.top / kSector, box.bottom / kSector,
           box.front / kSector, box.back / kSector);
}

void BuildCell(CellBuild& b, std::int32_t x, std::int32_t y, std::int32_t d) {
  if (d == 0) BuildGroundHeights(b, x, y);
  BuildGroundTile(b, x, y, d);
  BuildObjectTile(b, x, y, d);
}

void PaintEntry(Map& m, const TileCollisionEntry& entry) {
  if (!entry.inUse || entry.groundOnly != 0) return;
  PaintArrayCollision(StaticGrid(m), entry.shape, TileEntryPlacement(entry), 1);
}

void PaintMapShapes(Map& m) {
  for (const CollisionShape& shape : m.boundaries) PaintArrayCollision(StaticGrid(m), shape, ShapePlacement{}, 1);
}

void LogClamped(const CellBuild& b) {
  if (b.clamped)
    LogWriteLine("Map " + std::to_string(b.mapIndex) + ": ground higher than 255 pixels is kept at 255.");
}

void RemoveEntry(Map& m, std::int32_t index) {
  TileCollisionEntry& e = m.tileCollisionEntries[static_cast<std::size_t>(index)];
  for (std::int32_t sz = e.sectorFront; sz <= e.sectorBack; ++sz)
    for (std::int32_t sy = e.sectorTop; sy <= e.sectorBottom; ++sy)
      for (std::int32_t sx = e.sectorLeft; sx <= e.sectorRight; ++sx) {
        auto& list = m.sectorGrid.At(sx, sy, sz).tileEntries;
        for (std::size_t k = list.size(); k-- > 0;)
          if (list[k] == index) list.erase(list.begin() + static_cast<std::ptrdiff_t>(k));
      }
  e = TileCollisionEntry();
  m.freeTileEntries.push_back(index);
}

void BuildWholeMap(std::int32_t map) {
  Map& m = gameData.maps[map];
  for (SectorCell& cell : m.sectorGrid.cells) cell.tileEntries.clear();
  m.sectorGrid.tileEntryReach = 0;
  m.tileCollisionEntries.clear();
  m.freeTileEntries.clear();
  std::fill(m.staticCollision.cells.begin(), m.staticCollision.cells.end(), std::uint8_t{0});
  CellBuild b{m, map, 32 / PathCellSize()};
  for (std::int32_t d = 0; d <= m.layerCount; ++d)
    for (std::int32_t y = 0; y <= m.height; ++y)
      for (std::int32_t x = 0; x <= m.width; ++x) BuildCell(b, x, y, d);
  for (const TileCollisionEntry& entry : m.tileCollisionEntries) PaintEntry(m, entry);
  PaintMapShapes(m);
  LogClamped(b);
}

// Rebuilds one cell: its old entries leave every sector they were in, and the
// static grid is recomputed over the area of its old and new entries.
void BuildOneCell(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t d) {
  Map& m = gameData.maps[map];
  if (x > m.width || y > m.height || d > m.layerCount) return;
  Box region{32 * x, 32 * y, 32 * x + 32, 32 * y + 32, 32 * d, 32 * d + 32};
  for (std::size_t k = 0; k < m.tileCollisionEntries.size(); ++k) {
    const TileCollisionEntry& e = m.tileCollisionEntries[k];
    if (!e.inUse || e.cellX != x || e.cellY != y || e.cellLayer != d) continue;
    region = Union(region, e.box);
    RemoveEntry(m, static_cast<std::int32_t>(k));
  }
  const std::size_t before = m.tileCollisionEntries.size();
  std::vector<bool> wasFree(before, false);
  for (std::int32_t f : m.freeTileEntries) wasFree[static_cast<std::size_t>(f)] = true;
  CellBuild b{m, map, 32 / PathCellSize()};
  BuildCell(b, x, y, d);
  for (std::size_t k = 0; k < m.tileCollisionEntries.size(); ++k) {
    const TileCollisionEntry& e = m.tileCollisionEntries[k];
    const bool added = k >= before || (wasFree[k] && e.inUse);
    if (added) region = Union(region, e.box);
  }
  // Clear the solids of the region's grid points, then paint back every entry
  // and map shape that reaches them.
  const std::int32_t cell = PathCellSize();
  ByteGrid3& grid = m.staticCollision;
  auto floorDiv = [](std::int32_t a, std::int32_t q) { return a >= 0 ? a / q : -((-a + q - 1) / q); };
  const std::int32_t px0 = std::max(floorDiv(region.left, cell), 0);
  const std::int32_t px1 = std::min(floorDiv(region.right - 1, cell), grid.columns - 1);
  const std::int32_t py0 = std::max(floorDiv(region.top, cell), 0);
  const std::int32_t py1 = std::min(floorDiv(region.bottom - 1, cell), grid.rows - 1);
  for (std::int32_t layer = 1; layer < grid.layers; ++layer)
    for (std::int32_t py = py0; py <= py1; ++py)
      for (std::int32_t px = px0; px <= px1; ++px) grid.At(px, py, layer) = 0;
  for (const TileCollisionEntry& e : m.tileCollisionEntries) {
    if (!e.inUse || e.groundOnly != 0) continue;
    if (e.box.right < region.left || e.box.left > region.right || e.box.bottom < region.top ||
        e.box.top > region.bottom)
      continue;
    PaintEntry(m, e);
  }
  PaintMapShapes(m);
  LogClamped(b);
}

}  // namespace

bool ShapeHasParts(const CollisionShape& shape) {
  return !shape.rectangles.empty() || !shape.polygons.empty() || !shape.extras.empty();
}

ShapePlacement TileEntryPlacement(const TileCollisionEntry& entry) {
  ShapePlacement p{static_cast<float>(entry.x), static_cast<float>(entry.y), static_cast<float>(entry.z)};
  if (entry.quarterTurns % 4 == 0) return p;
  const float theta = static_cast<float>(entry.quarterTurns) * kQuarterTurn;
  const double c = std::cos(static_cast<double>(theta));
  const double s = std::sin(static_cast<double>(theta));
  // Turning about the tile centre is turning about the origin and moving by
  // pivot - R * pivot; the pivot flips with the shape.
  const double pivotX = entry.shape.flipX ? -16.0 : 16.0;
  const double pivotY = entry.shape.flipY ? -16.0 : 16.0;
  p.x = static_cast<float>(entry.x + pivotX - (c * pivotX - s * pivotY));
  p.y = static_cast<float>(entry.y + pivotY - (s * pivotX + c * pivotY));
  p.rotationZ = theta;
  return p;
}

float BilinearHeight(const Map& m, std::int32_t cx, std::int32_t cy, float fx, float fy) {
  const std::int32_t columns = m.width + 2;
  auto h = [&](std::int32_t i, std::int32_t j) -> float {
    if (i < 0 || j < 0 || i >= columns || j >= m.height + 2) return 0.0f;
    const std::size_t k = static_cast<std::size_t>(j) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(i);
    return k < m.heightGrid.size() ? m.heightGrid[k] : 0.0f;
  };
  return (1 - fx) * (1 - fy) * h(cx, cy) + fx * fy * h(cx + 1, cy + 1) + fx * (1 - fy) * h(cx + 1, cy) +
         (1 - fx) * fy * h(cx, cy + 1);
}

bool ValidSector(const Map& m, std::int32_t sx, std::int32_t sy, std::int32_t sz) {
  return sx >= 0 && sy >= 0 && sz >= 0 && sx < m.sectorGrid.columns && sy < m.sectorGrid.rows &&
         sz < m.sectorGrid.levels;
}

void UpdateTileCollision(std::int32_t map, std::int32_t tileX, std::int32_t tileY, std::int32_t layer) {
  Map& m = gameData.maps[map];
  if (m.width < 0 || m.height < 0 || m.layerCount < 0 || PathCellSize() < 1) return;
  BuildSectorGrid(m);
  if (tileX < 0 || tileY < 0 || layer < 0)
    BuildWholeMap(map);
  else
    BuildOneCell(map, tileX, tileY, layer);
}

}  // namespace kiv
