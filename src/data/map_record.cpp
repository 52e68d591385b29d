#include "data/map_record.h"

#include "core/error.h"

namespace kiv {

void ByteGrid3::Make(std::int32_t columnCount, std::int32_t rowCount, std::int32_t layerCount) {
  columns = columnCount;
  rows = rowCount;
  layers = layerCount;
  cells.assign(
      static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) * static_cast<std::size_t>(layers),
      0);
}

std::uint8_t& ByteGrid3::At(std::int32_t column, std::int32_t row, std::int32_t layer) {
  if (column < 0 || column >= columns || row < 0 || row >= rows || layer < 0 || layer >= layers) {
    RaiseError(kErrIndex, "Subscript out of range");
  }
  return cells[(static_cast<std::size_t>(layer) * static_cast<std::size_t>(rows) +
                static_cast<std::size_t>(row)) *
                   static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column)];
}

std::uint8_t ByteGrid3::At(std::int32_t column, std::int32_t row, std::int32_t layer) const {
  return const_cast<ByteGrid3*>(this)->At(column, row, layer);
}

}  // namespace kiv
