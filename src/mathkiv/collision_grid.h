#pragma once
// The collision grids of a map: bytes indexed (column, row, layer), column
// fastest. Point (column, row) stands for the pixels column * cell ..
// (column + 1) * cell - 1 across and row * cell .. (row + 1) * cell - 1 down,
// cell being the path-finding cell size given to MathInit.
// Layer 0 holds the ground height in pixels and is never painted. Layer
// k >= 1 holds 1 where something solid stands between heights 32 * (k - 1)
// and 32 * k (exclusive), so layer 1 is the space just above the ground.
//
// Callers pass the Map record's static or working collision grid: its cells
// and its column, row and layer counts.
#include <cstdint>
#include <span>

#include "core/record_codecs.h"
#include "mathkiv/placement.h"

namespace kiv {

inline constexpr std::int32_t kGridLayerHeight = 32;

struct CollisionGridView {
  std::span<std::uint8_t> cells;
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t layers = 0;

  // True when the counts are not negative and match the cells.
  bool Valid() const;
};

struct ConstCollisionGridView {
  std::span<const std::uint8_t> cells;
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t layers = 0;

  ConstCollisionGridView() = default;
  ConstCollisionGridView(std::span<const std::uint8_t> c, std::int32_t cols, std::int32_t rs, std::int32_t ls)
      : cells(c), columns(cols), rows(rs), layers(ls) {}
  ConstCollisionGridView(const CollisionGridView& g)  // NOLINT: a writable view is also a readable one
      : cells(g.cells), columns(g.columns), rows(g.rows), layers(g.layers) {}

  bool Valid() const;
  std::uint8_t At(std::int32_t column, std::int32_t row, std::int32_t layer) const {
    return cells[static_cast<std::size_t>(column) +
                 static_cast<std::size_t>(columns) *
                     (static_cast<std::size_t>(row) +
                      static_cast<std::size_t>(rows) * static_cast<std::size_t>(layer))];
  }
};

// Sets every point of layers 1 and up whose space the placed shape overlaps
// (touching does not count) to value, and leaves every other point and all of
// layer 0 unchanged. Parts outside the grid are cut off. A view whose counts
// do not match its cells is left alone.
void PaintArrayCollision(CollisionGridView grid, const CollisionShape& shape, const ShapePlacement& placement,
                         std::uint8_t value);

}  // namespace kiv
