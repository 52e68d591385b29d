#include "mathkiv/collision_grid.h"

#include <algorithm>
#include <cmath>

#include "mathkiv/math_init.h"
#include "mathkiv/shape_solids.h"

namespace kiv {

using mathkiv_detail::ConvexSolid;

namespace {

constexpr double kTolerance = 1e-6;

bool CountsMatch(std::size_t size, std::int32_t columns, std::int32_t rows, std::int32_t layers) {
  if (columns < 0 || rows < 0 || layers < 0) return false;
  // A layer has fewer than 2^62 points; the product with the layer count is
  // formed only when it cannot wrap.
  const std::uint64_t layer = static_cast<std::uint64_t>(columns) * static_cast<std::uint64_t>(rows);
  if (layers == 0) return size == 0;
  if (layer > size / static_cast<std::uint64_t>(layers)) return false;
  return layer * static_cast<std::uint64_t>(layers) == size;
}

// The points whose span [i * step + base, (i + 1) * step + base) may overlap
// min..max, clipped to 0..count - 1. Empty when last < first.
void PointRange(double min, double max, double step, double base, std::int32_t count, std::int32_t& first,
                std::int32_t& last) {
  const double lo = std::floor((min - base) / step);
  const double hi = std::floor((max - base) / step);
  first = static_cast<std::int32_t>(std::max(0.0, std::min(lo, static_cast<double>(count))));
  last = static_cast<std::int32_t>(std::max(-1.0, std::min(hi, static_cast<double>(count) - 1.0)));
}

bool SpansOverlap(double aMin, double aMax, double bMin, double bMax) {
  return aMin < bMax - kTolerance && bMin < aMax - kTolerance;
}

}  // namespace

bool CollisionGridView::Valid() const { return CountsMatch(cells.size(), columns, rows, layers); }
bool ConstCollisionGridView::Valid() const { return CountsMatch(cells.size(), columns, rows, layers); }

void PaintArrayCollision(CollisionGridView grid, const CollisionShape& shape, const ShapePlacement& placement,
                         std::uint8_t value) {
  if (!grid.Valid() || grid.layers < 2) return;
  const double cell = mathKivSettings.pathCellSize;
  const double layer = kGridLayerHeight;
  thread_local mathkiv_detail::PlacedShape solids;
  mathkiv_detail::PlaceShapeInto(shape, placement, mathkiv_detail::PivotMode::Origin, solids);
  for (const ConvexSolid& solid : solids) {
    std::int32_t i0, i1, j0, j1, k0, k1;
    PointRange(solid.min.x, solid.max.x, cell, 0.0, grid.columns, i0, i1);
    PointRange(solid.min.y, solid.max.y, cell, 0.0, grid.rows, j0, j1);
    // Layer k starts at 32 * (k - 1): layer index = 1 + floor(z / 32).
    PointRange(solid.min.z, solid.max.z, layer, -layer, grid.layers, k0, k1);
    k0 = std::max(k0, 1);
    for (std::int32_t k = k0; k <= k1; ++k) {
      const double z0 = (k - 1) * layer;
      if (!SpansOverlap(solid.min.z, solid.max.z, z0, z0 + layer)) continue;
      for (std::int32_t j = j0; j <= j1; ++j) {
        const double y0 = j * cell;
        if (!SpansOverlap(solid.min.y, solid.max.y, y0, y0 + cell)) continue;
        for (std::int32_t i = i0; i <= i1; ++i) {
          const double x0 = i * cell;
          if (!SpansOverlap(solid.min.x, solid.max.x, x0, x0 + cell)) continue;
          if (!solid.axisAligned &&
              !mathkiv_detail::SolidsOverlap(
                  solid, mathkiv_detail::AlignedBox({x0, y0, z0}, {x0 + cell, y0 + cell, z0 + layer})))
            continue;
          grid.cells[static_cast<std::size_t>(i) +
                     static_cast<std::size_t>(grid.columns) *
                         (static_cast<std::size_t>(j) +
                          static_cast<std::size_t>(grid.rows) * static_cast<std::size_t>(k))] = value;
        }
      }
    }
  }
}

}  // namespace kiv
