#include <cstddef>

#include "core/error.h"
#include "data/map_record.h"

namespace kiv {

namespace {

bool Inside(std::int32_t column, std::int32_t row, std::int32_t layer, std::int32_t columns, std::int32_t rows,
            std::int32_t layers) {
  return column >= 0 && column < columns && row >= 0 && row < rows && layer >= 0 && layer < layers;
}

std::size_t CellOffset(std::int32_t column, std::int32_t row, std::int32_t layer, std::int32_t columns,
                       std::int32_t rows) {
  return (static_cast<std::size_t>(layer) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(row)) *
             static_cast<std::size_t>(columns) +
         static_cast<std::size_t>(column);
}

std::size_t CellCount(std::int32_t columns, std::int32_t rows, std::int32_t layers) {
  if (columns <= 0 || rows <= 0 || layers <= 0) return 0;
  return static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) * static_cast<std::size_t>(layers);
}

}  // namespace

void QuarterGrid::Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount) {
  columns = columnCount;
  rows = rowCount;
  layers = layerCount;
  cells.assign(16 * CellCount(columns, rows, layers), 0);
}

std::uint8_t& QuarterGrid::At(std::int32_t quarter, std::int32_t face, std::int32_t column, std::int32_t row,
                              std::int32_t layer) {
  if (quarter < 0 || quarter > 3 || face < 0 || face > 3 || !Inside(column, row, layer, columns, rows, layers))
    RaiseError(kErrIndex, "Subscript out of range");
  return cells[CellOffset(column, row, layer, columns, rows) * 16 + static_cast<std::size_t>(face * 4 + quarter)];
}

std::uint8_t QuarterGrid::At(std::int32_t quarter, std::int32_t face, std::int32_t column, std::int32_t row,
                             std::int32_t layer) const {
  if (quarter < 0 || quarter > 3 || face < 0 || face > 3 || !Inside(column, row, layer, columns, rows, layers))
    return 0;
  return cells[CellOffset(column, row, layer, columns, rows) * 16 + static_cast<std::size_t>(face * 4 + quarter)];
}

void CornerColorGrid::Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount,
                           std::uint32_t color) {
  columns = columnCount;
  rows = rowCount;
  layers = layerCount;
  cells.assign(CellCount(columns, rows, layers), color);
}

std::uint32_t& CornerColorGrid::At(std::int32_t column, std::int32_t row, std::int32_t layer) {
  if (!Inside(column, row, layer, columns, rows, layers)) RaiseError(kErrIndex, "Subscript out of range");
  return cells[CellOffset(column, row, layer, columns, rows)];
}

std::uint32_t CornerColorGrid::At(std::int32_t column, std::int32_t row, std::int32_t layer) const {
  if (!Inside(column, row, layer, columns, rows, layers)) return 0xFFFFFFFFu;
  return cells[CellOffset(column, row, layer, columns, rows)];
}

void CellLightGrid::Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount) {
  columns = columnCount;
  rows = rowCount;
  layers = layerCount;
  cells.assign(CellCount(columns, rows, layers), {-1, -1, -1, -1});
}

std::array<std::int32_t, 4>& CellLightGrid::At(std::int32_t column, std::int32_t row, std::int32_t layer) {
  if (!Inside(column, row, layer, columns, rows, layers)) RaiseError(kErrIndex, "Subscript out of range");
  return cells[CellOffset(column, row, layer, columns, rows)];
}

std::array<std::int32_t, 4> CellLightGrid::At(std::int32_t column, std::int32_t row, std::int32_t layer) const {
  if (!Inside(column, row, layer, columns, rows, layers)) return {-1, -1, -1, -1};
  return cells[CellOffset(column, row, layer, columns, rows)];
}

}  // namespace kiv
