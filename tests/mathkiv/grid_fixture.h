#pragma once
// A collision grid owned by a test, with its view.
#include <cstdint>
#include <vector>

#include "mathkiv/collision_grid.h"

namespace kiv::test {

struct TestGrid {
  std::int32_t columns;
  std::int32_t rows;
  std::int32_t layers;
  std::vector<std::uint8_t> cells;

  TestGrid(std::int32_t c, std::int32_t r, std::int32_t l)
      : columns(c), rows(r), layers(l), cells(static_cast<std::size_t>(c * r * l), 0) {}

  std::uint8_t& At(std::int32_t i, std::int32_t j, std::int32_t k) {
    return cells[static_cast<std::size_t>(i + columns * (j + rows * k))];
  }
  CollisionGridView View() { return CollisionGridView{cells, columns, rows, layers}; }
};

}  // namespace kiv::test
