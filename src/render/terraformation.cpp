#include "render/terraformation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <set>
#include <string>
#include <vector>

#include "core/log.h"
#include "data/game_data.h"

namespace kiv {

namespace {

// Unit steps of the eight directions: Left, LeftUp, Up, RightUp, Right,
// RightDown, Down, LeftDown.
constexpr std::array<std::int32_t, 8> kStepX{-1, -1, 0, 1, 1, 1, 0, -1};
constexpr std::array<std::int32_t, 8> kStepY{0, -1, -1, -1, 0, 1, 1, 1};

// The four corners in the order visited (LeftUp, RightUp, RightDown,
// LeftDown) and the quarter each one fills.
constexpr std::array<std::int32_t, 4> kCorners{1, 3, 5, 7};
constexpr std::array<std::int32_t, 4> kCornerQuarter{0, 1, 3, 2};

constexpr std::uint8_t kHiddenFace = 255;
// A rule's position plus 1 fills the low four bits of a piece byte.
constexpr std::size_t kStorableRules = 15;

// Tile sets whose over-long rule lists were reported during this pass.
std::set<std::int32_t> reportedSets;

// A ground cell as terraformation sees it.
struct GroundCell {
  bool inside = false;
  bool empty = true;
  std::int32_t tileSet = -1;  // -1 for an empty cell
  std::int32_t tile = 0;      // the tile number, And 63 under the upper-bits flag
};

const TileSet* TileSetOf(std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(gameData.tileSets.size())) return nullptr;
  return &gameData.tileSets[static_cast<std::size_t>(index)];
}

GroundCell ReadCell(const Map& m, std::int32_t x, std::int32_t y, std::int32_t layer) {
  GroundCell c;
  if (x < 0 || y < 0 || layer < 0 || x > m.width || y > m.height || layer > m.layerCount) return c;
  const TileLayerGroup& g = m.tileLayerGroups[0];
  if (x >= g.slotGrid.columns || y >= g.slotGrid.rows || layer >= g.slotGrid.layers) return c;
  c.inside = true;
  const std::uint8_t slot = g.slotGrid.At(x, y, layer);
  if (slot == 0) return c;
  c.empty = false;
  c.tileSet = slot <= g.slotTileSets.size() ? g.slotTileSets[slot - 1u] : -1;
  c.tile = g.tileGrid.At(x, y, layer);
  const TileSet* set = TileSetOf(c.tileSet);
  if (set != nullptr && set->cellFormat != 0) c.tile &= 63;
  return c;
}

bool Names(const TerraformRule& rule, const GroundCell& n) {
  if (!n.inside) return false;
  if (n.empty) return rule.tileSet == -1;
  return rule.tileSet == n.tileSet && TerraformRuleTile(rule) == n.tile;
}

// Whether the neighbour counts as different for a cell of tile set `set` and tile `tile`.
bool Differs(const Tile& own, std::int32_t set, std::int32_t tile, const GroundCell& n) {
  if (!n.inside) return TileEdgeDiffers(own);
  if (!n.empty && n.tileSet == set && n.tile == tile) return false;
  for (const TerraformRule& rule : own.terraformRules) {
    if (rule.tileSet == -1) return true;
    if (!n.empty && rule.tileSet == n.tileSet && TerraformRuleTile(rule) == n.tile) return true;
  }
  return false;
}

struct Piece {
  std::int32_t kind = 0;
  std::int32_t source = 0;
};

// The decision list for corner c of the different flags d.
Piece Decide(const std::array<bool, 8>& d, std::int32_t c, std::int32_t quarter) {
  if (d[0] && d[2] && d[4] && d[6]) return {0, c};
  if (!d[0] && !d[2] && !d[4] && !d[6] && d[1] + d[3] + d[5] + d[7] == 1) {
    if (d[1]) return {6, 1};
    if (d[3]) return {7, 3};
    if (d[7]) return {8, 7};
    return {9, 5};
  }
  if (d[0] && d[2] && !d[4] && !d[5] && !d[6]) return {1, 1};
  if (d[4] && d[2] && !d[0] && !d[7] && !d[6]) return {2, 3};
  if (d[0] && d[6] && !d[4] && !d[3] && !d[2]) return {3, 7};
  if (d[4] && d[6] && !d[0] && !d[1] && !d[2]) return {4, 5};
  if (d[0] && !d[2] && !d[3] && !d[4] && !d[5] && !d[6]) return {11, 0};
  if (d[4] && !d[2] && !d[1] && !d[0] && !d[7] && !d[6]) return {13, 4};
  if (d[2] && !d[4] && !d[5] && !d[6] && !d[7] && !d[0]) return {12, 2};
  if (d[6] && !d[4] && !d[3] && !d[2] && !d[1] && !d[0]) return {14, 6};
  const std::int32_t a = (c + 1) % 8, b = (c + 7) % 8;
  if (d[a] && d[b]) return {0, c};
  if (d[a] != d[b]) {
    const std::int32_t edge = d[a] ? a : b;
    static constexpr std::array<std::int32_t, 8> kEdgeKind{11, 0, 12, 0, 13, 0, 14, 0};
    return {kEdgeKind[static_cast<std::size_t>(edge)], edge};
  }
  if (d[c]) return {5, c};
  const bool inner = (c == 7 && (d[1] || d[2])) || (c == 1 && (d[7] || d[6])) || (c == 5 && (d[3] || d[2])) ||
                     (c == 3 && (d[5] || d[6]));
  if (inner) {
    static constexpr std::array<std::int32_t, 4> kKind{8, 9, 6, 7};
    return {kKind[static_cast<std::size_t>(quarter)], d[1] || d[2] || d[3] ? 2 : 6};
  }
  static constexpr std::array<std::int32_t, 4> kKind{9, 8, 7, 6};
  return {kKind[static_cast<std::size_t>(quarter)], d[1] || d[0] || d[7] ? 0 : 4};
}

// Position of the first storable rule that names the neighbour, -1 none.
std::int32_t RuleNaming(const Tile& own, const GroundCell& n) {
  const std::size_t count = std::min(own.terraformRules.size(), kStorableRules);
  for (std::size_t p = 0; p < count; ++p)
    if (Names(own.terraformRules[p], n)) return static_cast<std::int32_t>(p);
  return -1;
}

std::int32_t ChooseRule(const Tile& own, const std::array<GroundCell, 8>& neighbours, std::int32_t source) {
  for (const std::int32_t dir : {source, (source + 7) % 8, (source + 1) % 8}) {
    const std::int32_t p = RuleNaming(own, neighbours[static_cast<std::size_t>(dir)]);
    if (p >= 0) return p;
  }
  const std::size_t count = std::min(own.terraformRules.size(), kStorableRules);
  for (std::size_t p = 0; p < count; ++p)
    if (own.terraformRules[p].tileSet == -1) return static_cast<std::int32_t>(p);
  return -1;
}

// The neighbour in direction `dir` of the cell, for a ground tile (side -1)
// or in the vertical plane of a wall side.
GroundCell Neighbour(const Map& m, std::int32_t x, std::int32_t y, std::int32_t layer, std::int32_t side,
                     std::int32_t dir) {
  const std::int32_t dx = kStepX[static_cast<std::size_t>(dir)], dy = kStepY[static_cast<std::size_t>(dir)];
  switch (side) {
    case 0: return ReadCell(m, x + dx, y, layer - dy);
    case 1: return ReadCell(m, x, y + dx, layer - dy);
    case 2: return ReadCell(m, x - dx, y, layer - dy);
    case 3: return ReadCell(m, x, y - dx, layer - dy);
    default: return ReadCell(m, x + dx, y + dy, layer);
  }
}

void ReportLongRuleList(std::int32_t tileSet) {
  if (!reportedSets.insert(tileSet).second) return;
  LogWriteLine("Terraformation rules after the 15th of a tile of tile set " + std::to_string(tileSet) +
               " are left out.");
}

void TerraformCellOf(Map& m, std::int32_t x, std::int32_t y, std::int32_t layer) {
  const GroundCell cell = ReadCell(m, x, y, layer);
  if (!cell.inside || cell.empty) return;
  const TileSet* set = TileSetOf(cell.tileSet);
  if (set == nullptr || cell.tile >= static_cast<std::int32_t>(set->tiles.size())) return;
  QuarterGrid& grid = m.tileLayerGroups[0].terraform;
  const Tile& tile = set->tiles[static_cast<std::size_t>(cell.tile)];
  if (tile.terraformRules.size() > kStorableRules) ReportLongRuleList(cell.tileSet);
  const bool wall = TileSetIsWallSet(*set);
  static constexpr std::array<std::array<std::int32_t, 2>, 4> kFacing{{{0, 1}, {-1, 0}, {0, -1}, {1, 0}}};
  for (std::int32_t side = 0; side < 4; ++side) {
    std::array<std::uint8_t, 4> bytes{};
    if (!tile.terraformRules.empty()) {
      bool hidden = false;
      if (wall) {
        const auto& f = kFacing[static_cast<std::size_t>(side)];
        const GroundCell next = ReadCell(m, x + f[0], y + f[1], layer);
        const TileSet* nextSet = next.inside && !next.empty ? TileSetOf(next.tileSet) : nullptr;
        hidden = nextSet != nullptr && TileSetIsWallSet(*nextSet);
      }
      if (hidden) {
        bytes.fill(kHiddenFace);
      } else {
        std::array<GroundCell, 8> neighbours;
        std::array<bool, 8> d{};
        bool any = false;
        for (std::int32_t dir = 0; dir < 8; ++dir) {
          const auto k = static_cast<std::size_t>(dir);
          neighbours[k] = Neighbour(m, x, y, layer, wall ? side : -1, dir);
          d[k] = Differs(tile, cell.tileSet, cell.tile, neighbours[k]);
          any = any || d[k];
        }
        if (any) {
          for (std::size_t k = 0; k < kCorners.size(); ++k) {
            const std::int32_t quarter = kCornerQuarter[k];
            const Piece piece = Decide(d, kCorners[k], quarter);
            const std::int32_t rule = ChooseRule(tile, neighbours, piece.source);
            bytes[static_cast<std::size_t>(quarter)] =
                rule >= 0 ? static_cast<std::uint8_t>(piece.kind * 16 + rule + 1) : 0;
          }
        }
      }
    }
    for (std::int32_t q = 0; q < 4; ++q) grid.At(q, side, x, y, layer) = bytes[static_cast<std::size_t>(q)];
  }
}

// Makes the piece grid when it does not cover the map.
void EnsurePieceGrid(Map& m) {
  QuarterGrid& grid = m.tileLayerGroups[0].terraform;
  if (grid.columns != m.width + 1 || grid.rows != m.height + 1 || grid.layers != m.layerCount + 1)
    grid.Make(m.width + 1, m.height + 1, m.layerCount + 1);
}

struct Passes {
  bool terraform = false;
  bool pits = false;
};

Passes DecidePasses(const Map& m) {
  Passes passes;
  for (const std::int32_t index : m.tileLayerGroups[0].slotTileSets) {
    const TileSet* set = TileSetOf(index);
    if (set == nullptr) continue;
    for (const Tile& tile : set->tiles) {
      passes.terraform = passes.terraform || !tile.terraformRules.empty();
      passes.pits = passes.pits || TileDepth(tile) > 0.0f;
    }
  }
  return passes;
}

// Tile depth of a ground cell of layer 0 (0 when it holds no tile).
float CellDepth(const Map& m, std::int32_t x, std::int32_t y) {
  const TileLayerGroup& g = m.tileLayerGroups[0];
  if (x >= g.slotGrid.columns || y >= g.slotGrid.rows || g.slotGrid.layers < 1) return 0.0f;
  const std::uint8_t slot = g.slotGrid.At(x, y, 0);
  if (slot == 0 || slot > g.slotTileSets.size()) return 0.0f;
  const TileSet* set = TileSetOf(g.slotTileSets[slot - 1u]);
  if (set == nullptr) return 0.0f;
  const std::size_t tile = g.tileGrid.At(x, y, 0) & 63u;
  return tile < set->tiles.size() ? TileDepth(set->tiles[tile]) : 0.0f;
}

// Sinks pit cells level by level: a cell goes one level deeper while its
// tile is deep enough, its four direct neighbours lie at least as deep and it
// is not an edge piece.
std::vector<std::int32_t> SinkPits(const Map& m, const std::vector<float>& tileDepth) {
  const std::int32_t columns = m.width + 1, rows = m.height + 1;
  std::vector<std::int32_t> depth(tileDepth.size(), 0);
  auto at = [columns](std::int32_t x, std::int32_t y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(x);
  };
  const QuarterGrid& pieces = m.tileLayerGroups[0].terraform;
  auto plainPiece = [&](std::int32_t x, std::int32_t y) {
    for (std::int32_t q = 0; q < 4; ++q)
      if (pieces.At(q, 0, x, y, 0) != 0) return false;
    return true;
  };
  auto notShallower = [&](std::int32_t x, std::int32_t y, std::int32_t level) {
    if (x < 0 || y < 0 || x >= columns || y >= rows) return true;
    return depth[at(x, y)] <= level;
  };
  for (std::int32_t level = 0;; --level) {
    bool changed = false;
    bool otherLevel = false;
    for (std::int32_t x = 0; x < columns; ++x) {
      for (std::int32_t y = 0; y < rows; ++y) {
        const std::size_t k = at(x, y);
        // A cell that sinks here goes below the level, which still
        // satisfies the neighbours that look at it later in the same level.
        if (depth[k] != level) {
          otherLevel = true;
          continue;
        }
        if (!(tileDepth[k] > static_cast<float>(-level))) continue;
        if (level == 0) {
          depth[k] = -1;
          changed = true;
        } else if (notShallower(x - 1, y, level) && notShallower(x, y - 1, level) && notShallower(x + 1, y, level) &&
                   notShallower(x, y + 1, level) && plainPiece(x, y)) {
          depth[k] = level - 1;
          changed = true;
        }
      }
    }
    if (!changed || (level == -1 && !otherLevel)) break;
  }
  return depth;
}

void BuildFloorHeights(Map& m, bool pits) {
  const std::int32_t columns = m.width + 2, rows = m.height + 2;
  m.heightGrid.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0.0f);
  auto corner = [&](std::int32_t x, std::int32_t y) -> float& {
    return m.heightGrid[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns) +
                        static_cast<std::size_t>(x)];
  };
  if (!pits) {
    if (!m.FlatGround()) std::fill(m.heightGrid.begin(), m.heightGrid.end(), std::bit_cast<float>(kNoFloorHeightBits));
    return;
  }
  const std::int32_t cellColumns = m.width + 1;
  std::vector<float> tileDepth(static_cast<std::size_t>(cellColumns) * static_cast<std::size_t>(m.height + 1));
  for (std::int32_t y = 0; y <= m.height; ++y)
    for (std::int32_t x = 0; x <= m.width; ++x)
      tileDepth[static_cast<std::size_t>(y) * static_cast<std::size_t>(cellColumns) + static_cast<std::size_t>(x)] =
          CellDepth(m, x, y);
  const std::vector<std::int32_t> sunk = SinkPits(m, tileDepth);
  auto cell = [cellColumns](std::int32_t x, std::int32_t y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(cellColumns) + static_cast<std::size_t>(x);
  };
  for (std::int32_t x = 1; x <= m.width; ++x) {
    for (std::int32_t y = 1; y <= m.height; ++y) {
      const std::array<std::size_t, 4> around{cell(x - 1, y - 1), cell(x, y - 1), cell(x - 1, y), cell(x, y)};
      bool flat = false, allOne = true;
      double sum = 0.0;
      for (const std::size_t k : around) {
        flat = flat || tileDepth[k] == 0.0f;
        allOne = allOne && tileDepth[k] == 1.0f;
        sum += (sunk[k] + 1) / static_cast<double>(tileDepth[k]);
      }
      if (flat)
        corner(x, y) = 0.0f;
      else if (allOne)
        corner(x, y) = -48.0f;
      else
        corner(x, y) = static_cast<float>(std::max(sum * 48.0 / 4.0, -48.0));
    }
  }
  for (std::int32_t y = 1; y <= m.height; ++y) {
    corner(0, y) = corner(1, y);
    corner(m.width + 1, y) = corner(m.width, y);
  }
  for (std::int32_t x = 1; x <= m.width; ++x) {
    corner(x, 0) = corner(x, 1);
    corner(x, m.height + 1) = corner(x, m.height);
  }
  corner(0, 0) = corner(1, 1);
  corner(m.width + 1, 0) = corner(m.width, 1);
  corner(0, m.height + 1) = corner(1, m.height);
  corner(m.width + 1, m.height + 1) = corner(m.width, m.height);
}

void GenerateTerraformationOf(Map& m) {
  if (m.width < 0 || m.height < 0) return;
  m.tileLayerGroups[0].terraform.Make(m.width + 1, m.height + 1, std::max(m.layerCount + 1, 0));
  const Passes passes = DecidePasses(m);
  if (passes.terraform)
    for (std::int32_t x = 0; x <= m.width; ++x)
      for (std::int32_t y = 0; y <= m.height; ++y)
        for (std::int32_t layer = 0; layer <= m.layerCount; ++layer) TerraformCellOf(m, x, y, layer);
  // Pits look at layer 0, which a map without layers does not have.
  BuildFloorHeights(m, passes.pits && m.layerCount >= 0);
}

bool ValidMap(std::int32_t map) { return map >= 0 && map <= gameData.maps.LastIndex(); }

}  // namespace

void GenerateTerraformation(std::int32_t map) {
  reportedSets.clear();
  if (map == -1) {
    for (std::int32_t m = 0; m <= gameData.maps.LastIndex(); ++m) GenerateTerraformationOf(gameData.maps[m]);
  } else if (ValidMap(map)) {
    GenerateTerraformationOf(gameData.maps[map]);
  }
}

void TerraformArea(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t layer) {
  if (!ValidMap(map)) return;
  Map& m = gameData.maps[map];
  if (m.width < 0 || m.height < 0 || m.layerCount < 0) return;
  reportedSets.clear();
  EnsurePieceGrid(m);
  for (std::int32_t i = std::max(x - 1, 0); i <= std::min(x + 1, m.width); ++i)
    for (std::int32_t j = std::max(y - 1, 0); j <= std::min(y + 1, m.height); ++j)
      for (std::int32_t k = std::max(layer - 1, 0); k <= std::min(layer + 1, m.layerCount); ++k)
        TerraformCellOf(m, i, j, k);
}

void TerraformCell(std::int32_t map, std::int32_t x, std::int32_t y, std::int32_t layer) {
  if (!ValidMap(map)) return;
  Map& m = gameData.maps[map];
  if (m.width < 0 || m.height < 0 || m.layerCount < 0) return;
  EnsurePieceGrid(m);
  TerraformCellOf(m, x, y, layer);
}

}  // namespace kiv
